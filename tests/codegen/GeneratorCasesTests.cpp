// Runs the class and method generators and the table files over every case folder in
// tests/data/codegen/definitions (see the README there for the files a case holds).

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codegen/ClassSource.h"
#include "codegen/MethodSource.h"
#include "platform/Cp932.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using namespace quorlin;

namespace {

const fs::path casesFolder = fs::path(QUORLIN_SOURCE_DIR) / "tests/data/codegen/definitions";

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::map<std::string, std::string> ReadOptions(const fs::path& file)
{
    std::map<std::string, std::string> options;
    for (const std::string& line : SplitLines(TempFolder::Read(file))) {
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            options[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return options;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The text a case produces, in UTF-8 with LF line ends.
std::string RunCase(const fs::path& caseFolder)
{
    std::map<std::string, std::string> options = ReadOptions(caseFolder / "options");
    const std::string& generator = options["generator"];
    bool methods = generator == "methods";
    TRyCtrlGrid grid(nullptr);
    grid.SetColumns(methods ? MethodColumns() : PropertyColumns());
    grid.SetDataRowCount(methods ? 4 : 1);
    grid.LoadFromFile(caseFolder / (methods ? "table.met" : "table.prp"));

    std::vector<std::string> lines;
    if (generator == "save-table") {
        TempFolder temp;
        std::string saved = temp.Write("saved.prp", TempFolder::Read(caseFolder / "existing.prp"));
        EXPECT_TRUE(grid.SaveToFile(saved));
        std::string text = TempFolder::Read(saved);
        EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "lines end with CR LF";
        return Replace(text, "\r\n", "\n");
    }
    if (methods) {
        lines = MethodDefinitionLines(grid, options["class"]);
    } else {
        ClassDescription description{options["class"], options["base"], options.contains("comments"),
                                     options.contains("comments") ? std::stoi(options["comments"]) : 0};
        if (generator == "class-def") {
            lines = ClassDefinitionLines(grid, description);
        } else {
            std::vector<std::string> unitComment;
            if (fs::exists(caseFolder / "unit-comment")) {
                for (const std::string& line : SplitLines(TempFolder::Read(caseFolder / "unit-comment")))
                    unitComment.push_back(platform::Utf8ToCp932(line));
            }
            lines = ClassUnitLines(options["unit"], grid, description, unitComment);
        }
    }
    std::string text;
    for (const std::string& line : lines)
        text += platform::Cp932ToUtf8(line) + "\n";
    return text;
}

}  // namespace

TEST(GeneratorCases, EveryCaseFolderGivesItsExpectedText)
{
    std::vector<fs::path> cases;
    for (const auto& entry : fs::directory_iterator(casesFolder)) {
        if (entry.is_directory())
            cases.push_back(entry.path());
    }
    std::sort(cases.begin(), cases.end());
    ASSERT_GE(cases.size(), 12u);
    for (const fs::path& caseFolder : cases) {
        SCOPED_TRACE(caseFolder.filename().string());
        EXPECT_EQ(RunCase(caseFolder), TempFolder::Read(caseFolder / "expected"));
    }
}

TEST(TableFiles, ShorterTableSavedOverALongerFileLoadsBackWithTheFilesLaterRows)
{
    TempFolder temp;
    std::string file = temp / "table.prp";
    TRyCtrlGrid longer(nullptr);
    longer.SetColumns(PropertyColumns());
    for (int row = 0; row < 3; ++row) {
        longer.SetFieldText("PropName", row, "Name" + std::to_string(row));
        longer.SetFieldText("Coment", row, " kept as typed ");
    }
    ASSERT_TRUE(longer.SaveToFile(file));

    TRyCtrlGrid shorter(nullptr);
    shorter.SetColumns(PropertyColumns());
    shorter.SetFieldText("PropName", 0, "First");
    ASSERT_TRUE(shorter.SaveToFile(file));

    TRyCtrlGrid loaded(nullptr);
    loaded.SetColumns(PropertyColumns());
    loaded.LoadFromFile(file);
    ASSERT_EQ(loaded.DataRowCount(), 3);
    EXPECT_EQ(loaded.FieldText("PropName", 0), "First");
    EXPECT_EQ(loaded.FieldText("Coment", 0), "");
    EXPECT_EQ(loaded.FieldText("PropName", 2), "Name2");
    // Blanks around a value are written but, as in every ini file, not read back.
    EXPECT_NE(TempFolder::Read(file).find("2= kept as typed \r\n"), std::string::npos);
    EXPECT_EQ(loaded.FieldText("Coment", 2), "kept as typed");
}
