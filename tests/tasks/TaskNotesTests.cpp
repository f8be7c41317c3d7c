#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TaskFixture.h"
#include "platform/DropFiles.h"
#include "platform/FilePath.h"
#include "platform/IniFile.h"
#include "tasks/LinkFileUnit.h"
#include "tasks/TaskDetail.h"

namespace {

using Lines = std::vector<std::string>;

class TaskNotesTest : public TaskFixture {
protected:
    std::string Link(const std::string& taskFile, const std::string& nodeText)
    {
        return platform::IniFile(platform::ChangeFileExt(taskFile, ".txt")).ReadString("FileLocation", nodeText, "");
    }
};

TEST_F(TaskNotesTest, SelectionChangeWritesTypedNotesToTheLinkedFileAndShowsTheNext)
{
    WriteFile("Plan.txt", "[詳細]\r\nB=x~ y ~z\r\n");
    std::string plan = OpenTasks("Plan.ini", "A\r\nB\r\nC\r\n");
    EXPECT_EQ(TMemo().Text(), "");
    Type("first~line\rsecond");
    Select("B");
    EXPECT_EQ(ReadFile(HostFile("A.txt")), "firstline\r\nsecond");
    // The one-line note: what follows the last "~" is not shown.
    EXPECT_EQ(TMemo().Lines().Items(), (Lines{"x", "y"}));
    EXPECT_EQ(Form().CurrentNodeText, "B");

    // Notes shown but not typed into are not written.
    Select("C");
    EXPECT_FALSE(platform::FileExists(HostFile("B.txt")));
    // A linked file's lone CR and LF become CR LF; clearing the memo is not a change.
    WriteFile("C.txt", "1\n2\r3\r\n");
    Select("A");
    Select("C");
    EXPECT_EQ(TMemo().Text(), "1\r\n2\r\n3\r\n");
    Form().ClearMemoItem->Click();
    Select("A");
    EXPECT_EQ(ReadFile(HostFile("C.txt")), "1\n2\r3\r\n");
    EXPECT_EQ(TMemo().Text(), "firstline\r\nsecond");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(TaskNotesTest, EqualNodeTextsShareNotesAndNodeTextsStayInTheHostFolder)
{
    OpenTasks("Plan.ini", "");
    TreeKey(tk::VK_RETURN);
    TreeKey(tk::VK_RETURN);
    tk::TreeView& tree = *Form().TreeView1;
    ASSERT_EQ(tree.TopCount(), 2);
    EXPECT_EQ(tree.Selected(), tree.TopItem(1));
    Type("shared");
    tree.SetSelected(tree.TopItem(0));
    EXPECT_EQ(ReadFile(HostFile("Sub Item1.txt")), "shared");
    EXPECT_EQ(TMemo().Text(), "shared");

    // Separators cannot lead out of the folder; names Windows allows stay as they are.
    EXPECT_EQ(quorlin::DefaultLinkedFileName("../../etc/x"), HostFile(".._.._etc_x.txt"));
    EXPECT_EQ(quorlin::DefaultLinkedFileName("a\\b\tc"), HostFile("a_b_c.txt"));
    EXPECT_EQ(quorlin::DefaultLinkedFileName(".."), HostFile("...txt"));
    EXPECT_EQ(quorlin::DefaultLinkedFileName("a..b 表 (1)"), HostFile("a..b 表 (1).txt"));
    tree.AddChild(nullptr, "../Escape");
    Select("../Escape");
    Type("kept inside");
    Select("Sub Item1");
    EXPECT_EQ(ReadFile(HostFile(".._Escape.txt")), "kept inside");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.Path()).parent_path() / "Escape.txt"));
}

TEST_F(TaskNotesTest, RenamedNodeWritesPendingNotesUnderItsNewText)
{
    WriteFile("Old.txt", "old notes");
    OpenTasks("Plan.ini", "Old\r\nOther\r\n");
    Type(" changed");
    TreeKey(tk::VK_BACK);
    EXPECT_TRUE(Form().LabelEditing);
    EXPECT_EQ(Form().TreeView1->EditingNode(), Node("Old"));
    // Neither Delete nor a selection change happens while the label is edited.
    TreeKey(tk::VK_DELETE);
    Select("Other");
    EXPECT_EQ(Form().TreeView1->TopCount(), 2);
    EXPECT_EQ(Form().TreeView1->Selected()->Text(), "Old");
    Form().TreeView1->EndEdit("New");
    EXPECT_FALSE(Form().LabelEditing);
    Select("Other");
    EXPECT_EQ(ReadFile(HostFile("New.txt")), "old notes changed");
    EXPECT_EQ(ReadFile(HostFile("Old.txt")), "old notes");

    // A cancelled edit leaves the text; losing the activation ends the editing state.
    TreeKey(tk::VK_BACK);
    EXPECT_EQ(Form().TreeView1->ActiveImeMode(), quorlin::TImeMode::imHira);
    Form().TreeView1->CancelEdit();
    EXPECT_FALSE(Form().LabelEditing);
    EXPECT_EQ(Form().TreeView1->ActiveImeMode(), quorlin::TImeMode::imDontCare);
    EXPECT_EQ(Node("Other")->Text(), "Other");
    TreeKey(tk::VK_BACK);
    tk::Application::Instance().Deactivate();
    EXPECT_FALSE(Form().LabelEditing);
}

TEST_F(TaskNotesTest, PendingNotesAreWrittenBeforeEveryFileCommandAndTheWindowCloses)
{
    struct Command {
        const char* Name;
        std::function<void()> Run;
    };
    std::string other = WriteFile("Other.ini", "X\r\n");
    std::vector<Command> commands = {
        {"New", [&] { desktop.QueueDialog(HostFile("New.ini")); Form().New1->Click(); }},
        {"Open", [&] { desktop.QueueDialog(other); Form().K1->Click(); }},
        {"Close", [&] { Form().Close1->Click(); }},
        {"Save", [&] { Form().Save1->Click(); }},
        {"SaveAs", [&] { desktop.QueueDialog(HostFile("Copy.ini")); Form().SaveAs1->Click(); }},
        {"window close", [&] { Form().Close(); tk::Application::Instance().ProcessMessages(); }},
    };
    for (const Command& command : commands) {
        std::string node = std::string("Note ") + command.Name;
        std::filesystem::create_directories(HostFile(command.Name));
        std::string plan = OpenTasks(std::string(command.Name) + "/Plan.ini", node + "\r\n");
        WriteFile(std::string(command.Name) + "/Plan.txt", "[FileLocation]\r\n" + node + "=" +
                  HostFile(std::string(command.Name) + "/linked.txt") + "\r\n");
        Select(node);
        Type("typed");
        command.Run();
        EXPECT_EQ(ReadFile(HostFile(std::string(command.Name) + "/linked.txt")), "typed") << command.Name;
        // Nothing is written twice, nor under the next task file's link.
        if (quorlin::CodeForm) {
            EXPECT_FALSE(TMemo().Modified()) << command.Name;
            Form().Close1->Click();
        }
        EXPECT_FALSE(platform::FileExists(HostFile(node + ".txt"))) << command.Name;
    }
    EXPECT_TRUE(desktop.Messages().empty());

    // New keeps the memo's text; Close empties it.
    OpenTasks("Plan.ini", "A\r\n");
    Type("scratch");
    desktop.QueueDialog(HostFile("Fresh.ini"));
    Form().New1->Click();
    EXPECT_EQ(TMemo().Text(), "scratch");
    EXPECT_EQ(Form().TaskFileName, HostFile("Fresh.ini"));
    Form().Close1->Click();
    EXPECT_EQ(TMemo().Text(), "");
}

TEST_F(TaskNotesTest, NotesTypedWhileNoNodeIsSelectedStayTheShownNodesNotes)
{
    WriteFile("A.txt", "a notes");
    OpenTasks("Plan.ini", "A\r\n");
    TreeKey(tk::VK_DELETE);
    EXPECT_EQ(Form().TreeView1->TopCount(), 0);
    EXPECT_EQ(TMemo().Text(), "a notes");
    Type(", typed after the node went");
    TreeKey(tk::VK_RETURN);
    EXPECT_EQ(ReadFile(HostFile("A.txt")), "a notes, typed after the node went");

    // After New they go where the new task file puts the node's notes, at the next selection.
    Type("sub notes");
    desktop.QueueDialog(HostFile("Fresh.ini"));
    Form().New1->Click();
    Type(", typed after New");
    TreeKey(tk::VK_RETURN);
    EXPECT_EQ(ReadFile(HostFile("Sub Item1.txt")), "sub notes, typed after New");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(TaskNotesTest, TaskFileAndDetailFileAreNeverLinkedNotesOrMemoFiles)
{
    // In the host folder, node Plan's default linked file is the detail file of Plan.ini.
    std::string plan = OpenTasks("Plan.ini", "Plan\r\nOther\r\n");
    Form().SetLinkedFileName("Other", HostFile("other.txt"));
    const std::string details = ReadFile(HostFile("Plan.txt"));
    Select("Other");
    Select("Plan");
    EXPECT_EQ(TMemo().Text(), "");
    Type("notes of Plan");
    Select("Other");
    EXPECT_EQ(ReadFile(HostFile("Plan.txt")), details);
    EXPECT_EQ(Form().CurrentNodeText, "Plan");
    EXPECT_EQ(TMemo().Text(), "notes of Plan");
    ASSERT_EQ(desktop.Messages().size(), 1u);

    // Links to either are refused, whichever way they come.
    Form().SetLinkedFileName("Plan", plan);
    desktop.QueueModal([&](tk::Form& modal) {
        auto& dialog = dynamic_cast<quorlin::TDetailLocationForm&>(modal);
        dialog.Edit1->SetText(HostFile("Plan.txt"));
        dialog.PanelEx2->Click();
    });
    Form().MenuModifyLink->Click();
    EXPECT_EQ(Link(plan, "Plan"), "");
    EXPECT_EQ(Link(plan, "Other"), HostFile("other.txt"));
    desktop.QueueDialog(plan);
    Form().SaveMemoItem->Click();
    EXPECT_EQ(ReadFile(plan), "Plan\r\nOther\r\n");
    tk::Message message{Form().Handle(), platform::WM_DROPFILES, platform::CreateDrop({plan}), 0};
    tk::Application::Instance().DispatchMessage(message);
    EXPECT_EQ(TreeText(), "Plan\r\nOther\r\n");
    EXPECT_EQ(desktop.Messages().size(), 6u);
    EXPECT_EQ(ReadFile(HostFile("Plan.txt")), details);
}

TEST_F(TaskNotesTest, NodeTextsThatCannotBeKeysHaveNoLinkAndChangeNoOtherNode)
{
    std::string plan = OpenTasks("Plan.ini", "a=b\r\na\r\n");
    Form().MenuModifyLink->Click();
    EXPECT_TRUE(desktop.ModalRuns().empty());
    EXPECT_EQ(Link(plan, "a"), "");
    // Its notes read back as written, from its default linked file.
    Type("notes of a=b");
    Select("a");
    EXPECT_EQ(TMemo().Text(), "");
    Select("a=b");
    EXPECT_EQ(TMemo().Text(), "notes of a=b");
    EXPECT_EQ(ReadFile(HostFile("a=b.txt")), "notes of a=b");
    Form().Save1->Click();
    platform::IniFile detail(HostFile("Plan.txt"));
    EXPECT_EQ(detail.ReadSection("詳細"), (Lines{"a"}));
    EXPECT_EQ(detail.ReadString("詳細", "a", "?"), "");

    // A dropped file named so becomes no node, and the drop goes on.
    desktop.ClearRecords();
    std::string equals = folder.Write("Docs/x=y.txt", "x");
    std::string plain = folder.Write("Docs/z.txt", "z");
    tk::Message message{Form().Handle(), platform::WM_DROPFILES, platform::CreateDrop({equals, plain}), 0};
    tk::Application::Instance().DispatchMessage(message);
    EXPECT_EQ(TreeText(), "a=b\r\na\r\nz\r\n");
    EXPECT_EQ(Link(plan, "z"), plain);
    EXPECT_EQ(Link(plan, "x"), "");
    EXPECT_EQ(desktop.Messages().size(), 4u);
}

TEST_F(TaskNotesTest, LinkedFilesAreResolvedFromTheTaskFileAndShownUpToTheMemoLimit)
{
    folder.Write("Work/notes/a.txt", "relative notes");
    std::string line(99, 'x');
    std::string big;
    while (big.size() <= quorlin::MemoLoadLimit)
        big += line + "\r\n";
    std::string bigFile = folder.Write("Work/big.txt", big);
    std::string sparse = folder.Write("Work/sparse.txt", "");
    std::filesystem::resize_file(sparse, uintmax_t(1) << 40);
    ASSERT_EQ(mkfifo(HostFile("Work/pipe").c_str(), 0600), 0);
    folder.Write("Work/Plan.txt", "[FileLocation]\r\nA=notes/a.txt\r\nBig=big.txt\r\nSparse=" + sparse +
                                      "\r\nPipe=pipe\r\nFolder=notes\r\n");
    std::string plan = folder.Write("Work/Plan.ini", "A\r\nBig\r\nSparse\r\nPipe\r\nFolder\r\n");
    desktop.QueueDialog(plan);
    Form().K1->Click();
    EXPECT_EQ(TMemo().Text(), "relative notes");

    Select("Big");
    EXPECT_LE(TMemo().Text().size(), quorlin::MemoLoadLimit);
    EXPECT_EQ(TMemo().Text(), big.substr(0, TMemo().Text().size()));
    EXPECT_TRUE(std::string_view(TMemo().Text()).ends_with("\r\n"));
    ASSERT_EQ(desktop.Notices().size(), 1u);
    // Writing the part shown over the whole file asks; no keeps the changes pending.
    Type("x");
    desktop.QueueMessageAnswer(tk::IDNO);
    Select("Sparse");
    EXPECT_EQ(ReadFile(bigFile), big);
    EXPECT_EQ(Form().CurrentNodeText, "Big");
    Select("A");
    Select("Sparse");
    EXPECT_EQ(ReadFile(bigFile).size(), quorlin::MemoLoadLimit / 101 * 101 + 1);
    EXPECT_EQ(Form().CurrentNodeText, "Sparse");
    EXPECT_EQ(TMemo().Text().size(), quorlin::MemoLoadLimit);
    EXPECT_EQ(desktop.Notices().size(), 2u);

    desktop.ClearRecords();
    Select("Pipe");
    Select("Folder");
    EXPECT_EQ(MessageTexts(), (Lines{"ﾌｧｲﾙ " + HostFile("Work/pipe") + " は開けません",
                                     "ﾌｧｲﾙ " + HostFile("Work/notes") + " は開けません"}));

    // A lead byte before "/" is no character; the "/" still leads nowhere.
    EXPECT_EQ(quorlin::DefaultLinkedFileName("\x81/x"), HostFile("\x81_x.txt"));
    EXPECT_EQ(quorlin::DefaultLinkedFileName("\x81\x5C"), HostFile("\x81\x5C.txt"));
}

TEST_F(TaskNotesTest, UnwritableLinkedFileKeepsTheNotesPending)
{
    // A link into a "folder" that is a file cannot be written, whoever runs the test.
    WriteFile("blocked", "a file");
    OpenTasks("Plan.ini", "A\r\nB\r\n");
    Form().SetLinkedFileName("A", HostFile("blocked/a.txt"));
    Type("precious");
    Select("B");
    EXPECT_EQ(MessageTexts(), (Lines{"ﾌｧｲﾙ " + HostFile("blocked/a.txt") + " を作成できません"}));
    EXPECT_EQ(Form().CurrentNodeText, "A");
    EXPECT_EQ(TMemo().Text(), "precious");
    EXPECT_TRUE(TMemo().Modified());
    // Nor does a command that would lose them go on.
    Form().Close1->Click();
    EXPECT_EQ(Form().TreeView1->TopCount(), 2);

    std::filesystem::remove(HostFile("blocked"));
    std::filesystem::create_directory(HostFile("blocked"));
    Select("A");
    EXPECT_EQ(ReadFile(HostFile("blocked/a.txt")), "precious");
    EXPECT_EQ(TMemo().Text(), "precious");
}

TEST_F(TaskNotesTest, TreeKeys)
{
    OpenTasks("Plan.ini", "A\r\n\tB\r\n\tC\r\nD\r\n");
    tk::TreeView& tree = *Form().TreeView1;
    Select("C");
    // Right on a last child without children goes to its parent's next sibling.
    TreeKey(tk::VK_RIGHT);
    EXPECT_EQ(tree.Selected(), Node("D"));
    TreeKey(tk::VK_RIGHT);  // nothing follows D
    EXPECT_EQ(tree.Selected(), Node("D"));

    Select("A");
    TreeKey(tk::VK_RETURN, tk::ssShift);
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\tC\r\n\tSub Item1\r\nD\r\n");
    EXPECT_TRUE(Node("A")->Expanded());
    EXPECT_EQ(tree.Selected()->Text(), "Sub Item1");
    EXPECT_FALSE(tree.IsEditing());
    TreeKey(tk::VK_DELETE);
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\tC\r\nD\r\n");
    EXPECT_EQ(tree.Selected(), Node("C"));

    char enter = '\r';
    Form().TreeView1KeyPress(nullptr, enter);
    EXPECT_EQ(enter, 0);
    TreeKey(tk::VK_RIGHT, tk::ssCtrl);
    EXPECT_EQ(Form().ActiveControl(), Form().Memo1);
    Form().TreeView1->SetFocus();
    TreeKey(tk::VK_UP, tk::ssCtrl);
    EXPECT_EQ(Form().ActiveControl(), Form().UnitCombo);

    // The memo drops "~" and swallows Ctrl+Up and Ctrl+Left.
    Type("a~b");
    EXPECT_EQ(TMemo().Text(), "ab");
    TMemo().SetFocus();
    TMemo().HandleKeyDown(tk::VK_LEFT, tk::ssCtrl);
    EXPECT_EQ(TMemo().SelStart(), 2);

    Form().FullExpand1->Click();
    for (tk::TreeNode* node : tree.AllNodes())
        EXPECT_EQ(node->Expanded(), true);
    Form().FullCollapse1->Click();
    for (tk::TreeNode* node : tree.AllNodes())
        EXPECT_EQ(node->Expanded(), false);
}

TEST_F(TaskNotesTest, DraggedNodesMoveByWhatLiesUnderTheDropPoint)
{
    OpenTasks("Plan.ini", "A\r\n\tB\r\n\tC\r\nD\r\nE\r\n");
    tk::TreeView& tree = *Form().TreeView1;
    tree.SetBounds(0, 0, 200, 300);
    Form().FullExpand1->Click();
    Select("D");
    Type("typed in D");
    int changes = 0;
    tk::NotifyEvent handler = tree.OnChange;
    tree.OnChange = [&](tk::Component* sender) { ++changes; handler(sender); };

    auto drop = [&](const std::string& dragged, tk::TreeNode* target, tk::HitTests area) {
        tree.BeginDrag(Node(dragged));
        tk::Point at = tree.PointIn(target, area);
        EXPECT_TRUE(tree.DragOver(&tree, at.X, at.Y));
        tree.DragDrop(&tree, at.X, at.Y);
    };
    drop("D", Node("B"), tk::htOnLabel);
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\t\tD\r\n\tC\r\nE\r\n");
    drop("D", Node("A"), tk::htOnIndent);  // a top-level node has no indent area
    drop("D", Node("B"), tk::htOnButton);
    drop("D", Node("B"), tk::htOnRight);
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\t\tD\r\n\tC\r\nE\r\n");
    drop("E", Node("C"), tk::htOnIndent);
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\t\tD\r\n\tE\r\n\tC\r\n");
    drop("B", Node("C"), tk::htOnIndent);
    EXPECT_EQ(TreeText(), "A\r\n\tE\r\n\tB\r\n\t\tD\r\n\tC\r\n");
    drop("B", nullptr, tk::htNowhere);
    EXPECT_EQ(TreeText(), "A\r\n\tE\r\n\tC\r\nB\r\n\tD\r\n");
    // Onto itself or a node below it: nothing.
    Form().FullExpand1->Click();
    drop("B", Node("B"), tk::htOnLabel);
    drop("B", Node("D"), tk::htOnLabel);
    drop("B", Node("D"), tk::htOnIndent);
    EXPECT_EQ(TreeText(), "A\r\n\tE\r\n\tC\r\nB\r\n\tD\r\n");
    // From elsewhere than a tree: nothing.
    tree.SetSelected(Node("C"));
    tk::Point onA = tree.PointIn(Node("A"), tk::htOnLabel);
    tree.DragDrop(Form().Memo1, onA.X, onA.Y);
    EXPECT_EQ(TreeText(), "A\r\n\tE\r\n\tC\r\nB\r\n\tD\r\n");

    // Only the drags' own selections changed the memo's node; moves raise no selection change.
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(ReadFile(HostFile("D.txt")), "typed in D");
}

TEST_F(TaskNotesTest, DoubleClickJumpsToTheRoutineTheNodeNames)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.Show();
    std::string unit = Sample("MainForm.pas");
    form.UnitCombo->SetItemIndex(form.UnitCombo->Items().IndexOf(Sample("Shapes.pas")));
    form.OpenUnit(Sample("Shapes.pas"));
    form.MethodCombo->SetItemIndex(0);
    form.TreeView1->SetSelected(form.TreeView1->AddChild(nullptr, "TForm1.FormCreate(Sender: TObject);"));
    form.TreeView1->DblClick();
    // Not in the chosen unit, so every other unit is tried.
    EXPECT_EQ(host.Cursor(unit).Line, 39);
    EXPECT_EQ(form.Height(), 88);
}

TEST_F(TaskNotesTest, LinkDialogEditsTheLinkOfTheSelectedNode)
{
    // Named otherwise than its node Plan, so Plan's default linked file is not the detail file.
    std::string plan = OpenTasks("Tasks.ini", "Plan\r\nOther\r\nPlan\r\n");
    desktop.QueueModal([](tk::Form& modal) {
        auto& dialog = dynamic_cast<quorlin::TDetailLocationForm&>(modal);
        EXPECT_EQ(dialog.Edit2->Text(), "Plan");
        dialog.Edit1->SetText("/ignored");
        dialog.PanelEx1->Click();
    });
    Form().MenuModifyLink->Click();
    // Cancel stores the link that was shown, the default one.
    EXPECT_EQ(Link(plan, "Plan"), HostFile("Plan.txt"));

    std::string document = WriteFile("Document.txt", "document text");
    Type("pending");
    desktop.QueueModal([&](tk::Form& modal) {
        auto& dialog = dynamic_cast<quorlin::TDetailLocationForm&>(modal);
        EXPECT_EQ(dialog.Edit1->Text(), HostFile("Plan.txt"));
        EXPECT_EQ(dialog.GetBorderIcons(), 0u);
        EXPECT_EQ(dialog.ClientWidth(), 226);
        EXPECT_EQ(dialog.ClientHeight(), 162);
        dialog.Edit2->SetFocus();
        dialog.Edit2->SetSelStart(4);
        dialog.Edit2->HandleKeyDown(tk::VK_RIGHT, 0);
        EXPECT_EQ(dialog.ActiveControl(), dialog.Edit1);
        dialog.Edit1->SetText("");
        desktop.QueueDialog(document);
        dialog.Button1->Click();
        EXPECT_EQ(dialog.Edit1->Text(), document);
        dialog.Edit1->HandleKeyDown(tk::VK_F5, 0);
    });
    Form().MenuModifyLink->Click();
    EXPECT_EQ(Link(plan, "Plan"), document);
    // The memo is not reloaded; its pending changes go to the new link, and both Plan nodes share it.
    EXPECT_EQ(TMemo().Text(), "pending");
    Select("Other");
    EXPECT_EQ(ReadFile(document), "pending");
    Form().TreeView1->SetSelected(Form().TreeView1->TopItem(2));
    EXPECT_EQ(TMemo().Text(), "pending");

    Form().Close1->Click();
    Form().MenuModifyLink->Click();  // no node: no dialog
    EXPECT_EQ(desktop.ModalRuns().size(), 2u);
}

TEST_F(TaskNotesTest, DroppedFilesBecomeLinkedNodes)
{
    std::string plan = OpenTasks("Plan.ini", "Plan\r\n");
    std::string doc = folder.Write("Docs/Plan.doc", "doc\nbody");
    std::string bare = folder.Write("Docs/README", "readme");
    std::string notes = folder.Write("Docs/notes.txt", "notes");
    platform::HDROP drop = platform::CreateDrop({doc, bare, notes});
    EXPECT_TRUE(platform::AcceptsDroppedFiles(Form().Handle()));
    tk::Message message{Form().Handle(), platform::WM_DROPFILES, drop, 0};
    tk::Application::Instance().DispatchMessage(message);

    EXPECT_EQ(TreeText(), "Plan\r\nPlan\r\nREADME\r\nnotes\r\n");
    EXPECT_EQ(MessageTexts(), (Lines{"File Dropped Start", "File Dropped End", "File Dropped Start",
                                     "File Dropped End", "File Dropped Start", "File Dropped End"}));
    EXPECT_EQ(Link(plan, "Plan"), doc);
    EXPECT_EQ(Link(plan, "README"), bare);
    EXPECT_EQ(Link(plan, "notes"), notes);
    EXPECT_EQ(TMemo().Text(), "notes");
    EXPECT_EQ(platform::LiveDropCount(), 0u);
    // Shown but not typed into: not written back.
    Select("Plan");
    EXPECT_EQ(TMemo().Text(), "doc\r\nbody");
    EXPECT_EQ(ReadFile(doc), "doc\nbody");

    // A file that cannot be read stops the drop after its node; the handle is still released.
    desktop.ClearRecords();
    std::string missing = HostFile("Docs/missing.txt");
    platform::HDROP second = platform::CreateDrop({missing, notes});
    tk::Message again{Form().Handle(), platform::WM_DROPFILES, second, 0};
    tk::Application::Instance().DispatchMessage(again);
    EXPECT_EQ(TreeText(), "Plan\r\nPlan\r\nREADME\r\nnotes\r\nmissing\r\n");
    EXPECT_EQ(MessageTexts(), (Lines{"File Dropped Start", "ﾌｧｲﾙ " + missing + " は開けません"}));
    EXPECT_EQ(Link(plan, "missing"), "");
    EXPECT_EQ(platform::LiveDropCount(), 0u);

    // The memo saved to a file of its own, unchanged; the link stays.
    desktop.QueueDialog(HostFile("Saved.txt"));
    Form().SaveMemoItem->Click();
    EXPECT_EQ(ReadFile(HostFile("Saved.txt")), TMemo().Text());

    // The window's hook goes with it, and the window is no drop target any more.
    uintptr_t handle = Form().Handle();
    Form().Close();
    tk::Application::Instance().ProcessMessages();
    EXPECT_FALSE(platform::AcceptsDroppedFiles(handle));
    EXPECT_FALSE(tk::Application::Instance().OnMessage);
}

}  // namespace
