#include "codegen/ClassSource.h"

#include <algorithm>
#include <string_view>

#include "platform/Cp932.h"

namespace quorlin {

namespace {

struct CommentDelimiters {
    const char* Open;
    const char* Close;
};

CommentDelimiters Delimiters(int style)
{
    switch (style) {
    case 1:
        return {"(* ", " *)"};
    case 2:
        return {"{ ", " }"};
    default:
        return {"//", ""};
    }
}

// Whether text would end a comment of the style early, or open one inside it where comments nest
// (Free Pascal's own modes). Bytes are compared one by one, as a compiler does: "}" is also the
// second byte of some two-byte characters.
bool BreaksComment(std::string_view text, int style)
{
    switch (style) {
    case 1:
        return text.find("*)") != std::string_view::npos || text.find("(*") != std::string_view::npos;
    case 2:
        return text.find_first_of("{}") != std::string_view::npos;
    default:
        return false;
    }
}

// A comment of one line that its text cannot break out of: the chosen style, or "//" where the
// text would break that; a line break inside the text becomes a blank.
std::string FieldComment(std::string text, int style)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    CommentDelimiters delimiters = Delimiters(BreaksComment(text, style) ? 0 : style);
    return delimiters.Open + text + delimiters.Close;
}

std::string FieldLine(const std::string& name, const std::string& type, const std::string& comment,
                      const ClassDescription& description)
{
    std::string line = "    F" + name + ":" + type + ";";
    if (description.Comments)
        line += "    " + FieldComment(comment, description.CommentStyle);
    return line;
}

std::string GetterDeclaration(const std::string& name, const std::string& type)
{
    return "    function  Get" + name + " :" + type + ";";
}

std::string SetterDeclaration(const std::string& name, const std::string& type)
{
    return "    procedure Set" + name + "( Val:" + type + " );";
}

void AddLines(std::vector<std::string>& lines, std::initializer_list<std::string> more)
{
    lines.insert(lines.end(), more);
}

void AddPublicPart(std::vector<std::string>& lines)
{
    AddLines(lines, {"  public", "    constructor Create(AOwner:TComponent); override;",
                     "    destructor  Destroy; override;",
                     "    procedure   Assign(Source:TPersistent); override;", "  published"});
}

// A row of the unit file, its values trimmed.
struct UnitRow {
    std::string Name;
    std::string Type;
    std::string Comment;
    bool Accessors = false;
    bool Object = false;
};

// The rows that have both a name and a type. Accessor rows are those whose read kind is "0",
// which none of the offered read kinds is.
std::vector<UnitRow> UnitRows(const TRyCtrlGrid& table)
{
    std::vector<UnitRow> rows;
    for (int i = 0; i < table.DataRowCount(); ++i) {
        UnitRow row{platform::Trim(table.FieldText("PropName", i)), platform::Trim(table.FieldText("PropType", i)),
                    platform::Trim(table.FieldText("Coment", i))};
        if (row.Name.empty() || row.Type.empty())
            continue;
        row.Accessors = platform::Trim(table.FieldText("ReadType", i)) == "0";
        row.Object = row.Type.front() == 'T';
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

std::vector<TRyGridColumn> PropertyColumns()
{
    return {{"PropName", "プロパティ名", {}, 157},
            {"PropType", "型", {"String", "Longint", "Boolean", "Double", "TDateTime", "TNotifyEvent"}, 98},
            {"ReadType", "Read", {"None", "Variable", "Method"}, 61},
            {"WriteType", "Write", {"None", "Variable", "Method"}, 67},
            {"ClassKind", "クラス型", {"None", "Reference", "Instance"}, 71},
            {"Coment", "コメント", {}, 254}};
}

std::vector<std::string> ClassUnitLines(const std::string& unitName, const TRyCtrlGrid& table,
                                        const ClassDescription& description,
                                        const std::vector<std::string>& unitComment)
{
    const std::string& k = description.ClassName;
    std::vector<UnitRow> rows = UnitRows(table);
    std::vector<std::string> lines = {"unit " + unitName + ";", ""};
    for (const std::string& line : unitComment)
        lines.push_back("// " + line);
    AddLines(lines, {"", "interface", "",
                     "uses Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms,Dialogs;", "",
                     "type", "", "  " + k + " = class(" + description.BaseName + ")", "  private"});
    for (const UnitRow& row : rows) {
        if (!row.Accessors)
            lines.push_back(FieldLine(row.Name, row.Type, row.Comment, description));
    }
    for (const UnitRow& row : rows) {
        if (row.Accessors)
            AddLines(lines, {GetterDeclaration(row.Name, row.Type), SetterDeclaration(row.Name, row.Type)});
    }
    AddPublicPart(lines);
    for (const UnitRow& row : rows) {
        std::string head = "    property " + row.Name + ":" + row.Type;
        if (row.Accessors)
            lines.push_back(head + " read Get" + row.Name + " write Set" + row.Name + ";");
        else
            lines.push_back(head + " read F" + row.Name + " write F" + row.Name + ";");
    }
    AddLines(lines, {"  end;", "", "", "implementation", "", "",
                     "constructor " + k + ".Create(AOwner:TComponent);", "begin", "  inherited Create(AOwner);"});
    for (const UnitRow& row : rows)
        lines.push_back(row.Object ? "  F" + row.Name + ".Create;" : "  F" + row.Name + " := ;");
    AddLines(lines, {"end;", "", "destructor " + k + ".Destroy;", "begin"});
    for (const UnitRow& row : rows) {
        if (row.Object)
            lines.push_back("  F" + row.Name + ".Free;");
    }
    AddLines(lines, {"  inherited Destroy;", "end;", "", "procedure " + k + ".Assign(Source:TPersistent);",
                     "begin", "  if Source is " + k + " then begin"});
    for (const UnitRow& row : rows) {
        if (row.Object)
            lines.push_back("    F" + row.Name + ".Assign( " + k + "(Source)." + row.Name + " );");
        else
            lines.push_back("    F" + row.Name + " := " + k + "(Source)." + row.Name + ";");
    }
    AddLines(lines, {"  end else begin", "    inherited;", "  end;", "end;", ""});
    for (const UnitRow& row : rows) {
        if (!row.Accessors)
            continue;
        AddLines(lines, {"function  " + k + ".Get" + row.Name + " :" + row.Type + ";", "begin",
                         "  Result := F" + row.Name + ";", "end;", "",
                         "procedure " + k + ".Set" + row.Name + "( Val:" + row.Type + " );", "begin",
                         "  F" + row.Name + " := Val;", "end;", ""});
    }
    AddLines(lines, {"", "end.", ""});
    return lines;
}

namespace {

// A row of the class definition, its cells as they are.
struct DefinitionRow {
    std::string Name;
    std::string Type;
    std::string Comment;
    bool ReadVariable = false;
    bool ReadMethod = false;
    bool WriteVariable = false;
    bool WriteMethod = false;
    bool Reference = false;
    bool Instance = false;
};

// The rows that are not wholly empty; kinds are words matched without regard to letter case.
std::vector<DefinitionRow> DefinitionRows(const TRyCtrlGrid& table)
{
    std::vector<DefinitionRow> rows;
    for (int i = 0; i < table.DataRowCount(); ++i) {
        if (table.RowIsEmpty(i))
            continue;
        std::string read = table.FieldText("ReadType", i);
        std::string write = table.FieldText("WriteType", i);
        std::string kind = table.FieldText("ClassKind", i);
        rows.push_back({table.FieldText("PropName", i), table.FieldText("PropType", i), table.FieldText("Coment", i),
                        platform::SameText(read, "Variable"), platform::SameText(read, "Method"),
                        platform::SameText(write, "Variable"), platform::SameText(write, "Method"),
                        platform::SameText(kind, "Reference"), platform::SameText(kind, "Instance")});
    }
    return rows;
}

}  // namespace

std::vector<std::string> ClassDefinitionLines(const TRyCtrlGrid& table, const ClassDescription& description)
{
    const std::string& k = description.ClassName;
    std::vector<DefinitionRow> rows = DefinitionRows(table);
    bool references = table.ColumnHasText("ClassKind", "Reference");
    std::vector<std::string> lines = {"  " + k + " = class(" + description.BaseName + ")", "  private"};
    for (const DefinitionRow& row : rows) {
        if (row.ReadVariable || row.WriteVariable)
            lines.push_back(FieldLine(row.Name, row.Type, row.Comment, description));
    }
    for (const DefinitionRow& row : rows) {
        if (row.ReadMethod)
            lines.push_back(GetterDeclaration(row.Name, row.Type));
        if (row.WriteMethod)
            lines.push_back(SetterDeclaration(row.Name, row.Type));
    }
    if (references) {
        AddLines(lines, {"  protected",
                         "    procedure Notification(AComponent :TComponent ; Operation:TOperation); override;"});
    }
    AddPublicPart(lines);
    for (const DefinitionRow& row : rows) {
        if (row.Name.empty())
            continue;
        std::string read = row.ReadMethod     ? "read Get" + row.Name + " "
                           : row.ReadVariable ? "read F" + row.Name + " "
                                              : "";
        std::string write = row.WriteMethod     ? "write Set" + row.Name + " "
                            : row.WriteVariable ? "write F" + row.Name + " "
                                                : "";
        lines.push_back("    property " + row.Name + ":" + row.Type + " " + read + write + ";");
    }
    AddLines(lines, {"  end;", "", "", "implementation", "", "",
                     "constructor " + k + ".Create(AOwner:TComponent);", "begin", "  inherited Create(AOwner);"});
    for (const DefinitionRow& row : rows) {
        if (row.Instance)
            lines.push_back("  F" + row.Name + " := T" + row.Name + ".Create(Self);");
    }
    AddLines(lines, {"end;", "", "destructor " + k + ".Destroy;", "begin"});
    for (const DefinitionRow& row : rows) {
        if (row.Instance)
            lines.push_back("  F" + row.Name + ".Free;");
    }
    AddLines(lines, {"  inherited Destroy;", "end;", "", "procedure " + k + ".Assign(Source:TPersistent);",
                     "begin", "  if Source is " + k + " then begin"});
    for (const DefinitionRow& row : rows) {
        if (row.Name.empty())
            continue;
        if (row.Instance)
            lines.push_back("    F" + row.Name + ".Assign( " + k + "(Source)." + row.Name + " );");
        else
            lines.push_back("    F" + row.Name + " := " + k + "(Source)." + row.Name + ";");
    }
    AddLines(lines, {"  end else begin", "    inherited;", "  end;", "end;", ""});
    if (references) {
        AddLines(lines, {"procedure " + k + ".Notification(AComponent :TComponent ; Operation:TOperation);",
                         "begin", "  inherited Notification( AComponent, Operation );",
                         "  if Operation = opRemove then begin"});
        for (const DefinitionRow& row : rows) {
            if (row.Reference)
                AddLines(lines, {"    if AComponent = F" + row.Name + " then begin", "      F" + row.Name + " := nil;",
                                 "    end;"});
        }
        AddLines(lines, {"  end;", "end;"});
    }
    for (const DefinitionRow& row : rows) {
        if (row.ReadMethod) {
            AddLines(lines, {"function  " + k + ".Get" + row.Name + " :" + row.Type + ";", "begin",
                             "  Result := F" + row.Name + ";", "end;", ""});
        }
        if (row.WriteMethod) {
            AddLines(lines, {"procedure " + k + ".Set" + row.Name + "( Val:" + row.Type + " );", "begin",
                             "  F" + row.Name + " := Val;"});
            if (row.Reference)
                AddLines(lines, {"  if Val <> nil then begin", "    Val.FreeNotification(Self);", "  end;"});
            AddLines(lines, {"end;", ""});
        }
    }
    AddLines(lines, {"", "end.", ""});
    return lines;
}

}  // namespace quorlin
