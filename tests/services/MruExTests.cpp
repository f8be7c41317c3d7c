#include "services/MruEx.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "support/ChildProcesses.h"
#include "support/TempFolder.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"

namespace {

using quorlin::TMRUEx;

std::string FileText(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Items(TMRUEx& mru, const std::string& section)
{
    tk::Strings list;
    mru.ReadItems(list, section);
    return list.Items();
}

class MruExTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetHostFolder(folder_.Path() + "/");
        mru_.SetIniName("Quorlin.Jmp");
    }

    TempFolder folder_;
    TMRUEx mru_{nullptr};
};

TEST_F(MruExTest, IniNameResolution)
{
    EXPECT_EQ(mru_.IniName(), folder_.Path() + "/Quorlin.Jmp");
    mru_.SetIniName("/elsewhere/x.ini");
    EXPECT_EQ(mru_.IniName(), "/elsewhere/x.ini");
    mru_.SetIniName("");
    EXPECT_EQ(mru_.IniName(), "");
    tk::Strings list;
    mru_.AddItem("S", "v");  // nothing happens without a file name
    mru_.ReadItems(list, "S");
    EXPECT_TRUE(list.Empty());
}

TEST_F(MruExTest, AddItemKeepsMostRecentFirstWithoutDuplicates)
{
    mru_.AddItem("MethodJumpHistory", "Foo");
    mru_.AddItem("MethodJumpHistory", "Bar");
    mru_.AddItem("MethodJumpHistory", "Baz");
    EXPECT_EQ(Items(mru_, "MethodJumpHistory"), (std::vector<std::string>{"Baz", "Bar", "Foo"}));

    mru_.AddItem("MethodJumpHistory", "Foo");
    EXPECT_EQ(Items(mru_, "MethodJumpHistory"), (std::vector<std::string>{"Foo", "Baz", "Bar"}));
    platform::IniFile ini(mru_.IniName());
    EXPECT_EQ(ini.ReadString("MethodJumpHistory", "0", ""), "Foo");
    EXPECT_EQ(ini.ReadString("MethodJumpHistory", "2", ""), "Bar");

    // Case makes a different entry; empty values and sections are ignored.
    mru_.AddItem("MethodJumpHistory", "foo");
    mru_.AddItem("MethodJumpHistory", "");
    mru_.AddItem("", "x");
    EXPECT_EQ(Items(mru_, "MethodJumpHistory"), (std::vector<std::string>{"foo", "Foo", "Baz", "Bar"}));
}

TEST_F(MruExTest, AddItemOfTheTopEntryLeavesTheFileUntouched)
{
    mru_.AddItem("H", "one");
    mru_.AddItem("H", "two");
    std::string before = FileText(mru_.IniName());
    struct stat was {};
    ASSERT_EQ(stat(mru_.IniName().c_str(), &was), 0);
    mru_.AddItem("H", "two");
    struct stat now {};
    ASSERT_EQ(stat(mru_.IniName().c_str(), &now), 0);
    EXPECT_EQ(FileText(mru_.IniName()), before);
    EXPECT_EQ(now.st_ino, was.st_ino);  // the file was not replaced by a rewrite
}

TEST_F(MruExTest, HandEditedKeysAreReadInFileOrder)
{
    std::ofstream(mru_.IniName(), std::ios::binary)
        << "[H]\r\nb=second\r\na=first\r\n[Other]\r\nx=1\r\n";
    EXPECT_EQ(Items(mru_, "h"), (std::vector<std::string>{"second", "first"}));
    mru_.AddItem("H", "new");
    platform::IniFile ini(mru_.IniName());
    EXPECT_EQ(ini.ReadSection("H"), (std::vector<std::string>{"b", "a", "0", "1", "2"}));
    EXPECT_EQ(Items(mru_, "H"),
              (std::vector<std::string>{"second", "first", "new", "second", "first"}));
}

TEST_F(MruExTest, AppendItemsAddsWhatIsNewAndKeepsToTheLimit)
{
    mru_.SetSection("MethodName");
    std::ofstream(mru_.IniName(), std::ios::binary)
        << "[MethodName]\r\n0=Old\r\n1=Clear\r\n; kept\r\n[Other]\r\n0=x\r\n";
    mru_.AppendItems({"GetItem", "", "Clear", "GetItem", "clear"}, 4);
    EXPECT_EQ(FileText(mru_.IniName()), "[MethodName]\r\n0=Old\r\n1=Clear\r\n2=GetItem\r\n3=clear\r\n; kept\r\n"
                                        "[Other]\r\n0=x\r\n");

    // Past the limit the oldest entries go and the rest move up to "0".
    mru_.AppendItems({"SetItem", "Old", "Free"}, 4);
    EXPECT_EQ(FileText(mru_.IniName()), "[MethodName]\r\n0=GetItem\r\n1=clear\r\n2=SetItem\r\n3=Free\r\n; kept\r\n"
                                        "[Other]\r\n0=x\r\n");
    // A list longer than the limit (kept before there was one) is cut down by the next call.
    mru_.AppendItems({}, 2);
    EXPECT_EQ(Items(mru_, "MethodName"), (std::vector<std::string>{"SetItem", "Free"}));
}

TEST_F(MruExTest, ListAndValueOperationsOfTheOwnSection)
{
    mru_.SetSection("Prev");
    std::string key;
    mru_.AppendItem("a", key);
    EXPECT_EQ(key, "0");
    mru_.AppendItem("b", key);
    EXPECT_EQ(key, "1");
    mru_.AppendItem("a", key);  // already there: not written, key is the count
    EXPECT_EQ(key, "2");
    EXPECT_EQ(mru_.Count(), 2);
    EXPECT_EQ(mru_.ReadItem(1), "b");
    EXPECT_EQ(mru_.ReadItem(5), "");
    EXPECT_EQ(mru_.IndexOf("b"), 1);
    EXPECT_EQ(mru_.IndexOf("B"), -1);

    tk::Strings list;
    list.Add("kept");
    mru_.ReadItems(list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"kept", "a", "b"}));

    tk::Strings shorter;
    shorter.Add("z");
    mru_.WriteItems(shorter);
    EXPECT_EQ(mru_.ReadItem(0), "z");
    EXPECT_EQ(mru_.ReadItem(1), "b");  // keys past the list stay

    mru_.WriteValue("TreeWidth", "120");
    mru_.WriteValue("PrevFileName", "/tmp/t.tsk");
    EXPECT_EQ(mru_.ReadNumber("TreeWidth", 5), 120);
    EXPECT_EQ(mru_.ReadNumber("Missing", 5), 5);
    EXPECT_EQ(mru_.ReadValue("PrevFileName"), "/tmp/t.tsk");

    mru_.AddItem("Second", "x");
    tk::Strings sections;
    mru_.ReadSections(sections);
    EXPECT_EQ(sections.Items(), (std::vector<std::string>{"Prev", "Second"}));

    mru_.SetSection("");
    EXPECT_EQ(mru_.ReadNumber("TreeWidth", 7), 7);
    EXPECT_EQ(mru_.ReadValue("PrevFileName"), "");
}

TEST_F(MruExTest, LongHistoryStaysWhole)
{
    std::string text = "[H]\r\n";
    for (int i = 0; i < 10000; ++i) {
        text += std::to_string(i) + "=entry" + std::to_string(i) + "\r\n";
    }
    std::ofstream(mru_.IniName(), std::ios::binary) << text;
    mru_.AddItem("H", "entry5000");
    std::vector<std::string> items = Items(mru_, "H");
    ASSERT_EQ(items.size(), 10000u);
    EXPECT_EQ(items[0], "entry5000");
    EXPECT_EQ(items[1], "entry0");
    EXPECT_EQ(items[5000], "entry4999");
    EXPECT_EQ(items[5001], "entry5001");
}

TEST_F(MruExTest, SeveralProcessesOnOneDataFolderLoseNoHistoryEntry)
{
    // Eight processes each recording ten projects in the shared project history.
    constexpr int processes = 8;
    constexpr int projects = 10;
    RunInChildren(processes, [&](int p) {
        TMRUEx history(nullptr);
        history.SetIniName("Quorlin.Dat");
        for (int i = 0; i < projects; ++i)
            history.AddItem("ProjectHistory", "/work/p" + std::to_string(p) + "/Project" + std::to_string(i) + ".dpr");
        return 0;
    });
    mru_.SetIniName("Quorlin.Dat");
    std::vector<std::string> items = Items(mru_, "ProjectHistory");
    EXPECT_EQ(items.size(), static_cast<size_t>(processes * projects));
    EXPECT_EQ(std::set<std::string>(items.begin(), items.end()).size(), items.size());
}

}  // namespace
