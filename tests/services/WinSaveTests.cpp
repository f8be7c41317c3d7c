#include "services/WinSave.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "toolkit/Application.h"
#include "toolkit/ScriptedDesktop.h"

namespace {

using quorlin::TWinSave;

// A window carrying a placement component, made the way designed windows are.
class PlacedForm : public tk::Form {
public:
    explicit PlacedForm(bool enabled = true) : tk::Form(nullptr)
    {
        SetName("VerForm");
        SetBounds(10, 20, 300, 200);
        OnShow = [this](tk::Component*) { ++shows; };
        OnClose = [this](tk::Component*, tk::CloseAction& action) {
            ++closes;
            action = tk::CloseAction::Hide;
        };
        WinSave1 = new TWinSave(this);
        WinSave1->SetName("WinSave1");
        WinSave1->SetEnabled(enabled);
        FinishCreate();
    }
    TWinSave* WinSave1;
    int shows = 0;
    int closes = 0;
};

class WinSaveTest : public testing::Test {
protected:
    void SetUp() override
    {
        desktop_.SetScreen({0, 0, 800, 600});
        tk::Application::Instance().SetDesktop(&desktop_);
        tk::Application::Instance().SetTitle("/opt/ide/Quorlin");
        platform::SetHostFolder(folder_.Path() + "/");
        platform::SetHostExeName("delphi32.exe");
    }
    void TearDown() override { tk::Application::Instance().SetDesktop(nullptr); }

    platform::IniFile Ini() { return platform::IniFile(folder_.Path() + "/SysForm.ini"); }

    TempFolder folder_;
    tk::ScriptedDesktop desktop_;
};

TEST_F(WinSaveTest, ClosingStoresAndShowingRestoresThroughChainedHandlers)
{
    {
        PlacedForm form;
        EXPECT_EQ(form.WinSave1->Section(), "delphi32.exeQuorlinVerForm");
        form.Show();
        EXPECT_EQ(form.shows, 1);
        EXPECT_EQ(form.Bounds(), (tk::Rect{10, 20, 300, 200}));  // nothing stored yet
        form.SetBounds(50, 60, 400, 300);
        form.SetWindowState(tk::WindowState::Maximized);
        form.Close();
        EXPECT_EQ(form.closes, 1);
        EXPECT_FALSE(form.Visible());  // the previous handler still decides what closing does
    }
    platform::IniFile ini = Ini();
    const std::string section = "delphi32.exeQuorlinVerForm";
    EXPECT_EQ(ini.ReadInteger(section, "Left", 0), 50);
    EXPECT_EQ(ini.ReadInteger(section, "Top", 0), 60);
    EXPECT_EQ(ini.ReadInteger(section, "Width", 0), 400);
    EXPECT_EQ(ini.ReadInteger(section, "Height", 0), 300);

    // Another instance of the same window reads the same section.
    PlacedForm again;
    again.Show();
    EXPECT_EQ(again.Bounds(), (tk::Rect{50, 60, 400, 300}));
}

TEST_F(WinSaveTest, OffScreenRule)
{
    {
        platform::IniFile ini = Ini();
        ini.WriteInteger("delphi32.exeQuorlinVerForm", "Top", 0);
        ini.WriteInteger("delphi32.exeQuorlinVerForm", "Height", 700);
        ini.WriteInteger("delphi32.exeQuorlinVerForm", "Left", 700);
    }
    PlacedForm form;
    form.Show();
    EXPECT_EQ(form.Top(), -100);
    EXPECT_EQ(form.Height(), 700);
    EXPECT_EQ(form.Left(), 500);
    EXPECT_EQ(form.Width(), 300);
}

TEST_F(WinSaveTest, DisabledStillWritesAndDestructionRestoresHandlers)
{
    {
        platform::IniFile ini = Ini();
        ini.WriteInteger("delphi32.exeQuorlinVerForm", "Left", 333);
    }
    PlacedForm form(false);
    form.Show();
    EXPECT_EQ(form.Left(), 10);
    form.SetBounds(40, 41, 302, 203);
    form.Close();
    EXPECT_EQ(Ini().ReadInteger("delphi32.exeQuorlinVerForm", "Left", 0), 40);
    EXPECT_EQ(form.closes, 1);

    delete form.WinSave1;
    form.SetBounds(1, 2, 3, 4);
    form.Show();
    form.Close();
    EXPECT_EQ(form.shows, 2);
    EXPECT_EQ(form.closes, 2);
    EXPECT_EQ(Ini().ReadInteger("delphi32.exeQuorlinVerForm", "Left", 0), 40);
}

}  // namespace
