#include "codegen/MethodSource.h"

#include <utility>

namespace quorlin {

std::vector<TRyGridColumn> MethodColumns()
{
    return {{"FunctionType", "種類", {"procedure", "function", "constructor", "destructor"}, 95},
            {"FunctionName", "名称",
             {"SaveToStream", "SaveToFile", "SaveToTable", "LoadFromStream", "LoadFromFile", "LoadFromTable",
              "GetItem", "SetItem"},
             160},
            {"Parameter", "パラメータリスト",
             {"Sender :TObject", "Val :Longint", "Val :String", "idx :Longint", "Val :TDateTime", "Val :Double",
              "Val :Boolean", "Source :TPersistent", "Val :TStrings", "Val :Variant", "Control :TControl",
              "Stream :TStream"},
             181},
            {"ReturnType", "戻り値型", {"Longint", "String", "Double", "TDateTime"}, 104},
            {"MethodType", "定義", {";override", ";virtual", ";virtual; abstract"}, 88},
            {"Coment", "コメント", {}, 143},
            {"Access", "アクセス制御", {}, 96}};
}

std::vector<std::string> MethodDefinitionLines(const TRyCtrlGrid& table, const std::string& className)
{
    // Each method's heading without its directive, and the directive.
    std::vector<std::pair<std::string, std::string>> methods;
    for (int row = 0; row < table.DataRowCount(); ++row) {
        if (table.RowIsEmpty(row))
            continue;
        std::string parameters = table.FieldText("Parameter", row);
        std::string result = table.FieldText("ReturnType", row);
        methods.emplace_back(table.FieldText("FunctionType", row) + " " + className + "." +
                                 table.FieldText("FunctionName", row) + (parameters.empty() ? "" : "(" + parameters + ")") +
                                 (result.empty() ? "" : " :" + result),
                             table.FieldText("MethodType", row));
    }
    std::vector<std::string> lines;
    for (const auto& [heading, directive] : methods)
        lines.insert(lines.end(), {heading + directive + ";", "", ""});
    for (const auto& [heading, directive] : methods)
        lines.insert(lines.end(), {heading + ";", "begin", "end;"});
    return lines;
}

}  // namespace quorlin
