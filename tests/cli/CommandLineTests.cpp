// The command line of the real quorlin: help for quorlin and for each command, in step with the
// commands README documents, README's examples of help and JSON, and --version.

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class CommandLineTest : public testing::Test {
protected:
    QuorlinRun Run(const std::vector<std::string>& args) { return RunQuorlin(args, folder.Path(), folder / "run/data"); }

    TempFolder folder;
};

// The command words of the lines of the list that follows "commands:".
std::set<std::string> ListedCommands(const std::string& help)
{
    std::set<std::string> commands;
    std::istringstream lines(help.substr(help.find("\ncommands:\n") + 11));
    std::string line;
    while (std::getline(lines, line) && !line.empty()) {
        if (line.starts_with("  ") && line[2] != ' ')
            commands.insert(line.substr(2, line.find(' ', 2) - 2));
    }
    return commands;
}

// README's text from a heading to the next heading of that level or above.
std::string ReadmeSection(const std::string& heading)
{
    std::string readme = FileText(fs::path(QUORLIN_SOURCE_DIR) / "README.md");
    size_t start = readme.find("\n" + heading + "\n");
    EXPECT_NE(start, std::string::npos) << heading;
    std::string level = heading.substr(0, heading.find(' ') + 1);
    size_t end = readme.find("\n" + level, start + 1);
    for (std::string above = level.substr(1); end != std::string::npos && above.size() > 2; above = above.substr(1))
        end = std::min(end, readme.find("\n" + above.substr(0, above.size() - 1), start + 1));
    return readme.substr(start, end - start);
}

// The command words of every "quorlin ..." line in README's section on the command.
std::set<std::string> ReadmeCommands()
{
    std::string section = ReadmeSection("## The `quorlin` command");
    std::set<std::string> commands;
    std::regex commandLine(R"(^ +(?:\$ )?(?:build/bin/)?quorlin((?: \[[^\]]*\]| --?[a-z-]+(?: [A-Z]+)?)*) +([a-z-]+))");
    std::istringstream lines(section);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, commandLine))
            commands.insert(match[2]);
    }
    return commands;
}

struct Example {
    std::vector<std::string> Args;
    std::string Output;  // a last line ending in "..." stands for the rest
};

// The "$ quorlin ..." lines of a text, each with the indented lines under it as its output.
std::vector<Example> Examples(const std::string& text)
{
    std::vector<Example> examples;
    std::istringstream lines(text);
    std::string line;
    bool inExample = false;
    while (std::getline(lines, line)) {
        if (line.starts_with("    $ quorlin ")) {
            Example& example = examples.emplace_back();
            std::string word;
            bool quoted = false;
            for (char c : line.substr(14) + " ") {
                if (c == '\'')
                    quoted = !quoted;
                else if (c == ' ' && !quoted && !word.empty())
                    example.Args.push_back(std::exchange(word, ""));
                else if (c != ' ' || quoted)
                    word += c;
            }
            inExample = true;
        } else if (inExample && (line.empty() || line.starts_with("    "))) {
            examples.back().Output += (line.empty() ? "" : line.substr(4)) + "\n";
        } else {
            inExample = false;
        }
    }
    for (Example& example : examples) {
        while (example.Output.ends_with("\n\n"))
            example.Output.pop_back();
    }
    return examples;
}

}  // namespace

TEST_F(CommandLineTest, HelpListsEveryCommandReadmeDocumentsAndEachHasItsOwn)
{
    QuorlinRun help = Run({"--help"});
    ASSERT_EQ(help.Status, 0) << help.Err;
    EXPECT_TRUE(help.Out.starts_with("usage: quorlin [--home DIR] [--addin PATH] [--raw] COMMAND [ARGUMENT...]\n"));
    EXPECT_EQ(Run({"help"}).Out, help.Out);
    EXPECT_EQ(Run({"-h"}).Out, help.Out);

    std::set<std::string> listed = ListedCommands(help.Out);
    std::set<std::string> documented = ReadmeCommands();
    EXPECT_GE(documented.size(), 20u);
    EXPECT_EQ(listed, documented);
    for (const std::string& command : listed) {
        SCOPED_TRACE(command);
        QuorlinRun own = Run({command, "--help"});
        EXPECT_EQ(own.Status, 0) << own.Err;
        EXPECT_TRUE(own.Out.starts_with("usage: quorlin [--home DIR] [--addin PATH] [--raw] " + command)) << own.Out;
        EXPECT_NE(own.Out.find("\nexample:\n  quorlin " + command + " "), std::string::npos) << own.Out;
        EXPECT_EQ(Run({"help", command}).Out, own.Out);
    }
    QuorlinRun unknown = Run({"help", "list"});
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_TRUE(unknown.Err.starts_with("quorlin: help takes one command of quorlin --help's list\n")) << unknown.Err;
}

TEST_F(CommandLineTest, VersionIsTheAddinsFileVersion)
{
    QuorlinRun strings = Run({"version-info", (quorlinBinary.parent_path() / "libquorlin.so").string()});
    ASSERT_EQ(strings.Status, 0) << strings.Err;
    std::istringstream lines(strings.Out);
    std::string fileVersion;
    for (int i = 0; i < 3; ++i)
        std::getline(lines, fileVersion);
    QuorlinRun version = Run({"--version"});
    EXPECT_EQ(version.Status, 0) << version.Err;
    EXPECT_EQ(version.Out, "quorlin " + fileVersion + "\n");

    std::string notAnAddin = folder.Write("plain.so", "no library");
    QuorlinRun refused = Run({"--addin", notAnAddin, "--version"});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Out, "");
    EXPECT_EQ(refused.Err, "quorlin: " + notAnAddin + ": the add-in has no version resource\n");
}

TEST_F(CommandLineTest, ReadmeExamplesOfHelpAndJsonAreWhatTheCommandPrints)
{
    fs::copy(fs::path(QUORLIN_SOURCE_DIR) / "examples", folder / "examples", fs::copy_options::recursive);
    fs::create_directory_symlink(QUORLIN_BINARY_DIR, folder / "build");
    std::vector<Example> examples = Examples(ReadmeSection("## The `quorlin` command"));
    std::vector<Example> json = Examples(ReadmeSection("### JSON for scripts"));
    examples.erase(std::remove_if(examples.begin(), examples.end(),
                                  [](const Example& example) {
                                      return std::find(example.Args.begin(), example.Args.end(), "--help") ==
                                             example.Args.end();
                                  }),
                   examples.end());
    examples.insert(examples.end(), json.begin(), json.end());
    ASSERT_GE(examples.size(), 12u);
    for (const Example& example : examples) {
        std::string command = example.Args.front();
        SCOPED_TRACE(command);
        // listen waits for another program's message; the message commands' test sends it one.
        if (command == "listen")
            continue;
        QuorlinRun run = Run(example.Args);
        EXPECT_EQ(run.Status, 0) << run.Err;
        std::string output = run.Out;
        for (size_t at = output.find(folder.Path()); at != std::string::npos; at = output.find(folder.Path()))
            output.replace(at, folder.Path().size(), "/home/me");
        std::string expected = example.Output;
        size_t rest = expected.rfind("...\n");
        if (rest != std::string::npos && rest + 4 == expected.size()) {
            expected.resize(rest);
            output.resize(std::min(output.size(), expected.size()));
        }
        EXPECT_EQ(output, expected);
    }
}
