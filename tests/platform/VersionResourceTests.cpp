// Version blocks made by hand, whole and damaged, looked up as the version reader looks them up.

#include "platform/VersionResource.h"

#include "VersionBlock.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace platform;
using versionblock::Node;

namespace {

versionblock::FixedInfo Fixed()
{
    versionblock::FixedInfo fixed;
    fixed.FileVersion[0] = 1;
    fixed.FileVersion[1] = 3;
    fixed.FileVersion[3] = 128;
    fixed.FlagsMask = 0x3F;
    fixed.Flags = 1;
    fixed.OS = 4;
    fixed.Type = 2;
    return fixed;
}

std::string Block(const std::vector<versionblock::Table>& tables,
                  const std::vector<versionblock::Translation>& translations)
{
    return versionblock::Write(versionblock::VersionInfo(Fixed(), tables, translations));
}

// The value at path, "<missing>" when there is none, with its reported length.
std::pair<std::string, uint32_t> Query(std::string_view block, std::string_view path)
{
    std::string value;
    uint32_t length = 99;
    if (!QueryVersionValue(block, path, value, length)) {
        EXPECT_EQ(length, 0u) << path;
        return {"<missing>", length};
    }
    return {value, length};
}

void Put16(std::string& bytes, size_t offset, uint16_t value)
{
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

size_t FindKey(const std::string& bytes, const std::string& asciiKey)
{
    std::string utf16;
    for (char c : asciiKey) {
        utf16 += c;
        utf16 += '\0';
    }
    size_t at = bytes.find(utf16);
    EXPECT_NE(at, std::string::npos) << asciiKey;
    return at - 6;  // the node starts with its three lengths
}

}  // namespace

TEST(VersionResource, PathsFindTextsTheFixedPartAndTranslations)
{
    std::string block = Block({{"041104b0",
                                {{"CompanyName", "Fallowmere"},
                                 {"FileVersion", "1.3.0.128"},
                                 {"FileDescription", "版管理"},
                                 {"Comments", ""}}}},
                              {{0x0411, 0x04B0}});
    ASSERT_TRUE(IsVersionBlock(block));

    // Parts match whole keys without regard to case; empty parts are skipped.
    EXPECT_EQ(Query(block, "\\StringFileInfo\\041104B0\\FileVersion"), std::make_pair(std::string("1.3.0.128"), 10u));
    EXPECT_EQ(Query(block, "stringfileinfo\\041104b0\\\\COMPANYNAME").first, "Fallowmere");
    EXPECT_EQ(Query(block, "\\StringFileInfo\\041104B0\\File").first, "<missing>");
    EXPECT_EQ(Query(block, "\\StringFileInfo\\041104B0\\FileVersionX").first, "<missing>");
    EXPECT_EQ(Query(block, "\\StringFileInfo\\040904B0\\FileVersion").first, "<missing>");
    // A text comes in code page 932, its length in bytes with the terminating zero.
    EXPECT_EQ(Query(block, "\\StringFileInfo\\041104B0\\FileDescription"),
              std::make_pair(Utf8ToCp932("版管理"), 7u));
    // A text stored without characters has length 0, which readers take as missing.
    EXPECT_EQ(Query(block, "\\StringFileInfo\\041104B0\\Comments"), std::make_pair(std::string(), 0u));

    auto fixed = Query(block, "\\");
    ASSERT_EQ(fixed.second, 52u);
    EXPECT_EQ(fixed.first.substr(0, 4), std::string("\xBD\x04\xEF\xFE", 4));
    EXPECT_EQ(fixed.first.substr(8, 8), std::string("\x03\0\x01\0\x80\0\0\0", 8));  // 1.3.0.128
    EXPECT_EQ(Query(block, "\\VarFileInfo\\Translation"), std::make_pair(std::string("\x11\x04\xB0\x04", 4), 4u));
}

TEST(VersionResource, EmptyTextsStoredWithTheirZeroAndTextsWithoutOne)
{
    std::string block = Block({{"041104B0", {{"Alpha", "x"}, {"Bravo", "yz"}}}}, {{0x0411, 0x04B0}});
    // "x" given a value length of 1: only its zero counted.
    size_t a = FindKey(block, "Alpha");
    std::string zeroOnly = block;
    Put16(zeroOnly, a + 2, 1);
    zeroOnly[a + 20] = '\0';
    EXPECT_EQ(Query(zeroOnly, "StringFileInfo\\041104B0\\Alpha"), std::make_pair(std::string(), 1u));
    // A tool that counts bytes: "yz" with its zero is 6 bytes, more than the node holds as
    // characters; the text still ends at its zero.
    size_t b = FindKey(block, "Bravo");
    std::string counted = block;
    Put16(counted, b + 2, 6);
    EXPECT_EQ(Query(counted, "StringFileInfo\\041104B0\\Bravo").first, "yz");
    // A text whose zero is missing ends where its node ends.
    std::string unterminated = block;
    unterminated[b + 24] = 'w';
    EXPECT_EQ(Query(unterminated, "StringFileInfo\\041104B0\\Bravo").first, "yzw");
}

TEST(VersionResource, SeveralTablesAndTranslationsAreKeptApart)
{
    std::string block = Block({{"040904E4", {{"ProductName", "Quorlin (en)"}}},
                               {"041104B0", {{"ProductName", "Quorlin"}}}},
                              {{0x0411, 0x04B0}, {0x0409, 0x04E4}});
    EXPECT_EQ(Query(block, "\\StringFileInfo\\041104B0\\ProductName").first, "Quorlin");
    EXPECT_EQ(Query(block, "\\StringFileInfo\\040904E4\\ProductName").first, "Quorlin (en)");
    EXPECT_EQ(Query(block, "\\VarFileInfo\\Translation").first, std::string("\x11\x04\xB0\x04\x09\x04\xE4\x04", 8));

    std::string none = Block({{"041104B0", {{"ProductName", "Quorlin"}}}}, {});
    EXPECT_TRUE(IsVersionBlock(none));
    EXPECT_EQ(Query(none, "\\VarFileInfo\\Translation").first, "<missing>");
}

TEST(VersionResource, LyingLengthsHideWhatTheyCover)
{
    std::string block = Block({{"041104B0", {{"CompanyName", "Fallowmere"}, {"ProductName", "Quorlin"}}}},
                              {{0x0411, 0x04B0}});
    // A root longer than the block by more than padding is no block at all; by padding it is one.
    std::string longRoot = block;
    Put16(longRoot, 0, static_cast<uint16_t>(block.size() + 4));
    EXPECT_FALSE(IsVersionBlock(longRoot));
    EXPECT_EQ(Query(longRoot, "\\").first, "<missing>");
    Put16(longRoot, 0, static_cast<uint16_t>(block.size() + 2));
    EXPECT_TRUE(IsVersionBlock(longRoot));

    // A string node that claims more than its table holds ends the search in that table.
    size_t company = FindKey(block, "CompanyName");
    std::string longChild = block;
    Put16(longChild, company, 0x4000);
    EXPECT_EQ(Query(longChild, "\\StringFileInfo\\041104B0\\CompanyName").first, "<missing>");
    EXPECT_EQ(Query(longChild, "\\StringFileInfo\\041104B0\\ProductName").first, "<missing>");
    EXPECT_EQ(Query(longChild, "\\VarFileInfo\\Translation").second, 4u);

    // A length of 0, or one shorter than a node's own header, ends the list there.
    for (uint16_t length : {0, 5}) {
        std::string shortChild = block;
        Put16(shortChild, company, length);
        EXPECT_EQ(Query(shortChild, "\\StringFileInfo\\041104B0\\ProductName").first, "<missing>");
    }

    // A binary value longer than its node is no value.
    size_t translation = FindKey(block, "Translation");
    std::string longValue = block;
    Put16(longValue, translation + 2, 40);
    EXPECT_EQ(Query(longValue, "\\VarFileInfo\\Translation").first, "<missing>");

    // A key without its terminating zero inside its node.
    std::string endlessKey = block;
    Put16(endlessKey, company, 6 + 8);
    EXPECT_EQ(Query(endlessKey, "\\StringFileInfo\\041104B0\\CompanyName").first, "<missing>");
}

TEST(VersionResource, EveryTruncationIsSafe)
{
    std::string block = Block({{"041104B0", {{"CompanyName", "Fallowmere"}, {"FileVersion", "1.3.0.128"}}}},
                              {{0x0411, 0x04B0}});
    for (size_t size = 0; size <= block.size(); ++size) {
        // A copy of exactly that size, so that a read past its end is seen by the sanitizers.
        std::string cut = block.substr(0, size);
        std::string_view view(cut.data(), size);
        IsVersionBlock(view);
        for (const char* path : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\041104B0\\FileVersion"})
            Query(view, path);
    }
    // The whole root gone: what remains is no block.
    EXPECT_FALSE(IsVersionBlock(std::string_view(block).substr(0, 40)));
}

TEST(VersionResource, FilesWithoutAResourceOrOfOtherKindsHaveNone)
{
    std::string block = Block({{"041104B0", {{"FileVersion", "1"}}}}, {{0x0411, 0x04B0}});
    EXPECT_TRUE(FindVersionResource("").empty());
    EXPECT_TRUE(FindVersionResource(block).empty());  // a bare block is no file
    EXPECT_TRUE(FindVersionResource("MZ").empty());
    std::string ne(0x80, '\0');
    ne[0] = 'M';
    ne[1] = 'Z';
    ne[0x3C] = 0x40;
    ne[0x40] = 'N';
    ne[0x41] = 'E';
    EXPECT_TRUE(FindVersionResource(ne).empty());  // 16-bit programs are not read
    std::string elf = "\x7F" "ELF\x02\x01";
    elf.resize(64, '\0');
    EXPECT_TRUE(FindVersionResource(elf).empty());
}
