// The task file and the memo's text saved through links to the files they lead to, and never over
// a FIFO.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TaskFixture.h"

namespace {

class TaskFileTargetsTest : public TaskFixture {};

TEST_F(TaskFileTargetsTest, SavesGoThroughLinksAndNeverOverSpecialFiles)
{
    std::filesystem::create_directory(HostFile("real"));
    std::filesystem::create_symlink("real/Plan.ini", HostFile("Plan.ini"));
    std::filesystem::create_symlink("real/notes.txt", HostFile("notes.txt"));
    Form().TreeView1->AddChild(nullptr, "A");
    desktop.QueueDialog(HostFile("Plan.ini"));
    Form().SaveAs1->Click();
    EXPECT_TRUE(std::filesystem::is_symlink(HostFile("Plan.ini")));
    EXPECT_EQ(ReadFile(HostFile("real/Plan.ini")), "A\r\n");

    TMemo().SetText("typed");
    desktop.QueueDialog(HostFile("notes.txt"));
    Form().SaveMemoItem->Click();
    EXPECT_TRUE(std::filesystem::is_symlink(HostFile("notes.txt")));
    EXPECT_EQ(ReadFile(HostFile("real/notes.txt")), "typed");
    EXPECT_TRUE(MessageTexts().empty());

    std::string fifo = HostFile("fifo.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    desktop.QueueDialog(fifo);
    Form().SaveMemoItem->Click();
    desktop.QueueDialog(fifo);
    Form().SaveAs1->Click();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"ﾌｧｲﾙ " + fifo + " を作成できません",
                                                        "ﾌｧｲﾙ " + fifo + " を作成できません"}));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

}  // namespace
