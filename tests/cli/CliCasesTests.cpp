// Runs the real quorlin binary, with the real add-in beside it, over every case folder in
// tests/data/cli (see the README there for the files a case holds).

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/QuorlinRun.h"
#include "support/TempFolder.h"
#include "platform/Cp932.h"

namespace fs = std::filesystem;

namespace {

const fs::path dataFolder = fs::path(QUORLIN_SOURCE_DIR) / "tests/data";
const fs::path casesFolder = dataFolder / "cli";
const fs::path sampleFolder = fs::path(QUORLIN_SOURCE_DIR) / "examples/Sample";

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

// expected-written: the written file's name, then its lines in UTF-8; the file itself is code
// page 932 with every line ended by CR LF.
void CheckWrittenFile(const fs::path& expectation, const Tokens& tokens)
{
    std::vector<std::string> expected = SplitLines(tokens.Apply(FileText(expectation)), "\n");
    ASSERT_FALSE(expected.empty());
    fs::path written = expected.front();
    expected.erase(expected.begin());
    ASSERT_TRUE(fs::exists(written)) << written;
    std::string bytes = FileText(written);
    ASSERT_TRUE(bytes.ends_with("\r\n")) << "the last line is not ended by CR LF";
    std::vector<std::string> lines = SplitLines(bytes, "\r\n");
    ASSERT_EQ(lines.size(), expected.size()) << bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find('\n'), std::string::npos) << "bare LF in line " << i + 1;
        EXPECT_TRUE(GlobMatch(expected[i], platform::Cp932ToUtf8(lines[i])))
            << "line " << i + 1 << ": " << platform::Cp932ToUtf8(lines[i]) << "\n  expected: " << expected[i];
    }
}

// The bytes of every file under folder, by path, leaving out the command's own data folder.
std::map<fs::path, std::string> Snapshot(const fs::path& folder)
{
    std::map<fs::path, std::string> files;
    for (auto entry = fs::recursive_directory_iterator(folder); entry != fs::recursive_directory_iterator();
         ++entry) {
        if (entry->path().filename() == ".run")
            entry.disable_recursion_pending();
        else if (entry->is_regular_file())
            files[entry->path()] = TempFolder::Read(entry->path().string());
    }
    return files;
}

// expected-changed: the files that existed before and may have changed; every other one must keep
// its bytes.
void CheckUnchangedFiles(const std::map<fs::path, std::string>& before, const fs::path& expectation,
                         const Tokens& tokens)
{
    std::vector<std::string> changed = SplitLines(tokens.Apply(TempFolder::Read(expectation.string())), "\n");
    for (const auto& [file, bytes] : before) {
        bool mayChange = std::find(changed.begin(), changed.end(), file.string()) != changed.end();
        if (!mayChange)
            EXPECT_EQ(TempFolder::Read(file.string()), bytes) << file << " changed";
        else
            EXPECT_NE(TempFolder::Read(file.string()), bytes) << file << " did not change";
    }
}

// The command leaves no lock or temporary file of its own among the user's files.
void CheckNothingLeftBehind(const fs::path& folder)
{
    for (const auto& [file, bytes] : Snapshot(folder)) {
        std::string name = file.filename().string();
        EXPECT_FALSE(name.ends_with(".lock") || name.find(".quorlin-") != std::string::npos) << file << " left behind";
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
    if (fs::exists(caseFolder / "shared-input")) {
        for (const std::string& shared : SplitLines(FileText(caseFolder / "shared-input"), "\n")) {
            ASSERT_TRUE(fs::is_directory(dataFolder / shared)) << shared;
            fs::copy(dataFolder / shared, tmp, fs::copy_options::recursive);
        }
    }
    Tokens tokens{sample.string(), tmp.string()};
    std::map<fs::path, std::string> before = Snapshot(tmp);

    std::vector<std::string> args = SplitLines(tokens.Apply(FileText(caseFolder / "args")), "\n");
    QuorlinRun result = RunQuorlin(args, tmp, dataHome);

    int expectedStatus = 0;
    if (fs::exists(caseFolder / "expected-status"))
        expectedStatus = std::stoi(FileText(caseFolder / "expected-status"));
    EXPECT_EQ(result.Status, expectedStatus) << result.Err;
    EXPECT_EQ(result.Out, tokens.Apply(FileText(caseFolder / "expected")));
    std::string expectedErr;
    if (fs::exists(caseFolder / "expected-stderr"))
        expectedErr = tokens.Apply(FileText(caseFolder / "expected-stderr"));
    EXPECT_EQ(result.Err, expectedErr);
    if (fs::exists(caseFolder / "expected-written"))
        CheckWrittenFile(caseFolder / "expected-written", tokens);
    if (fs::exists(caseFolder / "expected-changed"))
        CheckUnchangedFiles(before, caseFolder / "expected-changed", tokens);
    CheckNothingLeftBehind(tmp);
    if (fs::exists(caseFolder / "expected-home")) {
        for (const std::string& name : SplitLines(FileText(caseFolder / "expected-home"), "\n"))
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
