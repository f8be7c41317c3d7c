#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <pthread.h>
#include <random>

#include "TaskFixture.h"
#include "platform/IniFile.h"
#include "tasks/TaskDetail.h"

namespace {

using Lines = std::vector<std::string>;

class TaskFileTest : public TaskFixture {};

// Runs work on a thread with a small stack, so that recursion as deep as a tree overflows it.
void OnSmallStack(const std::function<void()>& work)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 128 * 1024);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST_F(TaskFileTest, SavedTreeHasOneTabIndentedLinePerNodeAndReadsBackTheSame)
{
    tk::TreeView& tree = *Form().TreeView1;
    tk::TreeNode* a = tree.AddChild(nullptr, "A");
    tree.AddChild(a, "B");
    tree.AddChild(tree.AddChild(a, "K"), "M");
    tree.AddChild(nullptr, "E");
    std::string fileName = HostFile("Plan.ini");
    desktop.QueueDialog(fileName);
    Form().SaveAs1->Click();
    const std::string expected = "A\r\n\tB\r\n\tK\r\n\t\tM\r\nE\r\n";
    EXPECT_EQ(ReadFile(fileName), expected);

    desktop.QueueDialog(fileName);
    Form().K1->Click();
    EXPECT_EQ(TreeText(), expected);
    EXPECT_EQ(Form().TaskFileName, fileName);
    EXPECT_EQ(tree.Selected(), tree.TopItem(0));
    for (tk::TreeNode* node : tree.AllNodes())
        EXPECT_FALSE(node->Expanded()) << node->Text();

    // Spaces count as levels too, and every kind of line break ends a line.
    OpenTasks("Mixed.ini", "A\n B\r  C\r\n\tD\n\nE");
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\t\tC\r\n\tD\r\n\r\nE\r\n");

    // An empty tree is an empty file.
    Form().Close1->Click();
    Form().Save1->Click();
    EXPECT_EQ(ReadFile(HostFile("Mixed.ini")), "");
}

TEST_F(TaskFileTest, RandomTreesSurviveSaveAndRead)
{
    std::mt19937 random(20261206);
    tk::TreeView& tree = *Form().TreeView1;
    for (int round = 0; round < 20; ++round) {
        Form().Close1->Click();
        std::vector<tk::TreeNode*> nodes;
        int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            tk::TreeNode* parent = nodes.empty() || random() % 3 == 0 ? nullptr : nodes[random() % nodes.size()];
            // Texts with CP932 characters, '~', '=' and inner spaces, but no outer blanks.
            std::string text = "n" + std::to_string(i) + (random() % 2 ? " 表~=x" : "");
            nodes.push_back(tree.AddChild(parent, text));
        }
        std::string saved = TreeText();
        std::string fileName = HostFile("Random" + std::to_string(round) + ".ini");
        desktop.QueueDialog(fileName);
        Form().SaveAs1->Click();
        OpenTasks("Random" + std::to_string(round) + ".ini", ReadFile(fileName));
        EXPECT_EQ(TreeText(), saved) << "round " << round;
        EXPECT_EQ(tree.AllNodes().size(), nodes.size());
    }
}

TEST_F(TaskFileTest, TooDeepLineStopsReadingWithTheNodesBeforeIt)
{
    OpenTasks("Deep.ini", "A\r\n\t\tB\r\nC\r\n");
    EXPECT_EQ(TreeText(), "A\r\n");
    EXPECT_EQ(MessageTexts(), (Lines{"ｱｲﾃﾑ \"B\" の階層が不正です"}));

    // Four spaces are four levels, not one.
    desktop.ClearRecords();
    OpenTasks("Spaces.ini", "A\r\n    B\r\n");
    EXPECT_EQ(TreeText(), "A\r\n");
    EXPECT_EQ(MessageTexts(), (Lines{"ｱｲﾃﾑ \"B\" の階層が不正です"}));

    // The first line is a top-level node whatever its level, and the next lines go by the depth
    // of the node before them; a shallower line goes up.
    OpenTasks("First.ini", "\t\tA\r\n\tB\r\n\t\tC\r\n\t\t\tD\r\nE\r\n");
    EXPECT_EQ(TreeText(), "A\r\n\tB\r\n\t\tC\r\n\t\t\tD\r\nE\r\n");
    desktop.ClearRecords();
    OpenTasks("Indented.ini", "\t\tA\r\n\t\tB\r\n");
    EXPECT_EQ(TreeText(), "A\r\n");
    EXPECT_EQ(MessageTexts(), (Lines{"ｱｲﾃﾑ \"B\" の階層が不正です"}));

    desktop.ClearRecords();
    Form().K1->Click();  // cancelled
    desktop.QueueDialog(HostFile("Missing.ini"));
    Form().K1->Click();
    EXPECT_EQ(Form().TaskFileName, HostFile("Missing.ini"));
    EXPECT_EQ(TreeText(), "");
    EXPECT_EQ(MessageTexts(), (Lines{"ﾌｧｲﾙ " + HostFile("Missing.ini") + " は開けません"}));
    EXPECT_EQ(tk::Application::Instance().GetCursor(), tk::Cursor::Default);
}

TEST_F(TaskFileTest, TaskFileReadOnlyInPartIsNotSavedOverWithoutTheUsersYes)
{
    const std::string text = "A\r\n\t\tB\r\nC\r\nD\r\n";
    std::string deep = OpenTasks("Deep.ini", text);
    EXPECT_EQ(TreeText(), "A\r\n");
    desktop.ClearRecords();
    desktop.QueueMessageAnswer(tk::IDNO);
    Form().Save1->Click();
    EXPECT_EQ(ReadFile(deep), text);
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_EQ(desktop.Messages()[0].Flags & 0x0F, tk::MB_YESNO) << desktop.Messages()[0].Text;
    // Closing the tree changes nothing; a copy elsewhere is written without a question.
    Form().Close1->Click();
    desktop.QueueMessageAnswer(tk::IDNO);
    Form().Save1->Click();
    EXPECT_EQ(ReadFile(deep), text);
    desktop.QueueDialog(HostFile("Copy.ini"));
    Form().SaveAs1->Click();
    EXPECT_EQ(ReadFile(HostFile("Copy.ini")), "");
    EXPECT_EQ(desktop.Messages().size(), 2u);
    // Yes writes the tree shown; from then on the file holds it all and saves ask no more.
    Form().TreeView1->AddChild(nullptr, "New");
    Form().Save1->Click();
    EXPECT_EQ(ReadFile(deep), "New\r\n");
    Form().Save1->Click();
    EXPECT_EQ(desktop.Messages().size(), 3u);

    // A task file that is there but cannot be read is not replaced by an empty tree either.
    std::filesystem::create_directory(HostFile("Folder.ini"));
    desktop.QueueDialog(HostFile("Folder.ini"));
    Form().K1->Click();
    desktop.ClearRecords();
    desktop.QueueMessageAnswer(tk::IDNO);
    Form().Save1->Click();
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_EQ(desktop.Messages()[0].Flags & 0x0F, tk::MB_YESNO) << desktop.Messages()[0].Text;
    // Opening another file or starting a new one leaves the question behind.
    OpenTasks("Whole.ini", "W\r\n");
    desktop.ClearRecords();
    Form().Save1->Click();
    EXPECT_EQ(ReadFile(HostFile("Whole.ini")), "W\r\n");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(TaskFileTest, TaskFileNamedTxtKeepsItsDetailsInAFileOfItsOwn)
{
    EXPECT_EQ(quorlin::TaskDetailFileName("/w/Plan.ini"), "/w/Plan.txt");
    EXPECT_EQ(quorlin::TaskDetailFileName("NoName"), "NoName.txt");
    EXPECT_EQ(quorlin::TaskDetailFileName("/w/Plan.txt"), "/w/Plan.txt.txt");
    EXPECT_EQ(quorlin::TaskDetailFileName("/w/Plan.TXT"), "/w/Plan.TXT.txt");

    std::string plan = OpenTasks("Plan.txt", "A\r\nB\r\n");
    WriteFile("a.txt", "a notes");
    Form().SetLinkedFileName("A", HostFile("a.txt"));
    for (int save = 0; save < 2; ++save)
        Form().Save1->Click();
    EXPECT_EQ(ReadFile(plan), "A\r\nB\r\n");
    OpenTasks("Plan.txt", ReadFile(plan));
    EXPECT_EQ(TreeText(), "A\r\nB\r\n");
    EXPECT_EQ(TMemo().Text(), "a notes");

    // Nor is a task file saved over its detail file, or its detail file over the task file.
    OpenTasks("Work.ini", "W\r\n");
    std::string details = WriteFile("Work.txt", "[FileLocation]\r\nW=/w.txt\r\n");
    desktop.ClearRecords();
    desktop.QueueDialog(details);
    Form().SaveAs1->Click();
    EXPECT_EQ(ReadFile(details), "[FileLocation]\r\nW=/w.txt\r\n");
    OpenTasks("Plan.txt", ReadFile(plan));
    desktop.QueueDialog(HostFile("Plan.ini"));
    Form().SaveAs1->Click();
    EXPECT_EQ(ReadFile(plan), "A\r\nB\r\n");
    EXPECT_FALSE(std::filesystem::exists(HostFile("Plan.ini")));
    EXPECT_EQ(desktop.Messages().size(), 2u);
}

TEST_F(TaskFileTest, DeepTreeIsReadShownAndSavedWithoutRecursion)
{
    const int levels = 5000;
    std::string text;
    for (int level = 0; level < levels; ++level)
        text += std::string(static_cast<size_t>(level), '\t') + "n" + std::to_string(level) + "\r\n";
    text += "last\r\n";
    std::string deep = WriteFile("Deep.ini", text);
    Form();
    OnSmallStack([&] {
        desktop.QueueDialog(deep);
        Form().K1->Click();
        tk::TreeView& tree = *Form().TreeView1;
        ASSERT_EQ(tree.TopCount(), 2);
        EXPECT_EQ(tree.AllNodes()[levels - 1]->Level(), levels - 1);
        Form().FullExpand1->Click();
        EXPECT_EQ(tree.ShownNodes().size(), static_cast<size_t>(levels + 1));
        // Shift+Enter opens the selected node with everything below it.
        Form().FullCollapse1->Click();
        TreeKey(tk::VK_RETURN, tk::ssShift);
        EXPECT_TRUE(tree.AllNodes()[levels - 2]->Expanded());
        TreeKey(tk::VK_DELETE);
        // The deepest branch dragged to the top level takes its own depths along.
        tree.MoveTo(tree.AllNodes()[levels - 2], nullptr, 0);
        EXPECT_EQ(tree.AllNodes()[1]->Level(), 1);
        tree.MoveTo(tree.TopItem(0), tree.AllNodes()[levels - 1], 0);
        Form().Save1->Click();
        EXPECT_EQ(ReadFile(deep), text);
        Form().Close1->Click();
        EXPECT_EQ(tree.TopCount(), 0);
    });
}

TEST_F(TaskFileTest, SaveCarriesDetailNotesOverAndSaveAsLeavesTheOpenFile)
{
    WriteFile("Old.txt", "[FileLocation]\r\nA=/somewhere/a.txt\r\n[詳細]\r\nA=a1~a2~\r\nGone=x~\r\n");
    std::string old = OpenTasks("Old.ini", "A\r\nB\r\n");
    std::string copy = HostFile("Copy.ini");
    desktop.QueueDialog(copy);
    Form().SaveAs1->Click();
    EXPECT_EQ(Form().TaskFileName, old);
    EXPECT_EQ(ReadFile(HostFile("Copy.txt")), "[詳細]\r\nA=a1~a2~\r\nB=\r\n");

    Form().TreeView1->AddChild(nullptr, "C");
    Form().Save1->Click();
    EXPECT_EQ(ReadFile(old), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(ReadFile(copy), "A\r\nB\r\n");
    platform::IniFile detail(HostFile("Old.txt"));
    EXPECT_EQ(detail.ReadString("FileLocation", "A", ""), "/somewhere/a.txt");
    EXPECT_EQ(detail.ReadString("詳細", "Gone", ""), "x~");
    EXPECT_TRUE(detail.ValueExists("詳細", "C"));

    // A note longer than one read shows cut, but a save keeps all of it.
    std::string longNote;
    for (int i = 0; i < 300; ++i)
        longNote += "line~";
    {
        platform::IniFile writer(HostFile("Old.txt"));
        writer.WriteString("詳細", "B", longNote);
    }
    Select("B");
    EXPECT_EQ(TMemo().Lines().Count(), 1023 / 5);
    Form().Save1->Click();
    EXPECT_EQ(platform::IniFile(HostFile("Old.txt")).ReadString("詳細", "B", ""), longNote);
}

TEST_F(TaskFileTest, WindowReopensThePreviousTaskFileAndKeepsTheTreeWidth)
{
    std::string plan = OpenTasks("Plan.ini", "One\r\nTwo\r\n");
    Form().TreeView1->SetWidth(140);
    Form().Close();
    tk::Application::Instance().ProcessMessages();
    EXPECT_EQ(quorlin::CodeForm, nullptr);

    quorlin::TCodeForm& again = Form();
    EXPECT_EQ(again.TaskFileName, plan);
    EXPECT_EQ(TreeText(), "One\r\nTwo\r\n");
    EXPECT_EQ(again.TreeView1->Selected(), again.TreeView1->TopItem(0));
    EXPECT_EQ(again.TreeView1->Width(), 140);
}

}  // namespace
