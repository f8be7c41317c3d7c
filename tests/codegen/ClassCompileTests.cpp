// Class definitions whose properties all have a field and own no instance are complete Object
// Pascal: the Free Pascal compiler accepts them in every comment style, in Delphi mode and in its
// own mode, where comments of one kind nest, whatever the comments hold.

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

Compilation Compile(const TempFolder& folder, const std::string& source, const std::string& mode)
{
    std::string file = folder.Write("Generated.pas", source);
    std::string command = "fpc -M" + mode + " -vew -FE'" + folder.Path() + "' '" + file + "' 2>&1";
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

TEST(ClassCompile, DefinitionsWithFieldsCompile)
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
        // Comments that hold the marks of a comment style: each must still end where it should.
        {"Left", "Longint", "Variable", "Variable", "None", "ends } early; Left := 1;"},
        {"Top", "Longint", "Variable", "Variable", "None", "ends *) early"},
        {"Right", "Longint", "Variable", "Variable", "None", "opens { or (* one"},
        {"Bottom", "Longint", "Variable", "Variable", "None", "\x83\x7d"},  // a two-byte character ending in "}"
        {"Tip", "String", "Variable", "Variable", "None", "two\r\nlines"},
    };
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column)
            table.SetFieldText(table.Columns()[column].FieldName, row, rows[row][column]);
    }

    for (int style = 0; style < 3; ++style) {
        std::string source = "unit Generated;\n\ninterface\n\nuses Classes;\n\ntype\n";
        for (const std::string& line : ClassDefinitionLines(table, {"TGenerated", "TComponent", true, style}))
            source += line + "\n";
        for (const char* mode : {"delphi", "objfpc"}) {
            SCOPED_TRACE("comment style " + std::to_string(style) + ", mode " + mode);
            TempFolder folder;
            Compilation compilation = Compile(folder, source, mode);
            EXPECT_EQ(compilation.Status, 0) << compilation.Output << "\n" << source;
        }
    }
}
