// The outline of a unit is the tool window's routine list: for every unit of examples/ and for 200
// units of fpc-source, documentSymbol gives the entries `quorlin routines --unsorted` prints, in
// its order, and each selection stands on the line `quorlin jump` reaches.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "LspClient.h"
#include "lsp/TextEncoding.h"
#include "lsp/WorkspaceFiles.h"
#include "platform/Cp932.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const fs::path fpcSource = "/usr/share/fpcsrc";

// The units under folder, sorted.
std::vector<std::string> UnitsUnder(const fs::path& folder)
{
    std::vector<std::string> units;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && lsp::IsUnitFile(entry.path().string()))
            units.push_back(entry.path().string());
    }
    std::sort(units.begin(), units.end());
    return units;
}

// The entries `routines --unsorted --raw` prints for each file, in UTF-8 as a client gets them.
std::map<std::string, std::vector<std::string>> CommandRoutines(const std::vector<std::string>& files,
                                                                const TempFolder& folder)
{
    // Several files: each list comes after a header naming its file.
    std::vector<std::string> args = {"routines", "--unsorted", "--raw"};
    args.insert(args.end(), files.begin(), files.end());
    QuorlinRun run = RunQuorlin(args, folder.Path(), folder / "run/data");
    EXPECT_EQ(run.Status, 0) << run.Err;
    std::map<std::string, std::vector<std::string>> routines;
    std::vector<std::string>* current = nullptr;
    lsp::Encoding encoding = lsp::Encoding::Utf8;
    for (size_t start = 0; start < run.Out.size();) {
        size_t end = run.Out.find('\n', start);
        std::string line = run.Out.substr(start, end - start);
        start = end + 1;
        if (line.starts_with("==> ") && line.ends_with(" <==")) {
            std::string file = line.substr(4, line.size() - 8);
            current = &routines[file];
            encoding = lsp::DetectEncoding(TempFolder::Read(file)).Kind;
        } else if (current) {
            current->push_back(lsp::DecodeFromFile(line, encoding));
        }
    }
    return routines;
}

// Checks the outline of every file against the command; every step-th file's entries also against
// the lines of `quorlin jump`.
void ExpectOutlinesOfCommand(const std::string& workspace, const std::vector<std::string>& files, size_t step)
{
    TempFolder folder;
    std::map<std::string, std::vector<std::string>> expected = CommandRoutines(files, folder);
    ASSERT_EQ(expected.size(), files.size());
    LspClient client(folder / "home");
    client.Initialize(workspace);
    size_t symbols = 0;
    for (size_t f = 0; f < files.size(); ++f) {
        const std::string& file = files[f];
        json answer = client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", LspClient::Uri(file)}}}});
        ASSERT_TRUE(answer.contains("result")) << file << ": " << answer.dump();
        const json& outline = answer["result"];
        const std::vector<std::string>& entries = expected[file];
        ASSERT_EQ(outline.size(), entries.size()) << file;
        for (size_t i = 0; i < entries.size(); ++i) {
            std::string name = outline[i]["name"];
            std::string whole = (name == " " ? "" : name) + outline[i]["detail"].get<std::string>();
            EXPECT_EQ(whole, entries[i]) << file << " entry " << i;
            int line = outline[i]["selectionRange"]["start"]["line"];
            EXPECT_EQ(outline[i]["range"]["start"]["line"], line);
        }
        symbols += entries.size();
        if (f % step != 0 || entries.empty())
            continue;
        // The first and the last entry, which the jump finds nearest to and farthest from the
        // implementation line.
        std::string raw = TempFolder::Read(file);
        bool cp932 = lsp::DetectEncoding(raw).Kind == lsp::Encoding::Cp932;
        for (size_t i : {size_t{0}, entries.size() - 1}) {
            std::string entry = cp932 ? platform::Utf8ToCp932(entries[i]) : entries[i];
            if (entry.empty())
                continue;
            QuorlinRun jump = RunQuorlin({"jump", "--raw", file, entry}, folder.Path(), folder / "run/data");
            // An entry whose text is not in the source as it stands ("{procedure X;}" lists
            // "{ X;}") has no line to jump to.
            if (jump.Status == 1 && jump.Out.empty())
                continue;
            ASSERT_EQ(jump.Status, 0) << file << ": " << entries[i] << "\n" << jump.Err;
            EXPECT_EQ(outline[i]["selectionRange"]["start"]["line"].get<int>() + 1, std::stoi(jump.Out))
                << file << ": " << entries[i];
        }
    }
    EXPECT_GT(symbols, 0u);
    EXPECT_EQ(client.Finish(), 0);
}

TEST(OutlineTest, EveryUnitOfTheExamplesHasTheCommandsRoutineList)
{
    fs::path examples = fs::path(QUORLIN_SOURCE_DIR) / "examples";
    std::vector<std::string> files = UnitsUnder(examples);
    ASSERT_GE(files.size(), 6u);
    ExpectOutlinesOfCommand(examples.string(), files, 1);
}

TEST(OutlineTest, TwoHundredUnitsOfFpcSourceHaveTheCommandsRoutineLists)
{
    ASSERT_TRUE(fs::is_directory(fpcSource)) << "fpc-source is not installed (scripts/install-deps installs it)";
    std::vector<std::string> all = UnitsUnder(fpcSource);
    ASSERT_GE(all.size(), 200u);
    // Spread over the whole tree, so that every part of it (compiler, rtl, packages) is met; copied,
    // so that the workspace holds these units only.
    TempFolder copies;
    std::vector<std::string> files;
    for (size_t i = 0; i < 200; ++i) {
        const std::string& source = all[i * all.size() / 200];
        std::string copy = copies / fs::relative(source, fpcSource).string();
        fs::create_directories(fs::path(copy).parent_path());
        fs::copy_file(source, copy);
        files.push_back(copy);
    }
    ExpectOutlinesOfCommand(copies.Path(), files, 10);
}

}  // namespace
