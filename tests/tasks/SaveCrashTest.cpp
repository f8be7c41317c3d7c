// Processes that save the same task file over and over are killed at random moments: the task file
// and its detail file are always one whole version, never a torn one.

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "TaskFixture.h"
#include "platform/IniFile.h"

namespace {

class SaveCrashTest : public TaskFixture {};

// Every child saves a tree of its own, of its own size.
std::string TreeOfChild(int child)
{
    std::string text;
    for (int i = 0; i < 40 + child * 25; ++i)
        text += std::string(static_cast<size_t>(i % 3), '\t') + "child " + std::to_string(child) + " item " +
                std::to_string(i) + "\r\n";
    return text;
}

TEST_F(SaveCrashTest, KilledSavesLeaveAWholeFile)
{
    constexpr int Children = 4;
    std::string target = HostFile("Shared.ini");
    std::set<std::string> versions;
    std::set<std::string> nodeTexts;
    for (int child = 0; child < Children; ++child) {
        versions.insert(TreeOfChild(child));
        for (int i = 0; i < 40 + child * 25; ++i)
            nodeTexts.insert("child " + std::to_string(child) + " item " + std::to_string(i));
    }
    OpenTasks("Shared.ini", TreeOfChild(0));

    std::mt19937 random(1206);
    for (int round = 0; round < 5; ++round) {
        std::vector<pid_t> pids;
        for (int child = 0; child < Children; ++child) {
            pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                Form().OpenTaskFile(WriteFile("Child" + std::to_string(child) + ".ini", TreeOfChild(child)));
                Form().TaskFileName = target;
                for (;;)
                    Form().Save1->Click();
            }
            pids.push_back(pid);
        }
        for (pid_t pid : pids) {
            usleep(2000 + random() % 20000);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            std::string text = ReadFile(target);
            EXPECT_EQ(versions.count(text), 1u) << "round " << round << ": " << text.size() << " bytes";
            platform::IniFile detail(HostFile("Shared.txt"));
            for (const std::string& key : detail.ReadSection("詳細"))
                EXPECT_EQ(nodeTexts.count(key), 1u) << "round " << round << ": note " << key;
        }
    }
}

}  // namespace
