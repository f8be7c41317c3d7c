// What the quorlin command does to the files it writes: links are written through, special files
// refused, open descriptors written where they stand, a unit and its form changed together, and
// nothing of its own left beside them.

#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "platform/FileLock.h"
#include "support/BusParticipant.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path dataFolder = fs::path(QUORLIN_SOURCE_DIR) / "tests/data";

class WrittenFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", folder / "Sample", fs::copy_options::recursive);
        fs::copy(dataFolder / "cli/class-unit-written/input/table.prp", folder / "table.prp");
        fs::copy(dataFolder / "cli-inputs/Swap/Swap.pas", folder / "Swap.pas");
        fs::copy(dataFolder / "cli-inputs/Target", folder.Path(), fs::copy_options::recursive);
        fs::copy(dataFolder / "cli/insert-lines/input/Text.txt", folder / "Text.txt");
        fs::create_directories(folder / "real");
    }

    QuorlinRun Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--home", home});
        return RunQuorlin(args, folder.Path(), folder / "run/data");
    }

    // Runs a command line through the shell in the folder, for redirections; answers its status.
    int Shell(const std::string& arguments)
    {
        std::string command = "cd '" + folder.Path() + "' && XDG_DATA_HOME='" + folder / "run/data" + "' '"
                            + quorlinBinary.string() + "' --home '" + home + "' " + arguments;
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Moves the file into real/ and leaves a relative link to it in its place.
    std::string LinkFromReal(const std::string& name)
    {
        std::string real = folder / ("real/" + fs::path(name).filename().string());
        if (fs::exists(folder / name))
            fs::rename(folder / name, real);
        fs::path link = folder / name;
        fs::create_symlink(fs::relative(real, link.parent_path()), link);
        return real;
    }

    TempFolder folder;
    PrivateRuntimeFolder runtime;
    std::string home = folder / "home";
};

// The files named in a folder, and below it.
std::vector<std::string> FilesBelow(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(WrittenFilesTest, EveryCommandWritesThroughLinks)
{
    struct Case {
        std::string written;
        std::vector<std::string> args;
    };
    std::vector<Case> cases = {
        {"Geometry.pas", {"class-unit", "table.prp", "--class", "TGeometry", "--base", "TComponent", "-o", "Geometry.pas"}},
        {"routines.txt", {"report", "Sample/Shapes.pas", "-o", "routines.txt"}},
        {"Swap.pas", {"swap", "Swap.pas", "--block", "9-15", "--cursor", "16"}},
        {"Target.pas", {"insert", "Target.pas", "--cursor", "8", "--text", "Text.txt"}},
        {"home/Version.ini", {"version", "Sample/Sample.dpr", "--set", "Version=1.2"}},
    };
    fs::create_directories(home);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        std::string real = LinkFromReal(c.written);
        std::string before = TempFolder::Read(real);
        QuorlinRun run = Run(c.args);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_TRUE(fs::is_symlink(folder / c.written));
        EXPECT_NE(TempFolder::Read(real), before);
        EXPECT_NE(TempFolder::Read(real), "");
    }

    // rename writes the unit and its form, both through their links.
    std::string unit = LinkFromReal("Sample/MainForm.pas");
    std::string form = LinkFromReal("Sample/MainForm.dfm");
    QuorlinRun run = Run({"rename", "Sample/MainForm.pas", "Button1", "OkButton"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::is_symlink(folder / "Sample/MainForm.pas"));
    EXPECT_TRUE(fs::is_symlink(folder / "Sample/MainForm.dfm"));
    EXPECT_NE(TempFolder::Read(unit).find("OkButton: TButton;"), std::string::npos);
    EXPECT_NE(TempFolder::Read(form).find("object OkButton: TButton"), std::string::npos);
}

TEST_F(WrittenFilesTest, SpecialFilesAreNeverWrittenOver)
{
    ASSERT_EQ(mkfifo((folder / "Geometry.pas").c_str(), 0600), 0);
    QuorlinRun run = Run({"class-unit", "table.prp", "--class", "TGeometry", "--base", "TComponent", "-o", "Geometry.pas"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: Geometry.pas: not a regular file\n");
    EXPECT_TRUE(fs::is_fifo(folder / "Geometry.pas"));

    fs::create_symlink("/dev/null", folder / "null.pas");
    run = Run({"class-unit", "table.prp", "--class", "TGeometry", "--base", "TComponent", "-o", "null.pas"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: /dev/null: not a regular file\n");
    EXPECT_TRUE(fs::is_symlink(folder / "null.pas"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(WrittenFilesTest, OutputToAnOpenDescriptorIsWrittenNotReplaced)
{
    folder.Write("important.log", "kept\n");
    EXPECT_EQ(Shell("report Sample/Shapes.pas -o /dev/stdout >> important.log"), 0);
    std::string log = TempFolder::Read(folder / "important.log");
    EXPECT_EQ(log.rfind("kept\n", 0), 0u) << log;
    EXPECT_NE(log.find("TShape.Area: Integer;\r\n"), std::string::npos) << log;

    EXPECT_EQ(Shell("report Sample/Shapes.pas -o /proc/self/fd/3 3>>important.log"), 0);
    std::string twice = TempFolder::Read(folder / "important.log");
    EXPECT_EQ(twice.rfind(log, 0), 0u);
    EXPECT_NE(twice.find("TShape.Area: Integer;\r\n", log.size()), std::string::npos) << twice;

    EXPECT_EQ(Shell("report Sample/Shapes.pas -o /dev/stdout | cat > piped.txt"), 0);
    std::string piped = TempFolder::Read(folder / "piped.txt");
    EXPECT_NE(piped.find("TShape.Area: Integer;\r\n"), std::string::npos) << piped;
    EXPECT_TRUE(fs::is_regular_file(folder / "piped.txt"));
}

TEST_F(WrittenFilesTest, RenameLeavesUnitAndFormInStepWhenTheFormCannotBeWritten)
{
    // The form is read through a link, but no temporary file fits beside the file it leads to.
    std::string longName = std::string(240, 'F') + ".dfm";
    fs::rename(folder / "Sample/MainForm.dfm", folder / ("Sample/" + longName));
    fs::create_symlink(longName, folder / "Sample/MainForm.dfm");
    std::string unit = TempFolder::Read(folder / "Sample/MainForm.pas");
    std::string form = TempFolder::Read(folder / ("Sample/" + longName));
    std::vector<std::string> files = FilesBelow(folder / "Sample");

    QuorlinRun run = Run({"rename", "Sample/MainForm.pas", "Button1", "OkButton"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "quorlin: Sample/MainForm.pas: the renamed form could not be saved\n");
    EXPECT_EQ(TempFolder::Read(folder / "Sample/MainForm.pas"), unit);
    EXPECT_EQ(TempFolder::Read(folder / ("Sample/" + longName)), form);
    EXPECT_EQ(FilesBelow(folder / "Sample"), files);
}

TEST_F(WrittenFilesTest, RenameKilledWhileWritingLeavesUnitAndFormInStep)
{
    // A form large enough that writing it takes a while: a memo of many lines.
    std::string dfm = TempFolder::Read(folder / "Sample/MainForm.dfm");
    std::string lines = "    Lines.Strings = (\r\n";
    for (int i = 0; i < 200000; ++i)
        lines += "      'line " + std::to_string(i) + " of a long memo'\r\n";
    lines += "      'end')\r\n";
    size_t memo = dfm.find("object Memo1: TMemo");
    ASSERT_NE(memo, std::string::npos);
    dfm.insert(dfm.find("\r\n", memo) + 2, lines);
    folder.Write("Sample/MainForm.dfm", dfm);

    int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, (folder / "Sample").c_str(), IN_CREATE), 0);
    std::string unitFile = folder / "Sample/MainForm.pas";
    std::vector<std::string> args = {quorlinBinary.string(), "--home", home, "rename", unitFile, "Button1", "OkButton"};
    pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        setenv("XDG_DATA_HOME", (folder / "run/data").c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ASSERT_GT(child, 0);
    // Killed as soon as the form's temporary file appears.
    alignas(inotify_event) char events[4096];
    bool killed = false;
    while (!killed) {
        ssize_t got = read(watch, events, sizeof events);
        ASSERT_GT(got, 0);
        for (char* at = events; at < events + got;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            if (event->len > 0 && std::string(event->name).rfind("MainForm.dfm.", 0) == 0) {
                kill(child, SIGKILL);
                killed = true;
            }
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    bool unitRenamed = TempFolder::Read(unitFile).find("OkButton: TButton;") != std::string::npos;
    bool formRenamed = TempFolder::Read(folder / "Sample/MainForm.dfm").find("object OkButton") != std::string::npos;
    EXPECT_EQ(unitRenamed, formRenamed);
    // What the killed writer left is gone with the next write of the same files.
    QuorlinRun run = Run({"rename", "Sample/MainForm.pas", unitRenamed ? "OkButton" : "Button1", "Button2"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    for (const std::string& name : FilesBelow(folder / "Sample"))
        EXPECT_EQ(name.find(".quorlin-"), std::string::npos) << name;
}

TEST_F(WrittenFilesTest, ReadingTakesNoLockAndLeavesNone)
{
    ChildProcess holder([&](int report) {
        platform::FileLock tree(folder / "Sample/Tasks.ini");
        platform::FileLock details(folder / "Sample/Tasks.txt");
        platform::FileLock table(folder / "table.prp");
        Report(report, tree.Held() && details.Held() && table.Held() ? "held" : "not held");
        pause();
        return 0;
    });
    ASSERT_EQ(holder.ReadLine(), "held");
    QuorlinRun run = Run({"tasks", "Sample/Tasks.ini"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    run = Run({"class-unit", "table.prp", "--class", "TGeometry", "--base", "TComponent", "-o", "Geometry.pas"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    for (const std::string& name : FilesBelow(folder.Path()))
        EXPECT_FALSE(name.ends_with(".lock")) << name;
}

}  // namespace
