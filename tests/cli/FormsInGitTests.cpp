// Binary form files kept in git and compared as text through quorlin, as README shows.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class FormsInGitTest : public testing::Test {
protected:
    QuorlinRun Git(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"-c", "user.name=Quorlin", "-c", "user.email=quorlin@example.org"});
        QuorlinRun run = RunProgram("git", args, repository, folder / "run/data");
        EXPECT_EQ(run.Status, 0) << run.Err;
        return run;
    }

    TempFolder folder;
    fs::path repository = folder / "repository";
};

// The binary form's signature, behind the resource header.
bool IsBinaryForm(const std::string& bytes)
{
    return bytes.find("TPF0") < 64;
}

}  // namespace

TEST_F(FormsInGitTest, DiffShowsARenameInABinaryFormAsText)
{
    fs::create_directories(repository);
    fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample", repository / "Sample", fs::copy_options::recursive);
    ASSERT_TRUE(IsBinaryForm(FileText(repository / "Sample/ViewOptions.dfm")));
    Git({"init", "-q"});
    folder.Write("repository/.gitattributes", "*.dfm diff=dfm\n");
    Git({"config", "diff.dfm.textconv", quorlinBinary.string() + " form --text"});
    Git({"add", "."});
    Git({"commit", "-q", "-m", "Sample"});

    QuorlinRun rename = RunQuorlin({"rename", "Sample/ViewOptions.pas", "CancelButton", "CloseButton"}, repository,
                                   folder / "run/data");
    ASSERT_EQ(rename.Status, 0) << rename.Err;
    ASSERT_TRUE(IsBinaryForm(FileText(repository / "Sample/ViewOptions.dfm")));

    std::string diff = Git({"diff", "--no-color", "--", "Sample/ViewOptions.dfm"}).Out;
    // The text form has CR LF line breaks, as the IDEs write it.
    EXPECT_NE(diff.find("\n-  object CancelButton: TButton\r\n+  object CloseButton: TButton\r\n"),
              std::string::npos)
        << diff;
    EXPECT_EQ(diff.find("Binary files"), std::string::npos) << diff;
}
