#pragma once
// Where the entries of a routine list came from. An entry is its header line with the keyword cut
// out; the list keeps no line numbers, so they are read back from the unit's text.

#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct RoutineRecord {
    std::string Entry;
    std::string Keyword;  // "procedure", "function", "constructor" or "destructor"; empty: not found
    int Line = 0;         // 1-based; 0: not found
};

// One record per entry, in the entries' order. Each header line gives its entry the way the list
// makes them; the last headers of the text are the ones after the implementation line, which the
// list was made of. Entries listed twice take their lines in source order.
std::vector<RoutineRecord> FindRoutineRecords(std::string_view text, const std::vector<std::string>& entries);

// The routine's name: the entry up to its parameters, result type or semicolon.
std::string RoutineName(std::string_view entry);

}  // namespace cli
