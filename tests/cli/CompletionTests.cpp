// The completion scripts of the real quorlin, run by the shells themselves.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "support/TempFolder.h"

namespace {

class CompletionTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Project.dpr", "Unit1.pas", "Form1.dfm", "notes.txt"})
            folder.Write(std::string("work/") + name, "");
        std::filesystem::create_directories(work / "Sub");
        QuorlinRun script = RunQuorlin({"completion", "bash"}, work, folder / "run/data");
        ASSERT_EQ(script.Status, 0) << script.Err;
        folder.Write("quorlin.bash", script.Out);
    }

    // The words bash offers for the command line typed so far, through the function that
    // `complete` registered for quorlin.
    std::string Offered(const std::string& typed)
    {
        std::string words = "(" + typed + (typed.ends_with(' ') ? "''" : "") + ")";
        std::string script = "source ../quorlin.bash\n"
                             "function=$(complete -p quorlin | sed -n 's/.* -F \\([^ ]*\\) .*/\\1/p')\n"
                             "COMP_WORDS=" + words + "\n"
                             "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                             "\"$function\"\n"
                             "printf '%s\\n' \"${COMPREPLY[@]}\" | sort\n";
        QuorlinRun run = RunProgram("bash", {"-c", script}, work, folder / "run/data");
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        return run.Out;
    }

    TempFolder folder;
    std::filesystem::path work = folder / "work";
};

}  // namespace

TEST_F(CompletionTest, BashCompletesCommandsOptionsAndFilesByExtension)
{
    EXPECT_EQ(Offered("quorlin ro"), "routines\n");
    EXPECT_EQ(Offered("quorlin ver"), "version\nversion-info\n");
    EXPECT_EQ(Offered("quorlin --r"), "--raw\n");
    EXPECT_EQ(Offered("quorlin units "), "Project.dpr\nSub\n");
    EXPECT_EQ(Offered("quorlin --home Sub units P"), "Project.dpr\n");
    EXPECT_EQ(Offered("quorlin form "), "Form1.dfm\nSub\n");
    EXPECT_EQ(Offered("quorlin routines U"), "Unit1.pas\n");
    EXPECT_EQ(Offered("quorlin routines --j"), "--jobs\n--json\n");
    EXPECT_EQ(Offered("quorlin routines --jobs "), "\n");
    EXPECT_EQ(Offered("quorlin --home "), "Sub\n");
    EXPECT_EQ(Offered("quorlin insert Unit1.pas --text n"), "notes.txt\n");
    EXPECT_EQ(Offered("quorlin help pro"), "properties\n");
    EXPECT_EQ(Offered("quorlin completion "), "bash\nzsh\n");
}

TEST_F(CompletionTest, ZshReadsItsScript)
{
    QuorlinRun script = RunQuorlin({"completion", "zsh"}, folder.Path(), folder / "run/data");
    ASSERT_EQ(script.Status, 0) << script.Err;
    EXPECT_TRUE(script.Out.starts_with("#compdef quorlin\n"));
    folder.Write("_quorlin", script.Out);
    QuorlinRun check = RunProgram("zsh", {"-n", "_quorlin"}, folder.Path(), folder / "run/data");
    EXPECT_EQ(check.Status, 0) << check.Err;
    EXPECT_EQ(check.Err, "");
}
