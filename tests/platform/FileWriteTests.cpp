#include "platform/FileWrite.h"
#include "platform/FilePath.h"

#include "support/TempFolder.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace platform;

namespace {

bool IsFifo(const std::string& fileName)
{
    struct stat info {};
    return lstat(fileName.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A name the system takes, but too long to have the writer's temporary name beside it.
std::string LongName(const std::string& extension)
{
    return std::string(250 - extension.size(), 'F') + extension;
}

}  // namespace

TEST(FileWrite, LinksLeadToTheFileReplacedAndSpecialFilesAreRefused)
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

    // Followed through a chain of relative links, the file at the end is replaced with its
    // permissions, and the links stay links.
    std::string target = folder.Write("dir/target.pas", "old");
    chmod(target.c_str(), 0640);
    ASSERT_EQ(symlink("dir/target.pas", (folder / "second").c_str()), 0);
    ASSERT_EQ(symlink("second", (folder / "first.pas").c_str()), 0);
    EXPECT_TRUE(WriteFileReplacing(folder / "first.pas", "new", error)) << error;
    EXPECT_EQ(TempFolder::Read(target), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "first.pas"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "second"));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A link to a file not made yet makes that file.
    ASSERT_EQ(symlink("dir/later.pas", (folder / "dangling.pas").c_str()), 0);
    EXPECT_TRUE(WriteFileReplacing(folder / "dangling.pas", "made", error)) << error;
    EXPECT_EQ(TempFolder::Read(folder / "dir/later.pas"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling.pas"));

    ASSERT_EQ(symlink("loop.b", (folder / "loop.a").c_str()), 0);
    ASSERT_EQ(symlink("loop.a", (folder / "loop.b").c_str()), 0);
    EXPECT_FALSE(WriteFileReplacing(folder / "loop.a", "x", error));
    EXPECT_EQ(error, folder / "loop.a" + ": Too many levels of symbolic links");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "loop.a"));

    std::string fifo = folder / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileReplacing(fifo, "x", error));
    EXPECT_EQ(error, fifo + ": not a regular file");
    EXPECT_TRUE(IsFifo(fifo));
    std::string toFifo = folder / "CodeIni.Ini";
    ASSERT_EQ(symlink(fifo.c_str(), toFifo.c_str()), 0);
    EXPECT_FALSE(WriteFileReplacing(toFifo, "x", error));
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(toFifo));
    std::filesystem::create_directory(folder / "dir2");
    EXPECT_FALSE(WriteFileReplacing(folder / "dir2", "x", error));
    EXPECT_EQ(error, folder / "dir2" + ": Is a directory");

    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::string socketName = folder / "socket";
    ASSERT_LT(socketName.size(), sizeof address.sun_path);
    socketName.copy(address.sun_path, socketName.size());
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(WriteFileReplacing(socketName, "x", error));
    EXPECT_EQ(error, socketName + ": not a regular file");
    EXPECT_TRUE(std::filesystem::is_socket(socketName));
    close(listener);
    EXPECT_FALSE(WriteFileReplacing("/dev/null", "x", error));
    EXPECT_EQ(error, "/dev/null: not a regular file");
}

TEST(FileWrite, OpenDescriptorsAreWrittenWhereTheyStand)
{
    TempFolder folder;
    std::string error;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_TRUE(WriteFileReplacing("/proc/self/fd/" + std::to_string(pipeEnds[1]), "through the pipe", error)) << error;
    close(pipeEnds[1]);
    std::string piped;
    ASSERT_TRUE(ReadToEnd(pipeEnds[0], 0, piped, error)) << error;
    close(pipeEnds[0]);
    EXPECT_EQ(piped, "through the pipe");

    // A log opened to append keeps what it held, and stays the same file.
    std::string log = folder.Write("important.log", "kept\n");
    struct stat before {};
    ASSERT_EQ(stat(log.c_str(), &before), 0);
    int appended = open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(appended, 0);
    EXPECT_TRUE(WriteFileReplacing("/dev/fd/" + std::to_string(appended), "added\n", error)) << error;
    close(appended);
    EXPECT_EQ(TempFolder::Read(log), "kept\nadded\n");
    struct stat after {};
    ASSERT_EQ(stat(log.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(FilesIn(folder.Path()), (std::set<std::string>{"important.log"}));

    int closed = open("/dev/null", O_RDONLY);
    close(closed);
    EXPECT_FALSE(WriteFileReplacing("/proc/self/fd/" + std::to_string(closed), "x", error));
    EXPECT_EQ(error, "/proc/self/fd/" + std::to_string(closed) + ": Bad file descriptor");
}

TEST(FileWrite, StaleTemporariesOfThisUsersWritersGoWhenTheFileIsWritten)
{
    TempFolder folder;
    std::string unit = folder.Write("Unit.pas", "old");
    std::set<std::string> kept = {"Unit.pas",           "Unit.pas.backup",         "Unit.pas.quorlin-abc",
                                  "Unit.pas.quorlin-abcdefg", "Unit.pas.quorlin-ab-def", "Other.pas.quorlin-aB3xY9",
                                  "xUnit.pas.quorlin-aB3xY9"};
    for (const std::string& name : kept) {
        if (name != "Unit.pas")
            folder.Write(name, "");
    }
    folder.Write("Unit.pas.quorlin-aB3xY9", "left by a killed writer");
    folder.Write("Unit.pas.quorlin-000000", "");
    std::filesystem::create_directory(folder / "Unit.pas.quorlin-folder");
    kept.insert("Unit.pas.quorlin-folder");
    // Another user's, where this test may give a file away.
    std::string foreign = folder.Write("Unit.pas.quorlin-other1", "");
    if (chown(foreign.c_str(), 65534, 65534) == 0)
        kept.insert("Unit.pas.quorlin-other1");

    std::string error;
    ASSERT_TRUE(WriteFileReplacing(unit, "new", error)) << error;
    EXPECT_EQ(FilesIn(folder.Path()), kept);

    folder.Write("Unit.pas.quorlin-zZ9zZ9", "");
    RemoveStaleTemporaries(unit);
    EXPECT_EQ(FilesIn(folder.Path()), kept);
}

TEST(FileWrite, FilesWrittenTogetherChangeTogether)
{
    TempFolder folder;
    std::string unit = folder.Write("U.pas", "unit U;");
    std::string form = folder.Write("U.dfm", "object Form1");
    std::string error;
    EXPECT_TRUE(WriteFilesTogether({{unit, "unit U; { renamed }"}, {form, "object Main"}}, error)) << error;
    EXPECT_EQ(TempFolder::Read(unit), "unit U; { renamed }");
    EXPECT_EQ(TempFolder::Read(form), "object Main");

    // The form leads to a file whose temporary cannot be made: the unit stays as it was.
    std::string far = folder.Write(LongName(".dfm"), "object Main");
    std::filesystem::remove(form);
    ASSERT_EQ(symlink(far.c_str(), form.c_str()), 0);
    EXPECT_FALSE(WriteFilesTogether({{unit, "unit U; { again }"}, {form, "object Again"}}, error));
    EXPECT_EQ(error, far + ": File name too long");
    EXPECT_EQ(TempFolder::Read(unit), "unit U; { renamed }");
    EXPECT_EQ(TempFolder::Read(far), "object Main");
    EXPECT_EQ(FilesIn(folder.Path()), (std::set<std::string>{"U.pas", "U.dfm", LongName(".dfm")}));

    // A special file among them leaves every file as it was.
    std::filesystem::remove(form);
    ASSERT_EQ(mkfifo(form.c_str(), 0600), 0);
    EXPECT_FALSE(WriteFilesTogether({{unit, "unit U; { again }"}, {form, "object Again"}}, error));
    EXPECT_EQ(error, form + ": not a regular file");
    EXPECT_EQ(TempFolder::Read(unit), "unit U; { renamed }");
}
