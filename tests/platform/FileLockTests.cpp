#include "platform/FileLock.h"
#include "platform/IniFile.h"

#include "support/BusParticipant.h"
#include "support/ChildProcesses.h"
#include "support/TempFolder.h"
#include "support/Watchdog.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

bool Exists(const std::string& fileName)
{
    struct stat info {};
    return lstat(fileName.c_str(), &info) == 0;
}

}  // namespace

TEST(FileLock, ReadChangeWritesOfSeveralProcessesLoseNothing)
{
    PrivateRuntimeFolder runtime;
    TempFolder folder;
    std::string fileName = folder / "Quorlin.Dat";
    constexpr int processes = 8;
    constexpr int writes = 20;
    RunInChildren(processes, [&](int p) {
        // Each write appends under the next free key, as the history lists do.
        for (int i = 0; i < writes; ++i) {
            IniFile ini(fileName);
            std::string key = std::to_string(ini.ReadSection("List").size());
            ini.WriteString("List", key, std::to_string(p) + "-" + std::to_string(i));
        }
        return 0;
    });
    IniFile ini(fileName);
    std::set<std::string> values;
    for (const std::string& key : ini.ReadSection("List"))
        values.insert(ini.ReadString("List", key, ""));
    EXPECT_EQ(values.size(), static_cast<size_t>(processes * writes));
}

TEST(FileLock, HoldersInOneProcessShareTheLock)
{
    PrivateRuntimeFolder runtime;
    TempFolder folder;
    std::string fileName = folder / "CodeIni.Ini";
    FileLock outer(fileName);
    ASSERT_TRUE(outer.Held());
    {
        FileLock inner(fileName);  // would wait for ever if it were a lock of its own
        EXPECT_TRUE(inner.Held());
    }
    // Another process cannot take it while one holder is left.
    pid_t child = fork();
    if (child == 0) {
        int fd = open(LockFileName(fileName).c_str(), O_RDWR);
        _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FileLock, LockFilesStayOutOfTheUsersFolders)
{
    PrivateRuntimeFolder runtime;
    TempFolder folder;
    std::string fileName = folder.Write("Tasks.txt", "");
    std::string link = folder / "Link.txt";
    ASSERT_EQ(symlink("Tasks.txt", link.c_str()), 0);
    std::filesystem::create_directory(folder / "sub");
    std::string lockName = LockFileName(fileName);
    EXPECT_EQ(lockName.rfind(runtime.Path() + "/quorlin/.locks/", 0), 0u) << lockName;
    EXPECT_EQ(LockFileName(link), lockName) << "two names of one file share its lock";
    EXPECT_EQ(LockFileName(folder / "sub/../Tasks.txt"), lockName);
    EXPECT_NE(LockFileName(folder / "Tasks.ini"), lockName);
    {
        FileLock lock(link);
        EXPECT_TRUE(lock.Held());
        EXPECT_TRUE(Exists(lockName));
    }
    EXPECT_FALSE(Exists(lockName)) << "the last holder removes it";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);
}

TEST(FileLock, SomethingElseAtTheLockFilesPlaceIsRefused)
{
    Watchdog watchdog;
    PrivateRuntimeFolder runtime;
    TempFolder folder;
    std::string fileName = folder / "Quorlin.Dat";
    std::string lockName = LockFileName(fileName);
    ASSERT_EQ(mkfifo(lockName.c_str(), 0600), 0);
    {
        FileLock lock(fileName);
        EXPECT_FALSE(lock.Held());
    }
    struct stat info {};
    ASSERT_EQ(lstat(lockName.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "left as it was";

    unlink(lockName.c_str());
    std::string elsewhere = folder.Write("elsewhere", "");
    ASSERT_EQ(symlink(elsewhere.c_str(), lockName.c_str()), 0);
    EXPECT_FALSE(FileLock(fileName).Held());
    EXPECT_TRUE(std::filesystem::is_symlink(lockName));
}
