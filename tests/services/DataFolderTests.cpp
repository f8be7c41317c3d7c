#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "support/ToolWindowFixture.h"
#include "platform/FilePath.h"

namespace {

using Lines = std::vector<std::string>;

class DataFolderTest : public ToolWindowFixture {};

TEST_F(DataFolderTest, TheJumpHistoryReplacesALinkAndStaleTemporariesGo)
{
    std::string victim = WriteFile("victim.txt", "precious");
    ASSERT_EQ(symlink(victim.c_str(), (folder / "Quorlin.Jmp").c_str()), 0);
    // What processes killed while writing left behind, and files that only look alike.
    for (const char* name : {"Quorlin.Jmp.quorlin-Ab12Cd", "Quorlin.Dat.quorlin-zz99ZZ", "CodeIni.Ini.quorlin-000000",
                             "Notes.txt.quorlin-Ab12Cd", "Quorlin.Dat.bak", "Quorlin.Dat.backup"})
        WriteFile(name, "");

    CreateForm();
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_TRUE(platform::FileExists(folder / "Quorlin.Jmp"));
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "Quorlin.Jmp"));
    for (const char* gone : {"Quorlin.Jmp.quorlin-Ab12Cd", "Quorlin.Dat.quorlin-zz99ZZ", "CodeIni.Ini.quorlin-000000"})
        EXPECT_FALSE(std::filesystem::exists(folder / gone)) << gone;
    for (const char* kept : {"Notes.txt.quorlin-Ab12Cd", "Quorlin.Dat.bak", "Quorlin.Dat.backup"})
        EXPECT_TRUE(std::filesystem::exists(folder / kept)) << kept;
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(DataFolderTest, ASettingsFileThatIsNoFileIsReportedOnce)
{
    std::filesystem::create_directory(folder / "Quorlin.Dat");
    ASSERT_EQ(mkfifo((folder / "CodeIni.Ini").c_str(), 0600), 0);
    alarm(20);  // a FIFO that is waited on would hang the test
    CreateForm();
    EXPECT_EQ(MessageTexts(), (Lines{folder / "Quorlin.Dat" + ": not a regular file; its settings are neither read nor saved",
                                     folder / "CodeIni.Ini" + ": not a regular file; its settings are neither read nor saved"}));
    delete quorlin::CodeForm;
    CreateForm();  // a later window of the same process says nothing new
    alarm(0);
    EXPECT_EQ(desktop.Messages().size(), 2u);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Quorlin.Dat"));
}

TEST_F(DataFolderTest, AJumpHistoryThatIsAFifoFailsTheWindowAtOnce)
{
    ASSERT_EQ(mkfifo((folder / "Quorlin.Jmp").c_str(), 0600), 0);
    alarm(20);
    try {
        CreateForm();
        ADD_FAILURE() << "the window was created";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file: " + folder / "Quorlin.Jmp" + ": not a regular file");
    }
    alarm(0);
    quorlin::CodeForm = nullptr;
}

}  // namespace
