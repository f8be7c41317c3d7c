#include "platform/FileLock.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "platform/IniFile.h"
#include "platform/RegularFile.h"

#include "support/TempFolder.h"

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

// Kills the test program instead of letting a blocked open hang the run.
class Watchdog {
public:
    Watchdog() { alarm(20); }
    ~Watchdog() { alarm(0); }
};

bool IsFifo(const std::string& fileName)
{
    struct stat info {};
    return lstat(fileName.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

}  // namespace

TEST(RegularFile, SpecialFilesAreRefusedAtOnceWithAReason)
{
    Watchdog watchdog;
    TempFolder folder;
    std::string fifo = folder / "unit.pas";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string regular = folder.Write("plain.pas", "unit Plain;");

    EXPECT_EQ(UnreadableReason(fifo), "not a regular file");
    EXPECT_EQ(UnreadableReason("/dev/null"), "not a regular file");
    EXPECT_EQ(UnreadableReason(folder.Path()), "Is a directory");
    EXPECT_EQ(UnreadableReason(folder / "missing.pas"), "No such file or directory");
    EXPECT_EQ(UnreadableReason(regular), "");

    std::string text = "unchanged";
    EXPECT_FALSE(ReadWholeFile(fifo, text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(ReadWholeFile(regular, text));
    EXPECT_EQ(text, "unit Plain;");

    // Opening to write waits for no reader either, and truncates nothing that is not a file.
    std::string reason;
    EXPECT_EQ(OpenRegularFile(fifo, O_WRONLY | O_CREAT | O_TRUNC, reason), -1);
    EXPECT_EQ(reason, "not a regular file");
    EXPECT_EQ(OpenRegularFile("/dev/full", O_WRONLY | O_TRUNC, reason), -1);
    off_t size = -1;
    int fd = OpenRegularFile(regular, O_RDONLY, reason, &size);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(size, 11);
    close(fd);

    // A settings file that is a FIFO reads as empty and is never replaced.
    {
        IniFile ini(fifo);
        EXPECT_EQ(ini.ReadString("S", "k", "default"), "default");
        ini.WriteString("S", "k", "v");
        EXPECT_FALSE(ini.UpdateFile());
        EXPECT_NE(ini.ErrorText().find("not a regular file"), std::string::npos) << ini.ErrorText();
    }
    EXPECT_TRUE(IsFifo(fifo));
}

TEST(RegularFile, ReplacingWritesRefuseSpecialFilesAndMayReplaceALink)
{
    TempFolder folder;
    std::string victim = folder.Write("victim.txt", "precious");
    std::string link = folder / "Quorlin.Jmp";
    ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
    std::string error;
    EXPECT_TRUE(WriteFileReplacing(link, "", error, LinkAtName::Replace)) << error;
    EXPECT_EQ(TempFolder::Read(victim), "precious");
    EXPECT_TRUE(FileExists(link));
    EXPECT_EQ(TempFolder::Read(link), "");

    // Followed, a link has the file it points at replaced, unless that is no regular file.
    std::string target = folder.Write("target.ini", "old");
    std::string followed = folder / "Quorlin.Dat";
    ASSERT_EQ(symlink(target.c_str(), followed.c_str()), 0);
    EXPECT_TRUE(WriteFileReplacing(followed, "new", error)) << error;
    EXPECT_EQ(TempFolder::Read(target), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(followed));

    std::string fifo = folder / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileReplacing(fifo, "x", error));
    EXPECT_EQ(error, fifo + ": not a regular file");
    EXPECT_TRUE(IsFifo(fifo));
    std::string toFifo = folder / "CodeIni.Ini";
    ASSERT_EQ(symlink(fifo.c_str(), toFifo.c_str()), 0);
    EXPECT_FALSE(WriteFileReplacing(toFifo, "x", error));
    EXPECT_TRUE(IsFifo(fifo));
    std::filesystem::create_directory(folder / "dir");
    EXPECT_FALSE(WriteFileReplacing(folder / "dir", "x", error));
    EXPECT_EQ(error, folder / "dir" + ": Is a directory");
}

TEST(RegularFile, StaleTemporariesOfOneFileAreRemoved)
{
    TempFolder folder;
    std::string jump = folder.Write("Quorlin.Jmp", "[MethodJumpHistory]\r\n");
    for (const char* name : {"Quorlin.Jmp.aB3xY9", "Quorlin.Jmp.000000", "Quorlin.Jmp.lock", "Quorlin.Jmp.abc",
                             "Quorlin.Jmp.abcdefg", "Quorlin.Jmp.ab-def", "Quorlin.Dat.aB3xY9", "xQuorlin.Jmp.aB3xY9"})
        folder.Write(name, "");
    RemoveStaleTemporaries(jump);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"Quorlin.Jmp", "Quorlin.Jmp.lock", "Quorlin.Jmp.abc", "Quorlin.Jmp.abcdefg",
                                           "Quorlin.Jmp.ab-def", "Quorlin.Dat.aB3xY9", "xQuorlin.Jmp.aB3xY9"}));
}

TEST(FileLock, ReadChangeWritesOfSeveralProcessesLoseNothing)
{
    TempFolder folder;
    std::string fileName = folder / "Quorlin.Dat";
    constexpr int processes = 8;
    constexpr int writes = 20;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        pid_t child = fork();
        if (child == 0) {
            // Each write appends under the next free key, as the history lists do.
            for (int i = 0; i < writes; ++i) {
                IniFile ini(fileName);
                std::string key = std::to_string(ini.ReadSection("List").size());
                ini.WriteString("List", key, std::to_string(p) + "-" + std::to_string(i));
            }
            _exit(0);
        }
        ASSERT_GT(child, 0);
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    IniFile ini(fileName);
    std::set<std::string> values;
    for (const std::string& key : ini.ReadSection("List"))
        values.insert(ini.ReadString("List", key, ""));
    EXPECT_EQ(values.size(), static_cast<size_t>(processes * writes));
}

TEST(FileLock, HoldersInOneProcessShareTheLock)
{
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
        int fd = open((fileName + ".lock").c_str(), O_RDWR);
        _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
