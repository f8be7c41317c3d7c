// The version window and the about box, opened from the tool window over the reference host.

#include <gtest/gtest.h>

#include "support/HostSide.h"
#include "support/ToolWindowFixture.h"
#include "host/EntryPoint.h"
#include "platform/FilePath.h"
#include "platform/IniFile.h"
#include "version/VerUnit.h"
#include "version/VersionUnit.h"

namespace {

using Lines = std::vector<std::string>;

const Lines Keys = {"ProgramName", "Version",  "FirstMaker", "FirstMakeDate", "Modifier",
                    "ModifyDate",  "Coment1",  "Coment2",    "Coment3"};

constexpr uint16_t F5 = 0x74;

class VerFormTest : public ToolWindowFixture {
protected:
    std::string VersionIni() const { return folder.Path() + "/Version.ini"; }

    // What a person does in the next version window; the window is handed over as a TVerForm.
    void WhenOpened(std::function<void(quorlin::TVerForm&)> action)
    {
        desktop.QueueModal([action](tk::Form& form) {
            auto* verForm = dynamic_cast<quorlin::TVerForm*>(&form);
            ASSERT_NE(verForm, nullptr);
            action(*verForm);
        });
    }

    // Types into the focused field and moves on with Enter, as a person fills the window in.
    static void Type(quorlin::TVerForm& form, const std::string& text)
    {
        auto* field = dynamic_cast<tk::Edit*>(form.ActiveControl());
        ASSERT_NE(field, nullptr);
        for (char c : text)
            form.DispatchChar(c);
    }

    Lines FileLines() const
    {
        Lines lines;
        std::string text = ReadFile(VersionIni());
        for (size_t start = 0, end; start < text.size(); start = end + 2) {
            end = text.find("\r\n", start);
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }

    // The fields' texts when the window opens next.
    Lines ShownValues(quorlin::TCodeForm& form)
    {
        Lines shown;
        WhenOpened([&](quorlin::TVerForm& window) {
            for (tk::Edit* field : window.Fields())
                shown.push_back(field->Text());
        });
        form.VerMenuClick(nullptr);
        return shown;
    }
};

TEST_F(VerFormTest, LayoutFocusMovesAndTheFocusFrame)
{
    quorlin::TVerForm window(&tk::Application::Instance());
    EXPECT_EQ(window.Caption(), "ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(window.ClientWidth(), 373);
    EXPECT_EQ(window.ClientHeight(), 388);
    EXPECT_EQ(window.Left(), 338);
    Lines names;
    for (tk::Edit* field : window.Fields())
        names.push_back(field->Name());
    EXPECT_EQ(names, Keys);
    EXPECT_EQ(window.ActiveControl(), window.ProgramName);
    // Tab order: the buttons around the fields, ProgramName last of them.
    std::vector<tk::Control*> tabOrder = window.TabOrderList();
    ASSERT_EQ(tabOrder.size(), 11u);
    EXPECT_EQ(tabOrder.front(), window.ClosePanel);
    EXPECT_EQ(tabOrder[1], window.Version);
    EXPECT_EQ(tabOrder[9], window.ProgramName);
    EXPECT_EQ(tabOrder.back(), window.BitBtnEx1);

    // The frame: 3 pixels of yellow around the focused field, behind it.
    auto frameAround = [&](tk::Control* field) {
        return tk::Rect{field->Left() - 3, field->Top() - 3, field->Width() + 6, field->Height() + 6};
    };
    EXPECT_EQ(window.FocusPanel->Bounds(), frameAround(window.ProgramName));
    EXPECT_EQ(window.FocusPanel->GetColor(), tk::clYellow);
    EXPECT_EQ(window.Controls().front(), window.FocusPanel);

    // Down and Enter go on in the record's order, Up goes back; the ends stay where they are.
    window.DispatchKey(tk::VK_UP, 0);
    EXPECT_EQ(window.ActiveControl(), window.ProgramName);
    window.DispatchKey(tk::VK_DOWN, 0);
    EXPECT_EQ(window.ActiveControl(), window.Version);
    EXPECT_EQ(window.FocusPanel->Bounds(), frameAround(window.Version));
    for (int i = 0; i < 7; ++i)
        window.DispatchKey(tk::VK_RETURN, 0);
    EXPECT_EQ(window.ActiveControl(), window.Coment3);
    EXPECT_EQ(window.FocusPanel->Bounds(), frameAround(window.Coment3));
    window.DispatchKey(tk::VK_RETURN, 0);
    window.DispatchKey(tk::VK_DOWN, 0);
    EXPECT_EQ(window.ActiveControl(), window.Coment3);
    window.DispatchKey(tk::VK_UP, 0);
    EXPECT_EQ(window.ActiveControl(), window.Coment2);
    // Tab follows the tab order instead.
    window.DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(window.ActiveControl(), window.Coment3);
    window.DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(window.ActiveControl(), window.ProgramName);
}

TEST_F(VerFormTest, F5StoresTheRecordAndEveryOpeningLoadsItAgain)
{
    quorlin::TCodeForm& form = FormWithSample();
    // Another project's section and a key of ours that names no field stay as they are.
    WriteFile("Version.ini", "[Other.dpr]\r\nVersion=0.1\r\n[Sample.dpr]\r\nBuild=17\r\n");
    form.SetRecordedMode(2);
    WhenOpened([](quorlin::TVerForm& window) {
        EXPECT_EQ(window.ProjectName->Caption(), "Sample.dpr");
        Type(window, "Sample");
        window.DispatchKey(tk::VK_RETURN, 0);
        Type(window, "1.0");
        window.DispatchKey(F5, 0);
        EXPECT_FALSE(window.Visible() && window.ModalResult() == tk::mrNone);
    });
    form.VerMenuClick(nullptr);
    EXPECT_EQ(desktop.ModalRuns(), Lines{"VerForm"});
    EXPECT_EQ(form.RecordedMode(), 1);
    EXPECT_EQ(FileLines(), (Lines{"[Other.dpr]", "Version=0.1", "[Sample.dpr]", "Build=17", "ProgramName=Sample",
                                  "Version=1.0", "FirstMaker=", "FirstMakeDate=", "Modifier=", "ModifyDate=",
                                  "Coment1=", "Coment2=", "Coment3="}));
    EXPECT_EQ(ShownValues(form), (Lines{"Sample", "1.0", "", "", "", "", "", "", ""}));

    // The close button stores like F5; Japanese text is kept as typed.
    WhenOpened([](quorlin::TVerForm& window) {
        window.Coment1->SetFocus();
        Type(window, "初版");
        window.ClosePanel->Click();
    });
    form.VerMenuClick(nullptr);
    EXPECT_EQ(ShownValues(form), (Lines{"Sample", "1.0", "", "", "", "", "初版", "", ""}));
}

TEST_F(VerFormTest, ValuesReadBackAsTypedWithBlanksAndQuotes)
{
    quorlin::TCodeForm& form = FormWithSample();
    const Lines typed = {" Sample ", "\t1.0", "'Aoi'", "\"draft\"", "Aoi \"K\"", "\"", "", "", ""};
    WhenOpened([&](quorlin::TVerForm& window) {
        for (size_t i = 0; i < typed.size(); ++i)
            window.Fields()[i]->SetText(typed[i]);
        window.DispatchKey(F5, 0);
    });
    form.VerMenuClick(nullptr);
    EXPECT_EQ(FileLines(), (Lines{"[Sample.dpr]", "ProgramName=\" Sample \"", "Version=\"\t1.0\"",
                                  "FirstMaker=\"'Aoi'\"", "FirstMakeDate=\"\"draft\"\"", "Modifier=Aoi \"K\"",
                                  "ModifyDate=\"", "Coment1=", "Coment2=", "Coment3="}));
    EXPECT_EQ(ShownValues(form), typed);

    // What older files hold reads as before: outer blanks dropped, one pair of quotes removed.
    WriteFile("Version.ini", "[Sample.dpr]\r\nVersion= 2.0 \r\nComent1=\"quoted\"\r\n");
    EXPECT_EQ(ShownValues(form), (Lines{"", "2.0", "", "", "", "", "quoted", "", ""}));
}

TEST_F(VerFormTest, AProjectNameNoSectionCanHoldIsRefusedWithAMessage)
{
    quorlin::TCodeForm& form = CreateForm();
    for (const std::string name : {"a]b.dpr", "two\nlines.dpr"}) {
        SCOPED_TRACE(name);
        std::string project = WriteFile(name, ReadFile(Sample("Sample.dpr")));
        ASSERT_TRUE(host.OpenProject(project));
        size_t messages = desktop.Messages().size();
        form.VerMenuClick(nullptr);
        EXPECT_TRUE(desktop.ModalRuns().empty());
        ASSERT_EQ(desktop.Messages().size(), messages + 1);
        EXPECT_NE(desktop.Messages().back().Text.find(name), std::string::npos);
        ASSERT_TRUE(host.CloseProject());
    }
    EXPECT_FALSE(platform::FileExists(VersionIni()));

    // Other marks are fine in a section name: "[" and a "]" that ends a two-byte character.
    for (const std::string name : {"a[b.dpr", "\x83\x5d.dpr"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(host.OpenProject(WriteFile(name, ReadFile(Sample("Sample.dpr")))));
        WhenOpened([&](quorlin::TVerForm& window) {
            window.ProgramName->SetText(name);
            window.DispatchKey(F5, 0);
        });
        form.VerMenuClick(nullptr);
        EXPECT_EQ(ShownValues(form)[0], name);
        ASSERT_TRUE(host.CloseProject());
    }
}

TEST_F(VerFormTest, EscCancelAndTheCloseBoxStoreNothing)
{
    quorlin::TCodeForm& form = FormWithSample();
    for (const auto& leave : std::vector<std::function<void(quorlin::TVerForm&)>>{
             [](quorlin::TVerForm& window) { window.DispatchKey(tk::VK_ESCAPE, 0); },
             [](quorlin::TVerForm& window) { window.BitBtnEx1->Click(); },
             [](quorlin::TVerForm& window) { window.Close(); }}) {
        WhenOpened([&](quorlin::TVerForm& window) {
            Type(window, "lost");
            leave(window);
            EXPECT_NE(window.ModalResult(), tk::mrNone);
        });
        form.VerMenuClick(nullptr);
    }
    EXPECT_EQ(desktop.ModalRuns().size(), 3u);
    EXPECT_FALSE(platform::FileExists(VersionIni()));
}

TEST_F(VerFormTest, ProjectsWithTheSameFileNameShareARecord)
{
    quorlin::TCodeForm& form = FormWithSample();
    WhenOpened([](quorlin::TVerForm& window) {
        Type(window, "Shared");
        window.DispatchKey(F5, 0);
    });
    form.VerMenuClick(nullptr);
    std::filesystem::create_directories(folder.Path() + "/Copy");
    std::filesystem::copy(folder.Path() + "/Sample/Sample.dpr", folder.Path() + "/Copy/Sample.dpr");
    ASSERT_TRUE(host.CloseProject());
    ASSERT_TRUE(host.OpenProject(folder.Path() + "/Copy/Sample.dpr"));
    EXPECT_EQ(ShownValues(form)[0], "Shared");
    // Section names match without regard to letter case, so sample.dpr shares it too.
    std::filesystem::rename(folder.Path() + "/Copy/Sample.dpr", folder.Path() + "/Copy/sample.dpr");
    ASSERT_TRUE(host.CloseProject());
    ASSERT_TRUE(host.OpenProject(folder.Path() + "/Copy/sample.dpr"));
    EXPECT_EQ(ShownValues(form)[0], "Shared");

    // No project: no record to show or store.
    ASSERT_TRUE(host.CloseProject());
    form.VerMenuClick(nullptr);
    EXPECT_EQ(desktop.ModalRuns().size(), 3u);
}

TEST_F(VerFormTest, ClosingAProjectAsksForItsRecordWhenTheItemIsChecked)
{
    // The add-in started by the host, as a host starts it.
    quorlin::ToolServices = nullptr;
    hostapi::TExpertTerminateProc terminate = nullptr;
    ASSERT_TRUE(quorlin::InitExpert(services.Get(), RegisterExpert, &terminate));
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    ASSERT_TRUE(host.ClickMenuItem("EditQuorlinItem"));
    quorlin::TCodeForm& form = *quorlin::CodeForm;
    EXPECT_FALSE(form.MenuVerDisp->Checked());

    ASSERT_TRUE(host.CloseProject());
    EXPECT_TRUE(desktop.ModalRuns().empty());

    form.MenuVerDisp->Click();
    EXPECT_TRUE(form.MenuVerDisp->Checked());
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    WhenOpened([](quorlin::TVerForm& window) {
        EXPECT_EQ(window.ProjectName->Caption(), "Sample.dpr");
        window.Version->SetFocus();
        Type(window, "2.0");
        window.DispatchKey(F5, 0);
    });
    ASSERT_TRUE(host.CloseProject());
    EXPECT_EQ(desktop.ModalRuns(), Lines{"VerForm"});
    EXPECT_EQ(platform::IniFile(VersionIni()).ReadString("Sample.dpr", "Version", "-"), "2.0");

    form.MenuVerDisp->Click();
    EXPECT_FALSE(form.MenuVerDisp->Checked());
    // The item of the lists' pop-up menu opens the window too.
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    form.VerCtrlMenu->Click();
    EXPECT_EQ(desktop.ModalRuns().size(), 2u);

    registered->Release();
    registered = nullptr;
}

TEST_F(VerFormTest, TheAboutBoxShowsTheBuildOfTheLibraryItWasLoadedFrom)
{
    quorlin::TCodeForm& form = CreateForm();
    std::string build;
    desktop.QueueModal([&](tk::Form& window) {
        auto* about = dynamic_cast<quorlin::TVersionForm*>(&window);
        ASSERT_NE(about, nullptr);
        build = about->BuildLabel->Caption();
        EXPECT_EQ(about->ProductName->Caption(), "Quorlin 1.3");
        window.DispatchKey(tk::VK_RETURN, 0);
        EXPECT_EQ(window.ModalResult(), tk::mrOk);
    });
    form.VersionMenu->Click();
    EXPECT_EQ(build, "(Build 1.3.0.128)");
    EXPECT_EQ(desktop.ModalRuns(), Lines{"VersionForm"});
}

}  // namespace
