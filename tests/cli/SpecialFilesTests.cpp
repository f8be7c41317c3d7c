// The quorlin command given FIFOs, devices and folders where files belong, several processes on
// one data folder, and units with lines too long for the routine scan.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "support/ChildProcesses.h"
#include "support/TempFolder.h"
#include "platform/IniFile.h"

namespace fs = std::filesystem;

namespace {

class SpecialFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", folder / "Sample", fs::copy_options::recursive);
        fs::create_directories(home);
    }

    QuorlinRun Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--home", home});
        return RunQuorlin(args, folder.Path(), folder / "run/data");
    }

    std::string MakeFifo(const std::string& name)
    {
        std::string fileName = folder / name;
        EXPECT_EQ(mkfifo(fileName.c_str(), 0600), 0);
        return fileName;
    }

    TempFolder folder;
    std::string home = folder / "home";
};

const std::string shapesRoutines = "TShape.Area: Integer;\nTShape.Create(AKind: TShapeKind);\nTShape.Destroy;\n"
                                   "TShape.Resize(AWidth,\nTShape.Scale(Factor: Integer); { 大きさを倍率で変える }\n"
                                   "{ TShape.Mirror;}\n";

TEST_F(SpecialFilesTest, FifosAndDevicesAreRefusedAndTheCommandGoesOn)
{
    MakeFifo("f.pas");
    MakeFifo("f.dpr");
    QuorlinRun run = Run({"routines", "f.pas", "Sample/Shapes.pas"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: f.pas: not a regular file\n");
    EXPECT_EQ(run.Out, "==> Sample/Shapes.pas <==\n" + shapesRoutines);

    run = Run({"units", "f.dpr"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: f.dpr: not a regular file\n");

    // A project may name a FIFO as a unit: it is listed, and refused when it is opened.
    folder.Write("P.dpr", "program P;\nuses\n  F in 'f.pas',\n  Shapes in 'Sample/Shapes.pas';\nbegin\nend.\n");
    run = Run({"units", "P.dpr"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, folder / "f.pas\n" + folder / "Sample/Shapes.pas\n");
    run = Run({"jump", "f.pas", "Anything;"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: f.pas: not a regular file\n");
}

TEST_F(SpecialFilesTest, TheReportGoesExactlyToTheFileGiven)
{
    QuorlinRun run = Run({"report", "Sample/Shapes.pas", "-o", "routines"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::is_regular_file(folder / "routines"));
    EXPECT_FALSE(fs::exists(folder / "routines.ini"));

    run = Run({"report", "Sample/Shapes.pas", "-o", "/dev/full"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: /dev/full: not a regular file\n");
    run = Run({"report", "Sample/Shapes.pas", "-o", folder.Path()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: " + folder.Path() + ": Is a directory\n");
    EXPECT_FALSE(fs::exists(folder.Path() + ".ini"));
    std::string fifo = MakeFifo("out.fifo");
    run = Run({"report", "Sample/Shapes.pas", "-o", fifo});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: " + fifo + ": not a regular file\n");
}

TEST_F(SpecialFilesTest, SettingsFilesThatAreNoFiles)
{
    // A settings file that is a folder or a FIFO: said once, and the command does its work.
    fs::create_directory(home + "/Quorlin.Dat");
    ASSERT_EQ(mkfifo((home + "/CodeIni.Ini").c_str(), 0600), 0);
    QuorlinRun run = Run({"routines", "Sample/Shapes.pas"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "quorlin: " + home + "/Quorlin.Dat: not a regular file; its settings are neither read nor saved\n"
                       "quorlin: " + home + "/CodeIni.Ini: not a regular file; its settings are neither read nor saved\n");
    EXPECT_EQ(run.Out, shapesRoutines);

    // A jump history that is a FIFO cannot be made anew: the tool window fails at once.
    fs::remove(home + "/Quorlin.Jmp");
    ASSERT_EQ(mkfifo((home + "/Quorlin.Jmp").c_str(), 0600), 0);
    run = Run({"routines", "Sample/Shapes.pas"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Cannot create file: " + home + "/Quorlin.Jmp: not a regular file"), std::string::npos)
        << run.Err;
}

TEST_F(SpecialFilesTest, SeveralProcessesOnOneDataFolderKeepEveryProject)
{
    constexpr int processes = 8;
    auto project = [](int i) { return "P" + std::to_string(i) + ".dpr"; };
    for (int i = 0; i < processes; ++i)
        folder.Write(project(i), "program P;\nuses\n  Shapes in 'Sample/Shapes.pas';\nbegin\nend.\n");
    RunInChildren(processes, [&](int i) {
        QuorlinRun run = RunQuorlin({"--home", home, "units", project(i)}, folder.Path(),
                                    folder / ("run" + std::to_string(i) + "/data"));
        return run.Status == 0 ? 0 : 1;
    });
    platform::IniFile settings(home + "/Quorlin.Dat");
    std::set<std::string> projects;
    for (const std::string& key : settings.ReadSection("ProjectHistory"))
        projects.insert(settings.ReadString("ProjectHistory", key, ""));
    EXPECT_EQ(projects.size(), static_cast<size_t>(processes));
}

TEST_F(SpecialFilesTest, AScanEndedByALongLineIsReported)
{
    std::string unit = folder.Write("Long.pas", "unit Long;\r\nimplementation\r\nprocedure A;\r\nprocedure B"
                                                    + std::string(1100, 'x') + "\r\nprocedure C;\r\nend.\r\n");
    QuorlinRun run = Run({"routines", "Long.pas"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "A;\n");
    EXPECT_EQ(run.Err, "quorlin: warning: " + unit + ":4: the routine list ends here: the line is 1022 bytes or longer\n");
}

}  // namespace
