#pragma once
// Object Pascal method headings and empty bodies for the methods of a class listed in a method table.

#include <string>
#include <vector>

#include "controls/RyCtrlGrid.h"

namespace quorlin {

// The columns of a method table: kind, name, parameters, return type, directive, comment and access;
// the last two do not enter the generated text.
std::vector<TRyGridColumn> MethodColumns();

// For every row that is not wholly empty a heading with its directive followed by two empty lines;
// then for every such row the heading without directive, "begin" and "end;".
std::vector<std::string> MethodDefinitionLines(const TRyCtrlGrid& table, const std::string& className);

}  // namespace quorlin
