// Runs the real quorlin binary, with the real add-in beside it, over every case folder in
// tests/data/cli (see the README there for the files a case holds).

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "platform/Cp932.h"

namespace fs = std::filesystem;

namespace {

const fs::path casesFolder = fs::path(QUORLIN_SOURCE_DIR) / "tests/data/cli";
const fs::path sampleFolder = fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample";
const fs::path quorlinBinary = fs::path(QUORLIN_BINARY_DIR) / "bin/quorlin";

struct RunResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& lineBreak)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(lineBreak, start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + lineBreak.size();
    }
    return lines;
}

// The tokens of a case: @SAMPLE@ the copied sample folder, @TMP@ the case's temporary folder,
// @BIN@ the folder of the quorlin binary and the add-in.
struct Tokens {
    std::string Sample;
    std::string Tmp;
    std::string Bin = quorlinBinary.parent_path().string();

    std::string Apply(std::string text) const
    {
        for (const auto& [token, value] : {std::pair{std::string("@SAMPLE@"), Sample},
                                           std::pair{std::string("@TMP@"), Tmp},
                                           std::pair{std::string("@BIN@"), Bin}}) {
            for (size_t at = text.find(token); at != std::string::npos;
                 at = text.find(token, at + value.size()))
                text.replace(at, token.size(), value);
        }
        return text;
    }
};

// '*' stands for any text, everything else for itself.
bool GlobMatch(std::string_view pattern, std::string_view text)
{
    size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return pattern == text;
    if (text.substr(0, star) != pattern.substr(0, star))
        return false;
    std::string_view rest = pattern.substr(star + 1);
    for (size_t from = star; from <= text.size(); ++from) {
        if (GlobMatch(rest, text.substr(from)))
            return true;
    }
    return false;
}

// Runs quorlin in folder with its own data home, standard output and error caught in files.
RunResult RunQuorlin(const std::vector<std::string>& args, const fs::path& folder, const fs::path& dataHome)
{
    fs::path outFile = dataHome.parent_path() / "stdout";
    fs::path errFile = dataHome.parent_path() / "stderr";
    std::vector<char*> argv;
    std::string program = quorlinBinary.string();
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t child = fork();
    if (child == 0) {
        int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    RunResult result;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child)
        result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadFile(outFile);
    result.Err = ReadFile(errFile);
    return result;
}

// expected-written: the written file's name, then its lines in UTF-8; the file itself is code
// page 932 with every line ended by CR LF.
void CheckWrittenFile(const fs::path& expectation, const Tokens& tokens)
{
    std::vector<std::string> expected = SplitLines(tokens.Apply(ReadFile(expectation)), "\n");
    ASSERT_FALSE(expected.empty());
    fs::path written = expected.front();
    expected.erase(expected.begin());
    ASSERT_TRUE(fs::exists(written)) << written;
    std::string bytes = ReadFile(written);
    ASSERT_TRUE(bytes.ends_with("\r\n")) << "the last line is not ended by CR LF";
    std::vector<std::string> lines = SplitLines(bytes, "\r\n");
    ASSERT_EQ(lines.size(), expected.size()) << bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find('\n'), std::string::npos) << "bare LF in line " << i + 1;
        EXPECT_TRUE(GlobMatch(expected[i], platform::Cp932ToUtf8(lines[i])))
            << "line " << i + 1 << ": " << platform::Cp932ToUtf8(lines[i]) << "\n  expected: " << expected[i];
    }
}

void RunCase(const fs::path& caseFolder)
{
    TempFolder temp;
    fs::path tmp = temp.Path();
    fs::path sample = tmp / "Sample";
    fs::path dataHome = tmp / ".run" / "data";
    fs::create_directories(dataHome.parent_path());
    fs::copy(sampleFolder, sample, fs::copy_options::recursive);
    if (fs::exists(caseFolder / "input"))
        fs::copy(caseFolder / "input", tmp, fs::copy_options::recursive);
    Tokens tokens{sample.string(), tmp.string()};

    std::vector<std::string> args = SplitLines(tokens.Apply(ReadFile(caseFolder / "args")), "\n");
    RunResult result = RunQuorlin(args, tmp, dataHome);

    int expectedStatus = 0;
    if (fs::exists(caseFolder / "expected-status"))
        expectedStatus = std::stoi(ReadFile(caseFolder / "expected-status"));
    EXPECT_EQ(result.Status, expectedStatus) << result.Err;
    EXPECT_EQ(result.Out, tokens.Apply(ReadFile(caseFolder / "expected")));
    std::string expectedErr;
    if (fs::exists(caseFolder / "expected-stderr"))
        expectedErr = tokens.Apply(ReadFile(caseFolder / "expected-stderr"));
    EXPECT_EQ(result.Err, expectedErr);
    if (fs::exists(caseFolder / "expected-written"))
        CheckWrittenFile(caseFolder / "expected-written", tokens);
    if (fs::exists(caseFolder / "expected-home")) {
        for (const std::string& name : SplitLines(ReadFile(caseFolder / "expected-home"), "\n"))
            EXPECT_TRUE(fs::exists(dataHome / "quorlin" / name)) << name << " is not in the default home";
    }
}

}  // namespace

TEST(CliCases, EveryCaseFolderGivesItsExpectedOutput)
{
    ASSERT_TRUE(fs::exists(quorlinBinary)) << quorlinBinary;
    std::vector<fs::path> cases;
    for (const auto& entry : fs::directory_iterator(casesFolder)) {
        if (entry.is_directory())
            cases.push_back(entry.path());
    }
    std::sort(cases.begin(), cases.end());
    ASSERT_GE(cases.size(), 10u);
    for (const fs::path& caseFolder : cases) {
        SCOPED_TRACE(caseFolder.filename().string());
        RunCase(caseFolder);
    }
}
