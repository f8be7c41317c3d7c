// `cmake --install` of this build into a fresh prefix: the command runs from there with its own
// add-in, and the manual page, the completions and the data files are in place.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

TEST(Install, TheInstalledCommandRunsWithItsOwnFiles)
{
    TempFolder folder;
    fs::path prefix = folder / "prefix";
    fs::path dataHome = folder / "run/data";
    QuorlinRun install = RunProgram(QUORLIN_CMAKE_COMMAND, {"--install", QUORLIN_BINARY_DIR, "--prefix", prefix},
                                    folder.Path(), dataHome);
    ASSERT_EQ(install.Status, 0) << install.Out << install.Err;

    std::string installed = (prefix / "bin/quorlin").string();
    fs::path programs = fs::canonical(installed).parent_path();
    EXPECT_TRUE(programs.string().starts_with(prefix.string())) << programs;
    EXPECT_TRUE(fs::exists(programs / "libquorlin.so"));
    QuorlinRun version = RunProgram(installed, {"--version"}, folder.Path(), dataHome);
    EXPECT_EQ(version.Status, 0) << version.Err;
    EXPECT_EQ(version.Out, RunQuorlin({"--version"}, folder.Path(), dataHome).Out);
    fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", folder / "Sample", fs::copy_options::recursive);
    QuorlinRun routines = RunProgram(installed, {"routines", "--unsorted", "Sample/Lib/Utils.pas"}, folder.Path(), dataHome);
    EXPECT_EQ(routines.Status, 0) << routines.Err;
    EXPECT_EQ(routines.Out, "Percent(Part, Whole: Integer): Integer;\nClamp(Value, Low, High: Integer): Integer;\n"
                            "PadLeft(const S: string; Width: Integer): string;\n");
#ifdef QUORLIN_WITH_WORKBENCH
    EXPECT_TRUE(fs::exists(prefix / "bin/quorlin-workbench"));
    EXPECT_TRUE(fs::exists(programs / "quorlin-workbench"));
#endif

    std::string manPage = FileText(prefix / "share/man/man1/quorlin.1");
    EXPECT_TRUE(manPage.starts_with(".TH QUORLIN 1")) << manPage.substr(0, 100);
    QuorlinRun shown = RunProgram("groff", {"-man", "-Tutf8", "-P-cbou", "-ww", (prefix / "share/man/man1/quorlin.1").string()},
                                  folder.Path(), dataHome);
    EXPECT_EQ(shown.Status, 0);
    EXPECT_EQ(shown.Err, "");
    for (const char* command : {"units", "routines", "form", "completion"})
        EXPECT_NE(shown.Out.find(std::string("\n   ") + command + " "), std::string::npos) << command;
    EXPECT_EQ(FileText(prefix / "share/bash-completion/completions/quorlin"),
              RunQuorlin({"completion", "bash"}, folder.Path(), dataHome).Out);
    EXPECT_EQ(FileText(prefix / "share/zsh/vendor-completions/_quorlin"),
              RunQuorlin({"completion", "zsh"}, folder.Path(), dataHome).Out);
    EXPECT_EQ(FileText(prefix / "share/quorlin/components.cat"),
              FileText(fs::path(QUORLIN_SOURCE_DIR) / "data/components.cat"));
}
