#include "platform/FilePath.h"

#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

using namespace platform;

TEST(FilePath, Pieces)
{
    EXPECT_TRUE(IsPathDelimiter('/'));
    EXPECT_TRUE(IsPathDelimiter('\\'));
    EXPECT_FALSE(IsPathDelimiter(':'));

    EXPECT_EQ(ExtractFilePath("/home/u/a.pas"), "/home/u/");
    EXPECT_EQ(ExtractFilePath("D:\\Work\\Plan.ini"), "D:\\Work\\");
    EXPECT_EQ(ExtractFilePath("D:Plan.ini"), "D:");
    EXPECT_EQ(ExtractFilePath("Plan.ini"), "");
    EXPECT_EQ(ExtractFileName("/home/u/a.pas"), "a.pas");
    EXPECT_EQ(ExtractFileName("D:\\Work/Plan.ini"), "Plan.ini");
    EXPECT_EQ(ExtractFileName("folder/"), "");
    // "表" ends in 0x5C, which is no separator there.
    EXPECT_EQ(ExtractFilePath("/d/\x95\x5C.pas"), "/d/");
    EXPECT_EQ(ExtractFileName("/d/\x95\x5C.pas"), "\x95\x5C.pas");

    EXPECT_EQ(ExtractFileExt("Plan.ini"), ".ini");
    EXPECT_EQ(ExtractFileExt("a.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/my.dir/file"), "");
    EXPECT_EQ(ExtractFileExt("C:\\my.dir\\file"), "");
    EXPECT_EQ(ExtractFileExt("x.y:file"), "");
    EXPECT_EQ(ExtractFileExt("file."), ".");
    EXPECT_EQ(ExtractFileExt(".profile"), ".profile");
    EXPECT_EQ(ExtractFileExt(""), "");

    EXPECT_EQ(ChangeFileExt("D:\\Work\\Plan.ini", ".txt"), "D:\\Work\\Plan.txt");
    EXPECT_EQ(ChangeFileExt("/w/Plan", ".txt"), "/w/Plan.txt");
    EXPECT_EQ(ChangeFileExt("/w.x/Plan", ".txt"), "/w.x/Plan.txt");
    EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");

    EXPECT_EQ(IncludeTrailingPathDelimiter("/w"), "/w/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/w/"), "/w/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\w\\"), "C:\\w\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/\x95\x5C"), "/\x95\x5C/");
}

TEST(FilePath, ExistsTellsFilesFromFolders)
{
    TempFolder temp;
    std::string file = temp.Path() + "/a.txt";
    EXPECT_FALSE(FileExists(file));
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(temp.Path()));
    EXPECT_FALSE(FileExists(temp.Path()));
    EXPECT_FALSE(DirectoryExists(temp.Path() + "/missing"));
    EXPECT_FALSE(FileExists(""));
}

// A read may answer fewer bytes than asked anywhere in a file (Linux answers at most 0x7ffff000 a
// call): only an answer of 0 ends it. A pipe answers what it holds, so its writer decides here.
TEST(FilePath, ReadingGoesOnUntilTheEndWhateverEachReadAnswers)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], "first ", 6), 6);
    std::string content;
    std::string reason;
    bool read = false;
    std::thread reader([&] { read = ReadToEnd(ends[0], 100, content, reason); });
    // The second part is written only once the reader has had the first, in a read of its own.
    for (int pending = 1; pending > 0;) {
        ASSERT_EQ(ioctl(ends[1], FIONREAD, &pending), 0);
        std::this_thread::yield();
    }
    ASSERT_EQ(write(ends[1], "second", 6), 6);
    close(ends[1]);
    reader.join();
    close(ends[0]);
    EXPECT_TRUE(read) << reason;
    EXPECT_EQ(content, "first second");

    // A file whose bytes are not as many as its size says is not taken for whole.
    std::string text = "unchanged";
    EXPECT_FALSE(ReadWholeFile("/proc/self/status", text, reason));
    EXPECT_EQ(reason, "the file changed while it was read");
    EXPECT_EQ(text, "unchanged");
}
