// The data-access generators over the cases in tests/data/codegen/data-access.

#include "codegen/DataAccessCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Cp932.h"

namespace fs = std::filesystem;

namespace {

const fs::path casesFolder = fs::path(QUORLIN_SOURCE_DIR) / "tests/data/codegen/data-access";

std::vector<std::string> ReadLines(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Generated text is code page 932; the expected files are UTF-8 for people to read.
std::vector<std::string> Shown(const std::vector<std::string>& lines)
{
    std::vector<std::string> shown;
    for (const std::string& line : lines)
        shown.push_back(platform::Cp932ToUtf8(line));
    return shown;
}

TEST(DataAccessCode, EveryCaseGivesItsExpectedRoutines)
{
    std::vector<fs::path> cases;
    for (const auto& entry : fs::directory_iterator(casesFolder)) {
        if (entry.is_directory())
            cases.push_back(entry.path());
    }
    std::sort(cases.begin(), cases.end());
    ASSERT_GE(cases.size(), 2u);
    for (const fs::path& caseFolder : cases) {
        SCOPED_TRACE(caseFolder.filename().string());
        std::vector<std::string> typeWords;
        std::vector<std::string> propNames;
        for (const std::string& line : ReadLines(caseFolder / "properties")) {
            std::istringstream words(line);
            std::string type, name;
            words >> type >> name;
            typeWords.push_back(type);
            propNames.push_back(name);
        }
        EXPECT_EQ(Shown(quorlin::DataSetAccessCode(typeWords, propNames)), ReadLines(caseFolder / "dataset.pas"));
        EXPECT_EQ(Shown(quorlin::CtrlGridAccessCode(typeWords, propNames)), ReadLines(caseFolder / "grid.pas"));
    }
}

}  // namespace
