#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedScope.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace {

using Log = std::vector<std::string>;

// A dialog with two edits and an OK / Cancel pair, every focus change logged.
struct Dialog {
    explicit Dialog(Log& log)
    {
        form->SetName("EditDialog");
        form->SetBounds(0, 0, 300, 200);
        for (tk::Control* c : std::initializer_list<tk::Control*>{first, second, ok, cancel}) {
            c->SetParent(form);
            c->OnEnter = [&log](tk::Component* s) { log.push_back("enter " + s->Name()); };
            c->OnExit = [&log](tk::Component* s) { log.push_back("exit " + s->Name()); };
        }
        first->SetName("First");
        second->SetName("Second");
        ok->SetName("Ok");
        cancel->SetName("Cancel");
        ok->Default = true;
        ok->ModalResult = tk::mrOk;
        cancel->Cancel = true;
        cancel->ModalResult = tk::mrCancel;
    }
    ~Dialog() { delete form; }

    tk::Form* form = new tk::Form(nullptr);
    tk::Edit* first = new tk::Edit(form);
    tk::Edit* second = new tk::Edit(form);
    tk::Button* ok = new tk::Button(form);
    tk::Button* cancel = new tk::Button(form);
};

TEST(Form, FocusRunsExitOfTheOldControlBeforeEnterOfTheNew)
{
    Log log;
    Dialog d(log);
    d.form->SetActiveControl(d.first);
    d.second->SetFocus();
    EXPECT_TRUE(d.second->Focused());
    d.form->SetActiveControl(nullptr);
    EXPECT_EQ(log, (Log{"enter First", "exit First", "enter Second", "exit Second"}));

    // Not on this form, or unable to take the focus: nothing happens.
    log.clear();
    tk::Form other(nullptr);
    tk::Edit stranger(&other);
    stranger.SetParent(&other);
    d.form->SetActiveControl(&stranger);
    d.second->SetEnabled(false);
    d.form->SetActiveControl(d.second);
    EXPECT_EQ(d.form->ActiveControl(), nullptr);
    EXPECT_TRUE(log.empty());

    // Moving the active control to another form takes the focus away from this one.
    d.form->SetActiveControl(d.first);
    d.first->SetParent(&other);
    EXPECT_EQ(d.form->ActiveControl(), nullptr);
    d.first->SetParent(d.form);

    // Destroying the active control clears it silently, and so the label that points at it.
    auto* label = new tk::Label(d.form);
    label->FocusControl = d.first;
    d.form->SetActiveControl(d.first);
    delete d.first;
    d.first = nullptr;
    EXPECT_EQ(d.form->ActiveControl(), nullptr);
    EXPECT_EQ(label->FocusControl, nullptr);
    EXPECT_EQ(log, (Log{"enter First", "exit First", "enter First"}));
}

TEST(Form, TabMovesAlongTheTabOrderUnlessAHandlerMovedTheFocus)
{
    Log log;
    Dialog d(log);
    auto* panel = new tk::Panel(d.form);
    panel->SetParent(d.form);
    auto* inner = new tk::Edit(d.form);
    inner->SetParent(panel);
    d.first->SetTabOrder(3);
    d.second->SetTabOrder(0);
    panel->SetTabOrder(1);
    d.ok->SetTabOrder(4);
    d.cancel->SetTabOrder(2);
    d.cancel->SetVisible(false);
    EXPECT_EQ(d.form->TabOrderList(), (std::vector<tk::Control*>{d.second, inner, d.first, d.ok}));

    d.form->DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(d.form->ActiveControl(), d.second);
    d.form->DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(d.form->ActiveControl(), inner);
    d.form->DispatchKey(tk::VK_TAB, tk::ssShift);
    d.form->DispatchKey(tk::VK_TAB, tk::ssShift);
    EXPECT_EQ(d.form->ActiveControl(), d.ok);  // wraps round
    d.form->DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(d.form->ActiveControl(), d.second);

    // A handler that moves the focus itself wins; one that consumes the key keeps it.
    d.second->OnKeyDown = [&](tk::Component*, uint16_t& key, tk::ShiftState) {
        if (key == tk::VK_TAB) {
            d.ok->SetFocus();
        }
    };
    d.form->DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(d.form->ActiveControl(), d.ok);
    d.ok->OnKeyDown = [](tk::Component*, uint16_t& key, tk::ShiftState) { key = 0; };
    d.form->DispatchKey(tk::VK_TAB, 0);
    EXPECT_EQ(d.form->ActiveControl(), d.ok);
}

TEST(Form, MenuShortCutsComeFirstButOnlyForEnabledItems)
{
    Log log;
    Dialog d(log);
    auto* menu = new tk::MainMenu(d.form);
    auto* edit = new tk::MenuItem(d.form);
    auto* jump = new tk::MenuItem(d.form);
    auto* find = new tk::MenuItem(d.form);
    menu->Items()->Add(edit);
    edit->Add(jump);
    edit->Add(find);
    jump->SetShortCut(tk::MakeShortCut(tk::VK_F11, tk::ssCtrl));
    find->SetShortCut(tk::MakeShortCut('A', tk::ssCtrl | tk::ssShift));
    EXPECT_EQ(tk::ShortCutToText(jump->GetShortCut()), "Ctrl+F11");
    EXPECT_EQ(tk::ShortCutToText(find->GetShortCut()), "Shift+Ctrl+A");
    EXPECT_EQ(tk::ShortCutToText(tk::MakeShortCut(tk::VK_F6, 0)), "F6");
    jump->OnClick = [&](tk::Component*) { log.push_back("jump"); };
    find->OnClick = [&](tk::Component*) { log.push_back("find"); };
    d.form->SetMenu(menu);
    d.first->SetFocus();
    d.first->OnKeyDown = [&](tk::Component*, uint16_t& key, tk::ShiftState) {
        log.push_back("key " + std::to_string(key));
    };
    log.clear();

    d.form->DispatchKey(tk::VK_F11, tk::ssCtrl);
    d.form->DispatchKey('A', tk::ssCtrl | tk::ssShift);
    EXPECT_EQ(log, (Log{"jump", "find"}));

    log.clear();
    jump->SetEnabled(false);
    d.form->DispatchKey(tk::VK_F11, tk::ssCtrl);  // falls through to the control
    jump->SetEnabled(true);
    edit->SetEnabled(false);                     // a disabled parent disables the subtree
    d.form->DispatchKey('A', tk::ssCtrl | tk::ssShift);
    jump->Click();                               // a direct click on an enabled item still runs
    EXPECT_EQ(log, (Log{"key " + std::to_string(tk::VK_F11), "key 65", "jump"}));
}

TEST(Form, EnterAndEscPressTheDialogButtonsUnlessTheControlTakesTheKey)
{
    ScriptedScope scope;
    Log log;
    Dialog d(log);
    auto* memo = new tk::Memo(d.form);
    memo->SetParent(d.form);

    d.first->SetFocus();
    d.form->DispatchKey(tk::VK_RETURN, 0);
    EXPECT_EQ(d.form->ModalResult(), tk::mrOk);
    d.form->DispatchKey(tk::VK_ESCAPE, 0);
    EXPECT_EQ(d.form->ModalResult(), tk::mrCancel);

    d.form->SetModalResult(tk::mrNone);
    memo->SetFocus();
    d.form->DispatchKey(tk::VK_RETURN, 0);  // a memo keeps Enter for its line break
    d.form->DispatchChar('\r');
    EXPECT_EQ(d.form->ModalResult(), tk::mrNone);
    EXPECT_EQ(memo->Lines().Count(), 1);
    EXPECT_EQ(memo->Text(), "\r\n");

    d.ok->Default = false;
    d.first->SetFocus();
    d.form->DispatchKey(tk::VK_RETURN, 0);
    EXPECT_EQ(d.form->ModalResult(), tk::mrNone);

    // A run: the scripted person presses Enter, the default button ends it.
    d.ok->Default = true;
    scope.desktop.QueueModal([](tk::Form& f) { f.DispatchKey(tk::VK_RETURN, 0); });
    scope.desktop.QueueModal([](tk::Form& f) { f.Close(); });
    scope.desktop.QueueModal([](tk::Form&) {});
    EXPECT_EQ(d.form->ShowModal(), tk::mrOk);
    EXPECT_EQ(d.form->ShowModal(), tk::mrCancel);
    EXPECT_EQ(d.form->ShowModal(), tk::mrCancel);
    EXPECT_EQ(d.form->ShowModal(), tk::mrCancel);  // nothing queued
    EXPECT_EQ(scope.desktop.ModalRuns(), (Log{"EditDialog", "EditDialog", "EditDialog", "EditDialog"}));
}

TEST(Form, ModalRunShowsTheFormAndHidesItAfterwards)
{
    ScriptedScope scope;
    Log log;
    Dialog d(log);
    d.form->OnShow = [&](tk::Component*) { log.push_back("show"); };
    d.form->OnHide = [&](tk::Component*) { log.push_back("hide"); };
    d.form->SetModalResult(tk::mrAbort);
    scope.desktop.QueueModal([&](tk::Form& f) {
        log.push_back(std::string("run modal=") + (f.Modal() ? "1" : "0") +
                      " visible=" + (f.Visible() ? "1" : "0") +
                      " result=" + std::to_string(f.ModalResult()));
        d.second->SetFocus();
        d.second->HandleKeyDown(tk::VK_SPACE, 0);  // an edit does not press anything
        d.ok->HandleKeyDown(tk::VK_SPACE, 0);      // the OK button does
    });
    EXPECT_EQ(d.form->ShowModal(), tk::mrOk);
    EXPECT_FALSE(d.form->Visible());
    EXPECT_FALSE(d.form->Modal());
    EXPECT_EQ(log, (Log{"show", "run modal=1 visible=1 result=0", "enter Second", "hide"}));
}

TEST(Form, CloseAsksFirstAndCarriesOutTheChosenAction)
{
    Log log;
    auto* form = new tk::Form(nullptr);
    form->SetName("Closing");
    form->OnShow = [&](tk::Component*) { log.push_back("show"); };
    form->OnCloseQuery = [&](tk::Component*, bool& canClose) {
        log.push_back("query");
        canClose = log.size() > 2;
    };
    form->OnClose = [&](tk::Component*, tk::CloseAction& action) {
        log.push_back("close " + std::to_string(int(action)));
    };
    form->Show();
    form->Show();  // already shown: no second OnShow
    form->Close(); // refused
    EXPECT_TRUE(form->Visible());
    form->Close();
    EXPECT_FALSE(form->Visible());
    form->Show();
    EXPECT_EQ(log, (Log{"show", "query", "query", "close 1", "show"}));

    form->OnClose = [](tk::Component*, tk::CloseAction& action) { action = tk::CloseAction::Minimize; };
    form->Close();
    EXPECT_EQ(form->GetWindowState(), tk::WindowState::Minimized);
    EXPECT_TRUE(form->Visible());

    form->OnClose = [](tk::Component*, tk::CloseAction& action) { action = tk::CloseAction::Free; };
    bool destroyed = false;
    form->OnDestroy = [&](tk::Component*) { destroyed = true; };
    form->Close();
    form->Release();  // a second request is the same request
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(tk::Application::Instance().FindForm("closing"), form);
    tk::Application::Instance().ProcessMessages();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(tk::Application::Instance().FindForm("closing"), nullptr);
}

TEST(Form, ReleaseWaitsForTheMessageQueueAndSurvivesADirectDelete)
{
    ScriptedScope scope;
    auto& app = tk::Application::Instance();
    size_t before = app.Forms().size();
    int destroyed = 0;
    auto* form = new tk::Form(&app);
    form->OnDestroy = [&](tk::Component*) { ++destroyed; };
    auto* edit = new tk::Edit(form);
    edit->SetParent(form);
    EXPECT_EQ(app.Forms().size(), before + 1);

    form->Release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(edit->ParentForm(), form);  // still whole until the queue is reached
    bool idled = false;
    app.OnIdle = [&](tk::Component*) { idled = true; };
    app.Idle();
    app.OnIdle = nullptr;
    EXPECT_TRUE(idled);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(app.Forms().size(), before);

    // Deleted directly before the queue runs: the pending release must not touch it.
    auto* other = new tk::Form(&app);
    other->OnDestroy = [&](tk::Component*) { ++destroyed; };
    other->Release();
    delete other;
    EXPECT_EQ(destroyed, 2);
    app.ProcessMessages();
    EXPECT_EQ(destroyed, 2);
}

TEST(Form, CreateOnceAndNormalBoundsKeptWhileMaximised)
{
    ScriptedScope scope;
    scope.desktop.SetWorkArea({0, 0, 1024, 700});
    Log log;
    tk::Form form(nullptr);
    form.OnCreate = [&](tk::Component*) { log.push_back("create"); };
    form.FinishCreate();
    form.FinishCreate();
    EXPECT_EQ(log, (Log{"create"}));

    form.SetBounds(50, 60, 300, 200);
    form.SetWindowState(tk::WindowState::Maximized);
    EXPECT_EQ(form.Bounds(), (tk::Rect{0, 0, 1024, 700}));
    EXPECT_EQ(form.NormalBounds(), (tk::Rect{50, 60, 300, 200}));
    form.SetWindowState(tk::WindowState::Normal);
    EXPECT_EQ(form.Bounds(), (tk::Rect{50, 60, 300, 200}));
    form.SetWindowState(tk::WindowState::Minimized);
    EXPECT_EQ(form.NormalBounds(), (tk::Rect{50, 60, 300, 200}));
}

}  // namespace
