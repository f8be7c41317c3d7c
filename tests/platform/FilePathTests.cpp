#include "platform/FilePath.h"

#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>

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
