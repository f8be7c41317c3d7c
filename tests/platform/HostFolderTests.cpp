#include "platform/HostFolder.h"

#include "platform/FilePath.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;

TEST(HostFolder, DefaultsToTheRunningExecutable)
{
    SetHostFolder("");
    SetHostExeName("");
    std::string folder = HostFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(HostExeName(), "test_platform");
    EXPECT_TRUE(FileExists(folder + HostExeName()));
    EXPECT_EQ(folder, std::filesystem::canonical(QUORLIN_BINARY_DIR "/bin").string() + "/");
}

TEST(HostFolder, SettersOverrideAndInHostFolderResolvesBareNames)
{
    SetHostFolder("/opt/ide");
    SetHostExeName("ide.exe");
    EXPECT_EQ(HostFolder(), "/opt/ide/");
    EXPECT_EQ(HostExeName(), "ide.exe");
    EXPECT_EQ(InHostFolder("Class.ini"), "/opt/ide/Class.ini");
    EXPECT_EQ(InHostFolder("/tmp/Class.ini"), "/tmp/Class.ini");
    EXPECT_EQ(InHostFolder("sub\\Class.ini"), "sub\\Class.ini");
    SetHostFolder("/opt/other/");
    EXPECT_EQ(HostFolder(), "/opt/other/");

    SetHostFolder("");
    SetHostExeName("");
    EXPECT_NE(HostFolder(), "/opt/other/");
    EXPECT_EQ(HostExeName(), "test_platform");
}
