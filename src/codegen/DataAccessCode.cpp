#include "codegen/DataAccessCode.h"

#include <algorithm>
#include <functional>


namespace quorlin {

namespace {

constexpr const char* Rule = "//------------------------------------------------------------";

// One statement of a routine from a type word and a property name.
using Statement = std::function<std::string(const std::string& type, const std::string& name)>;

struct Routine {
    std::string Heading;
    std::string Comment;
    std::string With;
    Statement Line;
};

void AppendRoutine(std::vector<std::string>& lines, const Routine& routine,
                   const std::vector<std::string>& typeWords, const std::vector<std::string>& propNames)
{
    lines.insert(lines.end(), {"", "", routine.Heading, Rule, routine.Comment, Rule, "begin", routine.With});
    size_t count = std::min(typeWords.size(), propNames.size());
    for (size_t i = 0; i < count; ++i)
        lines.push_back(routine.Line(typeWords[i], propNames[i]));
    lines.insert(lines.end(), {"  end;", "end;"});
}

std::vector<std::string> PairOfRoutines(const Routine& write, const Routine& read,
                                        const std::vector<std::string>& typeWords,
                                        const std::vector<std::string>& propNames)
{
    std::vector<std::string> lines;
    AppendRoutine(lines, write, typeWords, propNames);
    AppendRoutine(lines, read, typeWords, propNames);
    return lines;
}

}  // namespace

std::vector<std::string> DataSetAccessCode(const std::vector<std::string>& typeWords,
                                           const std::vector<std::string>& propNames)
{
    Routine write{"procedure Txxxx.WriteItem( Item:T ; DataSet:TDataSet );",
                  "// テーブルに指定されたクラスを書き込む", "  with Item, DataSet do begin",
                  [](const std::string& type, const std::string& name) {
                      return "    FieldByName( '" + name + "' ).As" + type + " := " + name + ";";
                  }};
    Routine read{"procedure Txxxx.ReadItem( Item:T ; DataSet:TDataSet );",
                 "// 指定したクラスをテーブルから読み込む ", "  with Item, DataSet do begin",
                 [](const std::string& type, const std::string& name) {
                     return "    " + name + " := FieldByName( '" + name + "' ).As" + type + ";";
                 }};
    return PairOfRoutines(write, read, typeWords, propNames);
}

std::vector<std::string> CtrlGridAccessCode(const std::vector<std::string>& typeWords,
                                            const std::vector<std::string>& propNames)
{
    Routine write{"procedure Txxxx.WriteItemToGrid( Index:Longint; Item:T ; CtrlGrid:TRyCtrlGrid );",
                  "// グリッドに指定されたリスト要素を書き込む", "  with Item, CtrlGrid do begin",
                  [](const std::string& type, const std::string& name) {
                      return "    FieldAs" + type + "[ '" + name + "' ] := " + name + ";";
                  }};
    Routine read{"procedure Txxxx.ReadItemFromGrid( Index:Longint; Item:T ; CtrlGrid:TRyCtrlGrid );",
                 "// 指定したリスト要素をグリッドから読み込む ", "  with Item, CtrlGrid do begin",
                 [](const std::string& type, const std::string& name) {
                     return "    " + name + ":= FieldAs" + type + "[ '" + name + "' ];";
                 }};
    return PairOfRoutines(write, read, typeWords, propNames);
}

}  // namespace quorlin
