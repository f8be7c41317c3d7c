#include "services/SaveIni.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace {

using quorlin::TSaveIni;

// An edit box kind of the control library is an Edit too.
class DerivedEdit : public tk::Edit {
public:
    using tk::Edit::Edit;
};

class InputForm : public tk::Form {
public:
    InputForm() : tk::Form(nullptr)
    {
        SetName("VersionForm");
        Major = Add<tk::Edit>("MajorEdit", "1");
        Comment = Add<DerivedEdit>("CommentEdit", "first");
        Notes = Add<tk::Memo>("NotesMemo", "not an edit box");
        SaveIni1 = new TSaveIni(this);
        SaveIni1->SetIniName("Version.ini");
        FinishCreate();
    }
    template <class T>
    T* Add(const char* name, const char* text)
    {
        T* control = new T(this);
        control->SetName(name);
        control->SetParent(this);
        control->SetText(text);
        return control;
    }
    tk::Edit* Major;
    tk::Edit* Comment;
    tk::Memo* Notes;
    TSaveIni* SaveIni1;
};

class SaveIniTest : public testing::Test {
protected:
    void SetUp() override { platform::SetHostFolder(folder_.Path() + "/"); }
    TempFolder folder_;
};

TEST_F(SaveIniTest, SaveAndLoadEditTexts)
{
    {
        InputForm form;
        EXPECT_EQ(form.SaveIni1->IniName(), folder_.Path() + "/Version.ini");
        EXPECT_EQ(form.SaveIni1->Section(), "VersionForm");
        EXPECT_TRUE(form.SaveIni1->Save());
    }
    platform::IniFile ini(folder_.Path() + "/Version.ini");
    EXPECT_EQ(ini.ReadSection("VersionForm"), (std::vector<std::string>{"MajorEdit", "CommentEdit"}));

    InputForm form;
    form.Major->SetText("");
    form.Comment->SetText("");
    form.Notes->SetText("changed");
    EXPECT_TRUE(form.SaveIni1->Load());
    EXPECT_EQ(form.Major->Text(), "1");
    EXPECT_EQ(form.Comment->Text(), "first");
    EXPECT_EQ(form.Notes->Text(), "changed");
}

TEST_F(SaveIniTest, HooksRenameAndRefuse)
{
    InputForm form;
    form.SaveIni1->BeforeSave = [](std::string& name, std::string& value, bool& accept) {
        if (name == "MajorEdit") {
            name = "Major";
            value += "0";
        } else {
            accept = false;
        }
    };
    form.SaveIni1->Save();
    platform::IniFile ini(folder_.Path() + "/Version.ini");
    EXPECT_EQ(ini.ReadSection("VersionForm"), std::vector<std::string>{"Major"});
    EXPECT_EQ(ini.ReadString("VersionForm", "Major", ""), "10");

    // The renamed key names no component and is ignored on loading.
    form.Major->SetText("kept");
    std::vector<std::string> seen;
    form.SaveIni1->BeforeLoad = [&](std::string& name, std::string&, bool&) { seen.push_back(name); };
    form.SaveIni1->Load();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(form.Major->Text(), "kept");
}

TEST_F(SaveIniTest, LoadFromMissingFileOrSectionChangesNothing)
{
    InputForm form;
    form.SaveIni1->Load();
    EXPECT_EQ(form.Major->Text(), "1");
    {
        platform::IniFile ini(folder_.Path() + "/Version.ini");
        ini.WriteString("Other", "MajorEdit", "9");
        ini.WriteString("VersionForm", "majoredit", "7");
    }
    form.SaveIni1->BeforeLoad = [](std::string& name, std::string& value, bool& accept) {
        accept = name == "MajorEdit" && value == "7";
    };
    form.SaveIni1->Load();
    EXPECT_EQ(form.Major->Text(), "7");  // key names match without regard to case
    form.SaveIni1->SetSection("Missing");
    form.Major->SetText("x");
    form.SaveIni1->Load();
    EXPECT_EQ(form.Major->Text(), "x");
}

}  // namespace
