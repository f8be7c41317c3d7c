#include <gtest/gtest.h>

#include <random>

#include "TaskFixture.h"
#include "platform/IniFile.h"
#include "tasks/TaskDetail.h"

namespace {

using Lines = std::vector<std::string>;

class TaskFileTest : public TaskFixture {};

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
