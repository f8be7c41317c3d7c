// Class definitions whose properties all have a field and own no instance are complete Object
// Pascal: the Free Pascal compiler in Delphi mode accepts them in every comment style.

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "codegen/ClassSource.h"
#include "support/TempFolder.h"

using namespace quorlin;

namespace {

struct Compilation {
    int Status = -1;
    std::string Output;
};

Compilation Compile(const TempFolder& folder, const std::string& source)
{
    std::string file = folder.Write("Generated.pas", source);
    std::string command = "fpc -Mdelphi -vew -FE'" + folder.Path() + "' '" + file + "' 2>&1";
    Compilation result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[512];
    while (size_t count = fread(buffer, 1, sizeof buffer, pipe))
        result.Output.append(buffer, count);
    int status = pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace

TEST(ClassCompile, DefinitionsWithFieldsCompileInDelphiMode)
{
    TRyCtrlGrid table(nullptr);
    table.SetColumns(PropertyColumns());
    const std::vector<std::vector<std::string>> rows = {
        {"Caption", "String", "Variable", "Variable", "None", "shown text"},
        {"Count", "Longint", "Method", "variable", "", "derived"},
        {"Lines", "TStrings", "Variable", "Method", "None", ""},
        {},
        {"Partner", "TComponent", "Variable", "Method", "Reference", "watched"},
        {"Buddy", "TComponent", "Variable", "Variable", "REFERENCE", ""},
        {"Stamp", "TDateTime", "Variable", "None", "None", "read only"},
        {"OnChange", "TNotifyEvent", "Variable", "Variable", "None", ""},
    };
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column)
            table.SetFieldText(table.Columns()[column].FieldName, row, rows[row][column]);
    }

    for (int style = 0; style < 3; ++style) {
        SCOPED_TRACE("comment style " + std::to_string(style));
        std::string source = "unit Generated;\n\ninterface\n\nuses Classes;\n\ntype\n";
        for (const std::string& line : ClassDefinitionLines(table, {"TGenerated", "TComponent", true, style}))
            source += line + "\n";
        TempFolder folder;
        Compilation compilation = Compile(folder, source);
        EXPECT_EQ(compilation.Status, 0) << compilation.Output << "\n" << source;
    }
}
