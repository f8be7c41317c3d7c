#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedScope.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace {

using Log = std::vector<std::string>;

void Type(tk::Control& control, const std::string& text)
{
    for (char c : text) {
        control.HandleKeyPress(c);
    }
}

TEST(Edit, TypingInsertsAtTheCaretAndKeysMoveIt)
{
    tk::Edit edit(nullptr);
    int changes = 0;
    edit.OnChange = [&](tk::Component*) { ++changes; };
    Type(edit, "helo");
    edit.HandleKeyDown(tk::VK_LEFT, 0);
    Type(edit, "l");
    EXPECT_EQ(edit.Text(), "hello");
    EXPECT_EQ(edit.SelStart(), 4);
    edit.HandleKeyDown(tk::VK_HOME, 0);
    Type(edit, "\b");  // nothing before the caret
    edit.HandleKeyDown(tk::VK_DELETE, 0);
    edit.HandleKeyDown(tk::VK_END, 0);
    Type(edit, "\b!");
    EXPECT_EQ(edit.Text(), "ell!");
    EXPECT_EQ(changes, 8);

    edit.SetSelStart(1);
    edit.SetSelLength(10);
    EXPECT_EQ(edit.SelText(), "ll!");
    edit.SetSelText("ven");
    EXPECT_EQ(edit.Text(), "even");
    EXPECT_EQ(edit.SelStart(), 4);

    // A two-byte character is stepped over and deleted whole.
    edit.SetText("a\x82\xa0" "b");
    edit.SetSelStart(3);
    edit.HandleKeyDown(tk::VK_LEFT, 0);
    EXPECT_EQ(edit.SelStart(), 1);
    edit.HandleKeyDown(tk::VK_RIGHT, 0);
    Type(edit, "\b");
    EXPECT_EQ(edit.Text(), "ab");

    edit.SetMaxLength(3);
    Type(edit, "xyz");
    EXPECT_EQ(edit.Text(), "axb");
    edit.SetReadOnly(true);
    Type(edit, "\b");
    EXPECT_EQ(edit.Text(), "axb");
}

TEST(Memo, LinesAndTextStayInStep)
{
    tk::Memo memo(nullptr);
    int changes = 0;
    memo.OnChange = [&](tk::Component*) { ++changes; };
    memo.Lines().Add("first");
    memo.Lines().Add("second");
    EXPECT_EQ(memo.Text(), "first\r\nsecond\r\n");
    memo.SetText("one\ntwo\r\nthree");
    EXPECT_EQ(memo.Lines().Items(), (Log{"one", "two", "three"}));
    EXPECT_EQ(changes, 3);

    memo.SetSelStart(6);  // "one\ntw|o"
    EXPECT_EQ(memo.CaretLine(), 1);
    EXPECT_EQ(memo.CaretColumn(), 2);
    memo.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(memo.CaretLine(), 2);
    EXPECT_EQ(memo.CaretColumn(), 2);
    memo.HandleKeyPress('\r');
    EXPECT_EQ(memo.Lines().Items(), (Log{"one", "two", "th", "ree"}));
    memo.HandleKeyDown(tk::VK_END, 0);
    Type(memo, "!");
    memo.HandleKeyDown(tk::VK_UP, 0);
    memo.HandleKeyDown(tk::VK_HOME, 0);
    Type(memo, ">");
    EXPECT_EQ(memo.Lines().Items(), (Log{"one", "two", ">th", "ree!"}));
}

TEST(ListBox, SingleAndMultipleSelection)
{
    tk::ListBox list(nullptr);
    Log log;
    list.OnClick = [&](tk::Component*) { log.push_back("click " + std::to_string(list.ItemIndex())); };
    list.Items().Assign({"a", "b", "c"});
    list.HandleKeyDown(tk::VK_DOWN, 0);
    list.HandleKeyDown(tk::VK_DOWN, 0);
    list.HandleKeyDown(tk::VK_UP, 0);
    list.HandleKeyDown(tk::VK_UP, 0);  // at the top: nothing
    list.ClickItem(2);
    EXPECT_EQ(log, (Log{"click 0", "click 1", "click 0", "click 2"}));
    EXPECT_TRUE(list.Selected(2));
    EXPECT_FALSE(list.Selected(0));
    EXPECT_EQ(list.SelCount(), 1);
    list.Items().Delete(2);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.SelCount(), 0);

    list.SetMultiSelect(true);
    list.Items().Assign({"a", "b", "c", "d"});
    list.ClickItem(1);
    list.ClickItem(3, tk::ssCtrl);
    list.ClickItem(1);
    list.SetSelected(0, true);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_TRUE(list.Selected(3));
}

TEST(Buttons, CheckBoxesTogglesAndRadioButtonsExcludeEachOther)
{
    tk::Form form(nullptr);
    tk::CheckBox check(&form);
    tk::RadioButton one(&form);
    tk::RadioButton two(&form);
    for (tk::Control* c : std::initializer_list<tk::Control*>{&check, &one, &two}) {
        c->SetParent(&form);
    }
    int clicks = 0;
    check.OnClick = [&](tk::Component*) { ++clicks; };
    check.Click();
    check.HandleKeyDown(tk::VK_SPACE, 0);
    check.SetChecked(true);
    EXPECT_TRUE(check.Checked());
    EXPECT_EQ(clicks, 2);

    one.Click();
    two.Click();
    EXPECT_FALSE(one.Checked());
    EXPECT_TRUE(two.Checked());
    two.Click();  // clicking a checked radio button keeps it checked
    EXPECT_TRUE(two.Checked());
    one.SetChecked(true);
    EXPECT_FALSE(two.Checked());
    EXPECT_TRUE(check.Checked());  // a check box is not part of the group
}

TEST(TreeView, NodesSelectionAndDeletion)
{
    tk::TreeView tree(nullptr);
    Log log;
    tree.OnChange = [&](tk::Component*) {
        log.push_back(tree.Selected() ? tree.Selected()->Text() : "none");
    };
    tk::TreeNode* tasks = tree.AddChild(nullptr, "Tasks");
    tk::TreeNode* later = tree.Add(tasks, "Later");
    tk::TreeNode* one = tree.AddChild(tasks, "One");
    tk::TreeNode* two = tree.AddChild(tasks, "Two");
    tree.Insert(two, "OneAndAHalf");
    tk::TreeNode* deep = tree.AddChild(two, "Deep");
    EXPECT_EQ(deep->Level(), 2);
    EXPECT_EQ(two->Index(), 2);
    EXPECT_EQ(one->Parent(), tasks);
    EXPECT_EQ(tasks->Parent(), nullptr);
    EXPECT_EQ(later->Index(), 1);

    auto texts = [&] {
        Log all;
        for (tk::TreeNode* node : tree.AllNodes()) {
            all.push_back(node->Text());
        }
        return all;
    };
    EXPECT_EQ(texts(), (Log{"Tasks", "One", "OneAndAHalf", "Two", "Deep", "Later"}));

    tree.MoveTo(two, later, 0);
    tree.MoveTo(later, deep, 0);  // into its own subtree: refused
    EXPECT_EQ(texts(), (Log{"Tasks", "One", "OneAndAHalf", "Later", "Two", "Deep"}));
    EXPECT_EQ(deep->Level(), 2);

    tree.SetSelected(deep);
    tree.SetSelected(deep);
    tree.Delete(later);  // takes the selected node with it: the selection moves to a neighbour first
    EXPECT_EQ(log, (Log{"Deep", "Tasks"}));
    EXPECT_EQ(texts(), (Log{"Tasks", "One", "OneAndAHalf"}));
    tree.SetSelected(one);
    tree.Clear();
    EXPECT_EQ(tree.TopCount(), 0);
    EXPECT_EQ(log, (Log{"Deep", "Tasks", "One", "none"}));
}

TEST(Desktop, PopupMenusDialogsAndMessagesGoThroughTheScriptedDesktop)
{
    ScriptedScope scope;
    auto& app = tk::Application::Instance();
    tk::Form form(nullptr);
    form.SetBounds(100, 50, 300, 200);
    tk::Memo memo(&form);
    memo.SetParent(&form);
    memo.SetBounds(10, 20, 100, 100);
    tk::PopupMenu popup(&form);
    popup.SetName("MemoPopup");
    tk::MenuItem tools(&form);
    tk::MenuItem clear(&form);
    clear.SetName("ClearItem");
    popup.Items()->Add(&tools);
    tools.Add(&clear);
    Log log;
    popup.OnPopup = [&](tk::Component*) { log.push_back("popup"); };
    clear.OnClick = [&](tk::Component*) {
        log.push_back("clear from " + popup.PopupComponent->Name());
    };
    memo.SetName("Memo");
    memo.SetPopupMenu(&popup);
    scope.desktop.QueuePopupChoice("ClearItem");
    scope.desktop.QueuePopupChoice(std::nullopt);
    scope.desktop.QueuePopupChoice("NoSuchItem");
    memo.MouseUp(tk::MouseButton::Right, 0, 5, 6);
    memo.MouseUp(tk::MouseButton::Right, 0, 0, 0);
    memo.MouseUp(tk::MouseButton::Left, 0, 0, 0);
    EXPECT_THROW(popup.Popup(1, 2), std::invalid_argument);
    EXPECT_EQ(log, (Log{"popup", "clear from Memo", "popup", "popup"}));
    EXPECT_EQ(scope.desktop.Popups(), (Log{"MemoPopup", "MemoPopup", "MemoPopup"}));
    EXPECT_EQ(scope.desktop.PopupPositions()[0], (tk::Point{100 + 4 + 10 + 5, 50 + 4 + 19 + 20 + 6}));

    tk::SaveDialog save(nullptr);
    save.DefaultExt = "txt";
    save.Filter = "Text|*.txt";
    scope.desktop.QueueDialog("/tmp/notes");
    scope.desktop.QueueDialog("/tmp/notes.md");
    scope.desktop.QueueDialog("/tmp/v1.2/notes");
    scope.desktop.QueueDialog("C:\\\x83\x5C\\memo");  // a trail byte 0x5C is not a separator
    scope.desktop.QueueDialog(std::nullopt);
    Log names;
    for (int i = 0; i < 5; ++i) {
        names.push_back(save.Execute() ? save.FileName : "cancelled");
    }
    EXPECT_FALSE(save.Execute());  // nothing queued
    EXPECT_EQ(names, (Log{"/tmp/notes.txt", "/tmp/notes.md", "/tmp/v1.2/notes.txt",
                          "C:\\\x83\x5C\\memo.txt", "cancelled"}));
    EXPECT_EQ(scope.desktop.Dialogs().size(), 6u);
    // Written as a pattern, the default extension is still only the extension.
    save.DefaultExt = "*.pas";
    scope.desktop.QueueDialog("/tmp/Foo");
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "/tmp/Foo.pas");

    app.SetTitle("Quorlin");
    scope.desktop.QueueMessageAnswer(tk::IDNO);
    EXPECT_EQ(app.MessageBox("Save?", tk::MB_YESNO), tk::IDNO);
    EXPECT_EQ(app.MessageBox("Save?", tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION), tk::IDYES);
    tk::ShowMessage("Done");
    ASSERT_EQ(scope.desktop.Messages().size(), 3u);
    EXPECT_EQ(scope.desktop.Messages()[2].Text, "Done");
    EXPECT_EQ(scope.desktop.Messages()[2].Caption, "Quorlin");
    EXPECT_EQ(scope.desktop.Messages()[2].Flags, tk::MB_OK);

    app.SetCursor(tk::Cursor::HourGlass);
    app.SetCursor(tk::Cursor::HourGlass);
    app.SetCursor(tk::Cursor::Default);
    EXPECT_EQ(scope.desktop.Cursors(), (std::vector<tk::Cursor>{tk::Cursor::HourGlass, tk::Cursor::Default}));
}

TEST(Desktop, TheDefaultDesktopCancelsEverything)
{
    auto& app = tk::Application::Instance();
    app.SetDesktop(nullptr);
    tk::Form form(nullptr);
    form.SetModalResult(tk::mrOk);
    EXPECT_EQ(form.ShowModal(), tk::mrCancel);
    tk::OpenDialog open(nullptr);
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(app.MessageBox("?", tk::MB_YESNO), tk::IDOK);
    EXPECT_EQ(app.GetDesktop().ScreenRect(), (tk::Rect{0, 0, 1280, 1024}));
}

}  // namespace
