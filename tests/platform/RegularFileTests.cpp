#include "platform/FilePath.h"
#include "platform/IniFile.h"
#include "platform/RegularFile.h"

#include "support/TempFolder.h"
#include "support/Watchdog.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

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
