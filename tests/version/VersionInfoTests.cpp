// The version reader over real files: our own binaries, ELF files around blocks made by hand,
// and Windows libraries built by mingw-w64.

#include <gtest/gtest.h>

#include <fstream>

#include "VersionBlock.h"
#include "VersionFiles.h"
#include "platform/Cp932.h"
#include "platform/FileVersionInfo.h"
#include "platform/VersionResource.h"
#include "version/VersionInfoCompo.h"
#include "version/VersionInfoList.h"

namespace {

using Lines = std::vector<std::string>;

const Lines OwnValues = {"Fallowmere", "Quorlin", "1.3.0.128", "Quorlin", "Copyright (C) Fallowmere",
                         "Quorlin.DLL", "Quorlin 1.3", "1.3 for Delphi3.1"};

versionblock::Table Table(const std::string& key, std::vector<std::pair<std::string, std::string>> strings)
{
    return {key, std::move(strings)};
}

std::vector<std::pair<std::string, std::string>> AllEight()
{
    return {{"CompanyName", "Company"},       {"FileDescription", "Description"}, {"FileVersion", "9.8.7.6"},
            {"InternalName", "Internal"},     {"LegalCopyright", "Copyright"},    {"OriginalFilename", "orig.dll"},
            {"ProductName", "Product"},       {"ProductVersion", "9.8"}};
}

const Lines AllEightValues = {"Company", "Description", "9.8.7.6", "Internal", "Copyright", "orig.dll", "Product", "9.8"};

class VersionInfoTest : public testing::Test {
protected:
    // The list read from an ELF file carrying the block, appended to start.
    Lines Read(const std::string& block, Lines start = {})
    {
        std::string file = folder.Write("lib" + std::to_string(++files) + ".so", ElfWithVersionBlock(block));
        quorlin::ReadVersionInfoList(file, start);
        return start;
    }

    static std::string Block(const std::vector<versionblock::Table>& tables,
                             const std::vector<versionblock::Translation>& translations)
    {
        return versionblock::Write(versionblock::VersionInfo({}, tables, translations));
    }

    TempFolder folder;
    int files = 0;
};

TEST_F(VersionInfoTest, OurOwnBinaryCarriesItsResource)
{
    // This test program carries the add-in's code, and with it the version resource.
    std::string self = quorlin::TVersionInfoCompo::ModuleFileName();
    ASSERT_FALSE(self.empty());
    Lines list;
    quorlin::ReadVersionInfoList(self, list);
    EXPECT_EQ(list, OwnValues);

    std::string buffer(platform::GetFileVersionInfoSize(self), '\0');
    ASSERT_TRUE(platform::GetFileVersionInfo(self, static_cast<uint32_t>(buffer.size()), buffer.data()));
    std::string value;
    uint32_t length = 0;
    ASSERT_TRUE(platform::VerQueryValue(buffer, "\\", value, length));
    ASSERT_EQ(length, 52u);
    // 1.3.0.128 twice, debug flag within mask 0x3F, 32-bit Windows, a library.
    EXPECT_EQ(value.substr(8, 32), std::string("\x03\0\x01\0\x80\0\0\0\x03\0\x01\0\x80\0\0\0"
                                               "\x3F\0\0\0\x01\0\0\0\x04\0\0\0\x02\0\0\0", 32));
    ASSERT_TRUE(platform::VerQueryValue(buffer, "\\StringFileInfo\\041104B0\\Comments", value, length));
    EXPECT_EQ(value, "This Program runs as Addin Tool in Delphi 3.0");
}

TEST_F(VersionInfoTest, TheComponentReadsWhenLoadedAndAnswersEightIndexes)
{
    quorlin::TVersionInfoCompo compo(nullptr);
    EXPECT_TRUE(compo.InfoList.Empty());
    EXPECT_EQ(compo.InfoText(2), "");
    compo.Loaded();
    EXPECT_EQ(compo.InfoList.Items(), OwnValues);
    EXPECT_EQ(compo.InfoText(2), "1.3.0.128");
    EXPECT_EQ(compo.InfoText(7), "1.3 for Delphi3.1");
    EXPECT_EQ(compo.InfoText(8), "");
    EXPECT_EQ(compo.InfoText(-1), "");
}

TEST_F(VersionInfoTest, MissingKeysAndEmptyValuesAreNoneInTheirPlaces)
{
    auto strings = AllEight();
    strings.erase(strings.begin() + 3);    // no InternalName
    strings[0].second = "";                // an empty company
    Lines list = Read(Block({Table("041104B0", strings)}, {{0x0411, 0x04B0}}), {"old"});
    EXPECT_EQ(list, (Lines{"None", "Description", "9.8.7.6", "None", "Copyright", "orig.dll", "Product", "9.8"}));
}

TEST_F(VersionInfoTest, TheFirstTranslationChoosesTheTable)
{
    // Table keys match without regard to case, as the translation's digits are printed in capitals.
    EXPECT_EQ(Read(Block({Table("040904e4", {{"CompanyName", "English"}}), Table("041104b0", AllEight())},
                         {{0x0411, 0x04B0}, {0x0409, 0x04E4}})),
              AllEightValues);
    // The second translation's table is not looked at, even when the first has none.
    EXPECT_EQ(Read(Block({Table("040904E4", AllEight())}, {{0x0411, 0x04B0}, {0x0409, 0x04E4}})),
              Lines(8, "None"));
}

TEST_F(VersionInfoTest, ValuesComeInCodePage932)
{
    std::string japanese = platform::Cp932ToUtf8("開発部");
    Lines list = Read(Block({Table("041104B0", {{"CompanyName", japanese}})}, {{0x0411, 0x04B0}}));
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0], "開発部");
}

TEST_F(VersionInfoTest, NoResourceAppendsNoTranslationKeepsTheList)
{
    // No resource: one entry appended, nothing cleared.
    Lines start{"kept"};
    std::string plain = folder.Write("plain.txt", "not a program");
    quorlin::ReadVersionInfoList(plain, start);
    EXPECT_EQ(start, (Lines{"kept", "No Version Info"}));
    Lines missing;
    quorlin::ReadVersionInfoList(folder / "missing.dll", missing);
    EXPECT_EQ(missing, Lines{"No Version Info"});

    // A resource without a translation table leaves the list as it was.
    EXPECT_EQ(Read(Block({Table("041104B0", AllEight())}, {}), {"kept"}), Lines{"kept"});
    // A translation value too short to hold one pair counts as none.
    std::string block = Block({Table("041104B0", AllEight())}, {{0x0411, 0x04B0}});
    size_t translation = block.find(std::string("T\0r\0a\0n\0s", 9)) - 6;
    block[translation + 2] = 2;
    EXPECT_EQ(Read(block, {"kept"}), Lines{"kept"});
}

TEST_F(VersionInfoTest, DamagedFilesNeverReadPastTheirEnd)
{
    std::string whole = ElfWithVersionBlock(Block({Table("041104B0", AllEight())}, {{0x0411, 0x04B0}}));
    ASSERT_FALSE(platform::FindVersionResource(whole).empty());
    // Cut anywhere, the file has no resource (the section table is at its end) or a whole one.
    for (size_t size = 0; size < whole.size(); ++size) {
        std::string cut = whole.substr(0, size);
        EXPECT_TRUE(platform::FindVersionResource(cut).empty()) << size;
    }
    // Section offsets, sizes and name offsets that point outside the file.
    size_t table = whole.size() - 3 * 64;
    for (size_t field : {table + 128 + 24, table + 128 + 32, table + 64 + 24, table + 128, size_t(0x28)}) {
        std::string lying = whole;
        lying[field + 3] = '\x7F';
        EXPECT_TRUE(platform::FindVersionResource(lying).empty()) << field;
    }
    std::string lyingCount = whole;
    lyingCount[0x3C] = '\x40';
    EXPECT_TRUE(platform::FindVersionResource(lyingCount).empty());
}

class MingwTest : public testing::TestWithParam<std::string> {};

TEST_P(MingwTest, AWindowsLibraryReadsAsItsResourceScriptSays)
{
    if (!MingwInstalled(GetParam()))
        GTEST_SKIP() << GetParam() << "-w64-mingw32-gcc and -windres are not installed (scripts/install-deps)";
    TempFolder folder;
    std::string dll = BuildSampleDll(folder, GetParam());
    ASSERT_FALSE(dll.empty());
    std::string file = TempFolder::Read(dll);
    EXPECT_EQ(file.substr(0, 2), "MZ");

    // The script's first translation is 0411/04B0; its table's key is written in small letters;
    // InternalName is missing and ProductVersion empty.
    Lines list;
    quorlin::ReadVersionInfoList(dll, list);
    EXPECT_EQ(list, (Lines{"見本工房", "Sample library", "2.5.7.300", "None", "Copyright (C) 2026 Sample Works",
                           "sample.dll", "Sample", "None"}));

    std::string_view block = platform::FindVersionResource(file);
    std::string value;
    uint32_t length = 0;
    ASSERT_TRUE(platform::QueryVersionValue(block, "\\", value, length));
    ASSERT_EQ(length, 52u);
    // FILEVERSION 2,5,7,300; PRODUCTVERSION 2,5,0,0; mask 0x3F, flags 0, OS 0x40004, type 2.
    EXPECT_EQ(value.substr(8, 32), std::string("\x05\0\x02\0\x2C\x01\x07\0\x05\0\x02\0\0\0\0\0"
                                               "\x3F\0\0\0\0\0\0\0\x04\0\x04\0\x02\0\0\0", 32));
    ASSERT_TRUE(platform::QueryVersionValue(block, "\\VarFileInfo\\Translation", value, length));
    EXPECT_EQ(value, std::string("\x11\x04\xB0\x04\x09\x04\xE4\x04", 8));
    ASSERT_TRUE(platform::QueryVersionValue(block, "\\StringFileInfo\\040904E4\\CompanyName", value, length));
    EXPECT_EQ(value, "English Works");

    // Cut short anywhere, the library has no resource or a whole one; never a read past the end.
    for (size_t size = 0; size < file.size(); size += 7) {
        std::string cut = file.substr(0, size);
        std::string_view found = platform::FindVersionResource(cut);
        EXPECT_TRUE(found.empty() || found == block) << size;
    }
}

INSTANTIATE_TEST_SUITE_P(Pe, MingwTest, testing::Values("x86_64", "i686"));

}  // namespace
