#include <gtest/gtest.h>

#include <stdexcept>

#include "support/HostSide.h"
#include "support/ToolWindowFixture.h"
#include "host/EntryPoint.h"
#include "host/QuorlinExpert.h"
#include "platform/IniFile.h"
#include "refhost/Recorder.h"
#include "services/MruEx.h"

namespace {

using Lines = std::vector<std::string>;

bool RefuseWithException(hostapi::TIExpert* expert)
{
    registered = expert;
    throw std::runtime_error("registration failed");
}

class QuorlinExpertTest : public ToolWindowFixture {
protected:
    void SetUp() override
    {
        ToolWindowFixture::SetUp();
        quorlin::ToolServices = nullptr;
        registered = nullptr;
    }

    void TearDown() override
    {
        if (registered)
            registered->Release();
        ToolWindowFixture::TearDown();
    }

    // Starts the add-in over the host as a host does.
    void Start(hostapi::TIToolServices* toolServices)
    {
        ASSERT_TRUE(quorlin::InitExpert(toolServices, RegisterExpert, &terminate));
    }

    Lines ProjectHistory() const
    {
        platform::IniFile file(folder.Path() + "/Quorlin.Dat");
        Lines values;
        for (const std::string& key : file.ReadSection("ProjectHistory"))
            values.push_back(file.ReadString("ProjectHistory", key, ""));
        return values;
    }

    void ReleaseExpert()
    {
        registered->Release();
        registered = nullptr;
    }

    hostapi::TExpertTerminateProc terminate = nullptr;
};

TEST_F(QuorlinExpertTest, EntryPointRegistersTheExpertAndItsMenuItems)
{
    host.SetParentHandle(0x4242);
    refhost::Recorder recorder;
    hostapi::HostRef<hostapi::TIToolServices> recorded(recorder.Wrap(host.CreateToolServices()));
    Start(recorded.Get());
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered, quorlin::Expert);
    EXPECT_EQ(quorlin::ToolServices, recorded.Get());
    EXPECT_EQ(tk::Application::Instance().Handle(), 0x4242u);
    EXPECT_EQ(terminate, &quorlin::TerminateProc);

    EXPECT_EQ(registered->GetName(), "Pemberlot");
    EXPECT_EQ(registered->GetAuthor(), "");
    EXPECT_EQ(registered->GetComment(), "");
    EXPECT_EQ(registered->GetPage(), "");
    EXPECT_EQ(registered->GetGlyph(), 0u);
    EXPECT_EQ(registered->GetStyle(), 3);
    EXPECT_EQ(registered->GetState(), 1u);
    EXPECT_EQ(registered->GetIDString(), "Pemberlot.Quorlin");
    EXPECT_EQ(registered->GetMenuText(), "Insert Code");

    EXPECT_EQ(EditMenuNames(host), (Lines{"EditUndoItem", "EditCutItem", "EditCodeSepa1", "EditQuorlinItem",
                                      "EditCopyItem", "EditPasteItem", "EditSelectAllItem"}));
    const auto& separator = *host.MenuRoot().Children[1]->Children[2];
    EXPECT_EQ(separator.Caption, "-");
    EXPECT_EQ(separator.Flags, hostapi::mfVisible);
    EXPECT_EQ(separator.ShortCut, 0);
    EXPECT_FALSE(separator.OnClick);
    const auto& command = *host.MenuRoot().Children[1]->Children[3];
    EXPECT_EQ(command.Caption, "Quorlin");
    EXPECT_EQ(command.ShortCut, 0x407A);
    EXPECT_EQ(command.Flags, hostapi::mfEnabled | hostapi::mfVisible);
    EXPECT_TRUE(command.OnClick);
    EXPECT_EQ(host.NotifierCount(), 1);

    EXPECT_EQ(recorder.Log(), (Lines{
        "ToolServices.GetParentHandle",
        "ToolServices.GetMainMenu",
        "MainMenu.GetMenuItems",
        "MenuItem().GetItem(1)",
        "MenuItem(EditMenu).GetItemCount",
        "MenuItem(EditMenu).GetItem(4)",
        "MenuItem(EditSelectAllItem).GetParent",
        "MenuItem(EditMenu).GetIndex",
        "MenuItem(EditMenu).InsertItem(2,EditCodeSepa1)",
        "MenuItem(EditCodeSepa1).GetIndex",
        "MenuItem(EditMenu).InsertItem(3,EditQuorlinItem)",
        "Release MenuItem(EditMenu)",
        "Release MenuItem(EditSelectAllItem)",
        "Release MenuItem(EditMenu)",
        "Release MenuItem()",
        "Release MainMenu",
        "ToolServices.AddNotifier",
    }));

    // A second initialisation is refused and changes nothing.
    hostapi::TIExpert* first = registered;
    EXPECT_FALSE(quorlin::InitExpert(services.Get(), RegisterExpert, &terminate));
    EXPECT_EQ(registered, first);
    EXPECT_EQ(quorlin::ToolServices, recorded.Get());
    EXPECT_EQ(EditMenuNames(host).size(), 7u);

    // Unloading: the notifier goes, then both items.
    recorder.Clear();
    ReleaseExpert();
    EXPECT_EQ(recorder.Log(), (Lines{
        "ToolServices.RemoveNotifier",
        "MenuItem(EditCodeSepa1).DestroyMenuItem",
        "Release MenuItem(EditCodeSepa1)",
        "MenuItem(EditQuorlinItem).DestroyMenuItem",
        "Release MenuItem(EditQuorlinItem)",
    }));
    EXPECT_EQ(host.NotifierCount(), 0);
    EXPECT_EQ(EditMenuNames(host).size(), 5u);
    EXPECT_EQ(quorlin::Expert, nullptr);
}

TEST_F(QuorlinExpertTest, WithoutToolServicesTheExpertHasNoMenuItems)
{
    Start(nullptr);
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(EditMenuNames(host).size(), 5u);
    EXPECT_EQ(host.NotifierCount(), 0);
    ReleaseExpert();

    Start(services.Get());  // the stored value stayed empty, so this one is accepted
    EXPECT_EQ(EditMenuNames(host).size(), 7u);
    EXPECT_EQ(host.NotifierCount(), 1);
}

TEST_F(QuorlinExpertTest, ExceptionsReachTheHost)
{
    EXPECT_TRUE(quorlin::InitExpert(services.Get(), RefuseWithException, &terminate));
    EXPECT_EQ(host.Exceptions(), (Lines{"registration failed"}));
    EXPECT_EQ(quorlin::ToolServices, services.Get());  // the add-in stays as far as it got
    EXPECT_EQ(host.NotifierCount(), 1);
}

TEST_F(QuorlinExpertTest, TheCommandOpensTheToolWindowOnce)
{
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    Start(services.Get());
    EXPECT_EQ(quorlin::CodeForm, nullptr);
    ASSERT_TRUE(host.PressShortCut(hostapi::scCtrl | tk::VK_F11));
    quorlin::TCodeForm* form = quorlin::CodeForm;
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(tk::Application::Instance().FindForm("CodeForm"), form);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(Entries(*form->UnitCombo), (Lines{Sample("Consts.pas"), Sample("Lib/Utils.pas"), Sample("MainForm.pas"),
                                                Sample("Shapes.pas"), Sample("ViewOptions.pas")}));
    EXPECT_EQ(form->UnitCombo->ItemIndex(), 0);
    EXPECT_TRUE(host.IsFileOpen(Sample("Consts.pas")));
    EXPECT_EQ(form->Width(), 664);
    EXPECT_EQ(form->Height(), 88);

    form->UnitCombo->Items().Clear();
    form->Hide();
    ASSERT_TRUE(host.ClickMenuItem("EditQuorlinItem"));
    EXPECT_EQ(quorlin::CodeForm, form);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->UnitCombo->Items().Empty());  // only shown again, not rebuilt

    // Closed by the user, the next command makes a fresh window.
    form->Close();
    tk::Application::Instance().ProcessMessages();
    ASSERT_TRUE(host.PressShortCut(hostapi::scCtrl | tk::VK_F11));
    ASSERT_NE(quorlin::CodeForm, nullptr);
    EXPECT_EQ(quorlin::CodeForm->UnitCombo->Items().Count(), 5);
}

TEST_F(QuorlinExpertTest, ProjectNotifications)
{
    Start(services.Get());
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    EXPECT_TRUE(ProjectHistory().empty());  // no tool window: nothing at all

    host.ClickMenuItem("EditQuorlinItem");
    quorlin::TCodeForm& form = *quorlin::CodeForm;
    form.JumpCount = 3;
    form.SetRecordedMode(0);
    form.SetBounds(0, 0, 300, 20);
    ASSERT_TRUE(host.CloseProject());
    ASSERT_TRUE(host.OpenProject(Sample("Sample.dpr")));
    EXPECT_EQ(ProjectHistory(), (Lines{Sample("Sample.dpr")}));
    EXPECT_EQ(form.UnitCombo->Items().Count(), 5);
    EXPECT_EQ(form.JumpCount, 0);
    EXPECT_EQ(form.Width(), 300);  // minimised windows keep their size
    EXPECT_EQ(form.RecordedMode(), 0);

    // A unit file added to the project is no project: ignored whatever its letter case.
    form.JumpCount = 2;
    std::string added = WriteFile("Sample/Extra.PaS", "unit Extra;\r\nend.\r\n");
    ASSERT_TRUE(host.AddToProject(added));
    EXPECT_EQ(form.JumpCount, 2);
    EXPECT_EQ(ProjectHistory(), (Lines{Sample("Sample.dpr")}));
    EXPECT_EQ(form.UnitCombo->Items().Count(), 5);

    bool cancel = false;
    form.SetRecordedMode(2);
    dynamic_cast<quorlin::TQuorlinExpert*>(registered)->Notifier->FileNotification(6, "/p/Other.dpr", cancel);
    EXPECT_EQ(ProjectHistory(), (Lines{"/p/Other.dpr", Sample("Sample.dpr")}));
    EXPECT_EQ(form.RecordedMode(), 1);
    EXPECT_EQ(form.Height(), 88);
    EXPECT_FALSE(cancel);

    // Closing: the version input runs when its item is checked, then both lists are emptied.
    int versionInputs = 0;
    form.VerMenu->OnClick = [&](tk::Component*) { ++versionInputs; };
    form.MenuVerDisp->SetChecked(true);
    form.JumpCount = 4;
    ASSERT_TRUE(host.CloseProject());
    EXPECT_EQ(versionInputs, 1);
    EXPECT_EQ(ProjectHistory(), (Lines{Sample("Sample.dpr"), "/p/Other.dpr"}));
    EXPECT_TRUE(form.UnitCombo->Items().Empty());
    EXPECT_TRUE(form.MethodCombo->Items().Empty());
    EXPECT_EQ(form.JumpCount, 0);
    form.JumpHistoryMenu->Click();  // nothing until the next jump
    EXPECT_TRUE(desktop.ModalRuns().empty());
}

TEST_F(QuorlinExpertTest, UnloadingReleasesTheToolWindow)
{
    Start(services.Get());
    host.ClickMenuItem("EditQuorlinItem");
    ASSERT_NE(quorlin::CodeForm, nullptr);
    terminate();
    EXPECT_EQ(quorlin::CodeForm, nullptr);
    tk::Application::Instance().ProcessMessages();
    EXPECT_EQ(tk::Application::Instance().FindForm("CodeForm"), nullptr);

    host.ClickMenuItem("EditQuorlinItem");
    ASSERT_NE(quorlin::CodeForm, nullptr);
    ReleaseExpert();
    EXPECT_EQ(quorlin::CodeForm, nullptr);
    tk::Application::Instance().ProcessMessages();
    EXPECT_EQ(tk::Application::Instance().FindForm("CodeForm"), nullptr);
    EXPECT_FALSE(host.ClickMenuItem("EditQuorlinItem"));
}

TEST_F(QuorlinExpertTest, AWindowThatCannotBeCreatedIsReported)
{
    std::filesystem::create_directory(folder.Path() + "/Quorlin.Jmp");  // the jump history cannot be made
    int idleCalls = 0;
    tk::Application::Instance().OnIdle = [&](tk::Component*) { ++idleCalls; };
    Start(services.Get());
    ASSERT_TRUE(host.ClickMenuItem("EditQuorlinItem"));
    EXPECT_EQ(quorlin::CodeForm, nullptr);
    EXPECT_EQ(tk::Application::Instance().FindForm("CodeForm"), nullptr);
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_NE(desktop.Messages()[0].Text.find("Quorlin.Jmp"), std::string::npos);
    tk::Application::Instance().Idle();  // the failed window left no hook behind
    EXPECT_EQ(idleCalls, 1);
    tk::Application::Instance().OnIdle = nullptr;

    std::filesystem::remove(folder.Path() + "/Quorlin.Jmp");
    ASSERT_TRUE(host.ClickMenuItem("EditQuorlinItem"));
    EXPECT_NE(quorlin::CodeForm, nullptr);
}

TEST_F(QuorlinExpertTest, GetFormListBeeps)
{
    quorlin::GetFormList();
    EXPECT_EQ(desktop.Beeps(), 1);
}

}  // namespace
