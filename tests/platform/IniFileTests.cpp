#include "platform/FileLock.h"
#include "platform/IniFile.h"

#include "support/BusParticipant.h"
#include "support/TempFolder.h"
#include "support/Watchdog.h"

#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

void WriteFile(const std::string& fileName, const std::string& text)
{
    std::ofstream(fileName, std::ios::binary) << text;
}

std::string ReadFile(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Every entry, lock files included: none may be left beside the ini files.
size_t CountEntries(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

class IniFileTest : public testing::Test {
protected:
    std::string Name() const { return temp_.Path() + "/test.ini"; }
    TempFolder temp_;
};

struct ReadCase {
    const char* text;
    const char* section;
    const char* key;
    const char* expected;
};

}  // namespace

TEST_F(IniFileTest, ReadsLikeTheProfileFunctions)
{
    const ReadCase cases[] = {
        {"[SectionName]\r\nTestKey=TestValue", "sectionname", "TESTKEY", "TestValue"},
        {"[S]\r\n\tKey\t=\v Value \t\r\n", "S", "Key", "Value"},
        {"[ x ]\r\nk=v\r\n", "x", "k", "v"},
        {"[sec]whoops]\r\nk=v\r\n", "sec", "k", "v"},
        {"  [open\r\nk=v\r\n", "open", "k", "v"},
        {"SectionName]\r\nk=v\r\n", "SectionName]", "k", "(default)"},
        {"[]\r\nk=v\r\n", "", "k", "v"},
        {"k=v\r\n[S]\r\n", "", "k", "(default)"},
        {"[S]\r\nk=v\r\n", "  S  ", " k ", "v"},
        {"[S]\r\nk=  \"  v  \"  \r\n", "S", "k", "  v  "},
        {"[S]\r\nk=\"'v'\"\r\n", "S", "k", "'v'"},
        {"[S]\r\nk=\"v'\r\n", "S", "k", "\"v'"},
        {"[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"[S]\r\n\"k\"=v\r\n", "S", "\"k\"", "v"},
        {"[S]\r\n;k=v\r\n", "S", "k", "(default)"},
        {"[S]\r\n  ;k=v\r\n", "S", ";k", "(default)"},
        {"[S]\r\nk=;x\r\n", "S", "k", ";x"},
        {"[S]\r\n#k=v\r\n", "S", "#k", "v"},
        {"[S]\r\nk v\r\n", "S", "k v", "(default)"},
        {"[S]\r\n=value\r\n", "S", "", "value"},
        {"[A]\r\nk=1\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n", "A", "k", "1"},
        {"[A]\r\nk=1\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n", "A", "j", "(default)"},
        {"[S]\r\nk=v1\r\nk2=x\r\nK=v3\r\n", "S", "k", "v1"},
        {"[S]\r\nk=\r\n", "S", "k", ""},
        {"[S]\nk=lf\n", "S", "k", "lf"},
        {"[S]\rk=cr\rj=2", "S", "k", "cr"},
        {"[S]\r\nk=v\r\nlast=no break", "S", "last", "no break"},
        {"[S]\r\nk=\x95\x5C\x8E\xA6\r\n", "s", "K", "\x95\x5C\x8E\xA6"},
        {"[\x95\x5C]\r\nk=v\r\n", "\x95\x5C", "k", "v"},
        {"\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k", "(default)"},
    };
    for (const ReadCase& c : cases) {
        WriteFile(Name(), c.text);
        IniFile ini(Name());
        EXPECT_EQ(ini.ReadString(c.section, c.key, "(default)"), c.expected)
            << "file " << testing::PrintToString(std::string(c.text)) << ", [" << c.section
            << "] " << c.key;
        EXPECT_FALSE(ini.Modified());
    }
}

TEST_F(IniFileTest, ListsEveryOccurrenceInFileOrder)
{
    WriteFile(Name(), "; top\r\n[A]\r\nk=v1\r\nk2=x\r\nnot a key\r\n;c=1\r\nk=v3\r\n[B]\r\n[a]\r\nz=1\r\n"
                      "[]\r\n");
    IniFile ini(Name());
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B", "a", ""}));
    EXPECT_EQ(ini.ReadSection("a"), (std::vector<std::string>{"k", "k2", "k"}));
    EXPECT_TRUE(ini.ReadSection("B").empty());
    EXPECT_TRUE(ini.ReadSection("missing").empty());
    EXPECT_TRUE(ini.SectionExists("b"));
    EXPECT_FALSE(ini.SectionExists("missing"));
    EXPECT_TRUE(ini.ValueExists("A", "K2"));
    EXPECT_FALSE(ini.ValueExists("A", "z"));
    EXPECT_FALSE(ini.ValueExists("A", "not a key"));
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndWritesNothing)
{
    {
        IniFile ini(Name());
        EXPECT_EQ(ini.FileName(), Name());
        EXPECT_EQ(ini.ReadString("S", "k", "def  "), "def");
        EXPECT_EQ(ini.ReadString("S", "k", "  "), "");
        EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
        EXPECT_TRUE(ini.ReadSections().empty());
        ini.EraseSection("S");
        ini.DeleteKey("S", "k");
        EXPECT_FALSE(ini.Modified());
        EXPECT_TRUE(ini.UpdateFile());
    }
    EXPECT_FALSE(std::filesystem::exists(Name()));
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    WriteFile(Name(), "[N]\r\na=42\r\nb=  -17\r\nc=+5\r\nd=$1F\r\ne=0x10\r\nf=0XfF\r\ng=12a\r\nh=\r\n"
                      "i=2147483648\r\nj=-2147483648\r\nk=$FFFFFFFF\r\nl=-\r\nm=\"9\"\r\nn=1.5\r\n"
                      "t=1\r\nu=0\r\nv=-3\r\nw=true\r\n");
    IniFile ini(Name());
    const std::pair<const char*, int> cases[] = {
        {"a", 42}, {"b", -17}, {"c", 5}, {"d", 31}, {"e", 16}, {"f", 255}, {"g", 99}, {"h", 99},
        {"i", 99}, {"j", INT32_MIN}, {"k", -1}, {"l", 99}, {"m", 9}, {"n", 99}, {"missing", 99},
    };
    for (auto [key, expected] : cases) {
        EXPECT_EQ(ini.ReadInteger("N", key, 99), expected) << key;
    }
    EXPECT_TRUE(ini.ReadBool("N", "t", false));
    EXPECT_FALSE(ini.ReadBool("N", "u", true));
    EXPECT_TRUE(ini.ReadBool("N", "v", false));
    EXPECT_TRUE(ini.ReadBool("N", "w", true));  // not a number: the default
    EXPECT_FALSE(ini.ReadBool("N", "w", false));
    EXPECT_TRUE(ini.ReadBool("N", "missing", true));

    ini.WriteInteger("N", "new", -12);
    ini.WriteBool("N", "yes", true);
    ini.WriteBool("N", "no", false);
    EXPECT_EQ(ini.ReadString("N", "new", ""), "-12");
    EXPECT_EQ(ini.ReadString("N", "yes", ""), "1");
    EXPECT_EQ(ini.ReadString("N", "no", ""), "0");
}

TEST_F(IniFileTest, WritePlacement)
{
    struct WriteCase {
        const char* before;
        std::vector<std::array<const char*, 3>> writes;
        const char* after;
    };
    const WriteCase cases[] = {
        {"", {{"S", "k", "v"}}, "[S]\r\nk=v\r\n"},
        {"[S]\r\nb=1\r\na=2\r\n", {{"S", "z", "3"}, {"s", "y", "4"}},
         "[S]\r\nb=1\r\na=2\r\nz=3\r\ny=4\r\n"},
        {"[S]\r\nb=1\r\n; note\r\n\r\n[T]\r\nx=1\r\n", {{"S", "z", "3"}, {"S", "y", "4"}},
         "[S]\r\nb=1\r\nz=3\r\ny=4\r\n; note\r\n\r\n[T]\r\nx=1\r\n"},
        {"[S]\r\n; only a comment\r\n", {{"S", "k", "v"}}, "[S]\r\nk=v\r\n; only a comment\r\n"},
        {"[S]\r\nk=v", {{"T", "k", "v"}}, "[S]\r\nk=v\r\n[T]\r\nk=v\r\n"},
        {"[S]\nk=v\n\n", {{"T", "k", "v"}}, "[S]\r\nk=v\r\n\r\n[T]\r\nk=v\r\n"},
        {"[S]\r\n  KeY = old ; x\r\nz=1\r\n", {{"s", "key", "new"}}, "[S]\r\nKeY=new\r\nz=1\r\n"},
        {"[S]\r\nk=1\r\n[S]\r\nk=2\r\n", {{"S", "k", "3"}, {"S", "j", "4"}},
         "[S]\r\nk=3\r\nj=4\r\n[S]\r\nk=2\r\n"},
        {"junk\r\n[S]\r\n", {{" S ", " name ", "  spaced value  "}},
         "junk\r\n[S]\r\nname=  spaced value  \r\n"},
        {"", {{"S", "k", "line1\r\nline2"}, {"S", "j", "a\nb"}, {"S", "i", "\rc"}},
         "[S]\r\nk=line1\r\nj=a\r\ni=\r\n"},
        {"", {{"S\r\n[X]", "k\n=1", "v"}}, "[S]\r\nk=v\r\n"},
        {"[S]\r\nk=\x95\x5C\r\n", {{"\x8E\xA6", "\x95\x5C", "\x82\x61\xFF"}},
         "[S]\r\nk=\x95\x5C\r\n[\x8E\xA6]\r\n\x95\x5C=\x82\x61\xFF\r\n"},
    };
    for (const WriteCase& c : cases) {
        WriteFile(Name(), c.before);
        {
            IniFile ini(Name());
            for (auto [section, key, value] : c.writes) {
                ini.WriteString(section, key, value);
            }
            EXPECT_TRUE(ini.Modified());
        }
        EXPECT_EQ(ReadFile(Name()), c.after) << testing::PrintToString(std::string(c.before));
    }
}

TEST_F(IniFileTest, DeleteAndErase)
{
    const std::string original = "; head\r\n[A]\r\nk=1\r\nj=2\r\nk=3\r\n; c\r\n[B]\r\nx=1\r\n[a]\r\nz=9\r\n\r\n"
                                 "[C]\r\ny=2\r\n";
    WriteFile(Name(), original);
    {
        IniFile ini(Name());
        ini.DeleteKey("a", "K");
        EXPECT_FALSE(ini.ValueExists("A", "k"));
        ini.DeleteKey("A", "missing");
        ini.DeleteKey("missing", "k");
        ini.DeleteKey("B", "x");
        EXPECT_TRUE(ini.SectionExists("B"));  // an empty section stays
        ini.WriteString("A", "n", "new");     // after the last remaining key line
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(ReadFile(Name()),
                  "; head\r\n[A]\r\nj=2\r\nn=new\r\n; c\r\n[B]\r\n[a]\r\nz=9\r\n\r\n[C]\r\ny=2\r\n");

        ini.EraseSection("A");  // every occurrence, so it reads as missing afterwards
        EXPECT_FALSE(ini.SectionExists("a"));
        EXPECT_EQ(ini.ReadString("A", "z", "-"), "-");
        EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "C"}));
        ini.EraseSection("missing");
        ini.WriteString("a", "k", "again");  // a new section at the end
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(ReadFile(Name()), "; head\r\n[B]\r\n[C]\r\ny=2\r\n[a]\r\nk=again\r\n");
    }
}

TEST_F(IniFileTest, WritesOnlyWhenSomethingChanged)
{
    const std::string original = "[S]\nk = v\n;c\n";
    WriteFile(Name(), original);
    {
        IniFile ini(Name());
        ini.WriteString("S", "K", "v");
        ini.DeleteKey("S", "none");
        EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(ReadFile(Name()), original);

    IniFile ini(Name());
    ini.WriteString("S", "k", "w");
    EXPECT_TRUE(ini.Modified());
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(ReadFile(Name()), "[S]\r\nk=w\r\n;c\r\n");
    WriteFile(Name(), "changed by another writer");
    EXPECT_TRUE(ini.UpdateFile());  // nothing pending: the file is left alone
    EXPECT_EQ(ReadFile(Name()), "changed by another writer");
}

TEST_F(IniFileTest, RoundTripKeepsOtherLinesByteForByte)
{
    const std::string original = "\xEF\xBB\xBF; bom line\r\n[Main]\r\n  Width = 640 \r\n"
                                 "Caption=\x95\x5C\x8E\xA6(&V)\r\n\tjunk line \r\n\r\n[Other]\r\n"
                                 "q=\"quoted\"\r\n;k=comment\r\n";
    WriteFile(Name(), original);
    {
        IniFile ini(Name());
        ini.WriteInteger("Main", "Height", 480);
    }
    IniFile ini(Name());
    EXPECT_EQ(ReadFile(Name()), "\xEF\xBB\xBF; bom line\r\n[Main]\r\n  Width = 640 \r\n"
                                "Caption=\x95\x5C\x8E\xA6(&V)\r\nHeight=480\r\n\tjunk line \r\n\r\n"
                                "[Other]\r\nq=\"quoted\"\r\n;k=comment\r\n");
    EXPECT_EQ(ini.ReadInteger("main", "width", 0), 640);
    EXPECT_EQ(ini.ReadInteger("main", "height", 0), 480);
    EXPECT_EQ(ini.ReadString("Main", "Caption", ""), "\x95\x5C\x8E\xA6(&V)");
    EXPECT_EQ(ini.ReadString("Other", "q", ""), "quoted");
}

TEST_F(IniFileTest, ExactValuesAndSectionNamesReadBackAsGiven)
{
    const std::vector<std::string> values = {"", "plain", " a ", "\ta", "a\v", "\"q\"", "'q'", "\"",
                                             "\"'", "a \"b\"", "\"\"", " \" "};
    {
        IniFile ini(Name());
        for (size_t i = 0; i < values.size(); ++i)
            ini.WriteExactString("S", std::to_string(i), values[i]);
    }
    IniFile ini(Name());
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(ini.ReadString("S", std::to_string(i), "-"), values[i]) << i;
    // Only what would be lost is quoted, so plain values stay as other programs write them.
    EXPECT_TRUE(ReadFile(Name()).starts_with("[S]\r\n0=\r\n1=plain\r\n2=\" a \"\r\n"));

    for (const std::string name : {"a.dpr", "a[b.dpr", " a.dpr ", "a\tb", "\x83\x5d.dpr", ""})
        EXPECT_TRUE(IniFile::CanNameSection(name)) << name;
    for (const std::string name : {"a]b.dpr", "a\nb", "a\rb", "\ta.dpr", "a.dpr\f", "a\x83"})
        EXPECT_FALSE(IniFile::CanNameSection(name)) << name;
    for (const std::string name : {"Plan 表 (1) ~x", " a [b]; c ", "", "\x83\x5b"})
        EXPECT_TRUE(IniFile::CanNameKey(name)) << name;
    for (const std::string name : {"a=b", "=", "[Section]", " ;comment", "a\tb\t", "\tb", "a\rb", "a\nb"})
        EXPECT_FALSE(IniFile::CanNameKey(name)) << name;
}

TEST_F(IniFileTest, FailedWriteKeepsOldFileAndChangesPending)
{
    std::string missing = temp_.Path() + "/no/such/folder/x.ini";
    {
        IniFile ini(missing);
        ini.WriteString("S", "k", "v");
        EXPECT_FALSE(ini.UpdateFile());
        EXPECT_NE(ini.ErrorText().find("No such file"), std::string::npos) << ini.ErrorText();
        EXPECT_TRUE(ini.Modified());
        std::filesystem::create_directories(temp_.Path() + "/no/such/folder");
        EXPECT_TRUE(ini.UpdateFile());
        EXPECT_TRUE(ini.ErrorText().empty());
    }
    EXPECT_EQ(ReadFile(missing), "[S]\r\nk=v\r\n");

    // A write that fails half-way (the file size limit stands in for a full disk).
    const std::string original = "[S]\r\nk=old\r\n";
    WriteFile(Name(), original);
    IniFile ini(Name());
    ini.WriteString("S", "k", std::string(4096, 'x'));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = ini.UpdateFile();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(ini.ErrorText().empty());
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(ReadFile(Name()), original);
    EXPECT_EQ(CountEntries(temp_.Path()), 2u) << "a temporary file was left behind";
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFile(Name()), "[S]\r\nk=" + std::string(4096, 'x') + "\r\n");
    EXPECT_EQ(CountEntries(temp_.Path()), 2u);
}

TEST_F(IniFileTest, ReadOnlyFolderReportsFailure)
{
    const std::string original = "[S]\r\nk=old\r\n";
    WriteFile(Name(), original);
    chmod(Name().c_str(), 0640);
    chmod(temp_.Path().c_str(), 0500);
    if (access(temp_.Path().c_str(), W_OK) == 0) {
        chmod(temp_.Path().c_str(), 0700);
        GTEST_SKIP() << "folder permissions do not bind this user";
    }
    {
        IniFile ini(Name());
        ini.WriteString("S", "k", "new");
        EXPECT_FALSE(ini.UpdateFile());
        EXPECT_NE(ini.ErrorText().find("Permission denied"), std::string::npos) << ini.ErrorText();
        EXPECT_TRUE(ini.Modified());
    }  // the destructor's attempt fails the same way
    chmod(temp_.Path().c_str(), 0700);
    EXPECT_EQ(ReadFile(Name()), original);
    EXPECT_EQ(CountEntries(temp_.Path()), 1u);
}

TEST_F(IniFileTest, ReplacedFileKeepsItsPermissions)
{
    WriteFile(Name(), "[S]\r\nk=1\r\n");
    chmod(Name().c_str(), 0604);
    {
        IniFile ini(Name());
        ini.WriteString("S", "k", "2");
    }
    struct stat info {};
    ASSERT_EQ(stat(Name().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
    EXPECT_EQ(ReadFile(Name()), "[S]\r\nk=2\r\n");
}

TEST_F(IniFileTest, LargeListSectionRewrite)
{
    // The most-recently-used stores rewrite a whole list section: every key read, then written.
    std::string text = "[Other]\r\na=1\r\n[List]\r\n";
    for (int i = 0; i < 10000; ++i) {
        text += std::to_string(i) + "=entry" + std::to_string(i) + "\r\n";
    }
    text += "[Tail]\r\nz=1\r\n";
    WriteFile(Name(), text);
    {
        IniFile ini(Name());
        std::vector<std::string> keys = ini.ReadSection("List");
        ASSERT_EQ(keys.size(), 10000u);
        std::vector<std::string> values;
        for (const std::string& key : keys) {
            values.push_back(ini.ReadString("List", key, ""));
        }
        values.insert(values.begin(), "newest");
        for (size_t i = 0; i < values.size(); ++i) {
            ini.WriteString("List", std::to_string(i), values[i]);
        }
        for (int i = 0; i < 10000; i += 2) {
            ini.DeleteKey("List", std::to_string(i));
        }
        EXPECT_EQ(ini.ReadString("list", "9999", ""), "entry9998");
        EXPECT_EQ(ini.ReadString("list", "10000", ""), "entry9999");
        EXPECT_EQ(ini.ReadSection("List").size(), 5001u);
        ini.WriteString("List", "x", "after the last key");
    }
    IniFile ini(Name());
    std::vector<std::string> keys = ini.ReadSection("List");
    ASSERT_EQ(keys.size(), 5002u);
    EXPECT_EQ(keys.front(), "1");
    EXPECT_EQ(keys[5000], "10000");
    EXPECT_EQ(keys.back(), "x");
    EXPECT_EQ(ini.ReadString("List", "1", ""), "entry0");
    EXPECT_EQ(ini.ReadString("Tail", "z", ""), "1");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Other", "List", "Tail"}));
}

TEST_F(IniFileTest, ReadOnlyViewFollowsTheFileAndTakesNoLock)
{
    auto missing = IniFile::ReadOnly(Name());
    EXPECT_EQ(missing->ReadInteger("S", "k", 7), 7);
    EXPECT_EQ(CountEntries(temp_.Path()), 0u);

    {
        IniFile ini(Name());
        ini.WriteInteger("S", "k", 1);
    }
    auto first = IniFile::ReadOnly(Name());
    EXPECT_EQ(first->ReadInteger("S", "k", 7), 1);
    EXPECT_EQ(IniFile::ReadOnly(Name()), first);  // unchanged: the same parse

    // Replaced by a writer, and changed in place by another program.
    {
        IniFile ini(Name());
        ini.WriteInteger("S", "k", 2);
    }
    EXPECT_EQ(IniFile::ReadOnly(Name())->ReadInteger("S", "k", 7), 2);
    EXPECT_EQ(first->ReadInteger("S", "k", 7), 1);  // a view taken earlier stays as it was
    WriteFile(Name(), "[S]\r\nk=345\r\n");
    {
        // Read while another process holds the file's lock, without waiting for it.
        ChildProcess holder([&](int report) {
            FileLock lock(Name());
            Report(report, lock.Held() ? "held" : "not held");
            pause();
            return 0;
        });
        ASSERT_EQ(holder.ReadLine(), "held");
        Watchdog watchdog;
        EXPECT_EQ(IniFile::ReadOnly(Name())->ReadInteger("S", "k", 7), 345);
    }
    std::filesystem::remove(Name());
    EXPECT_EQ(IniFile::ReadOnly(Name())->ReadInteger("S", "k", 7), 7);
}
