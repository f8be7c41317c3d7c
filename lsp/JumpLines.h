#pragma once
// Where the tool window's jump lands for each entry of a routine list, found for all entries in one
// pass over the unit instead of one search from the implementation line per entry: the first line
// after the implementation line that contains the entry's text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lsp {

// The lines of an editor buffer's CR LF text, as many as the buffer reports, without line breaks.
std::vector<std::string_view> SplitBufferLines(std::string_view crLfText);

// The 1-based line that opens the implementation section as the add-in finds it; 0 when none does.
int32_t ImplementationLineOf(const std::vector<std::string_view>& lines);

// How far a line reader from the top gets: the lines it hands out, and the 1-based number of the
// line too long for it that ended the reading (0 when the text or the "end." line ended it).
struct ReadableLines {
    int32_t Count = 0;
    int32_t LongLine = 0;
};
ReadableLines CountReadableLines(const std::vector<std::string_view>& lines);

// For each entry, the 0-based line the jump reaches: the first line with an index from
// implementationLine (1-based, so the lines after it) up to readable that contains the entry's
// bytes at a character's start; -1 when there is none.
std::vector<int32_t> JumpLines(const std::vector<std::string_view>& lines, int32_t implementationLine,
                               int32_t readable, const std::vector<std::string>& entries);

}  // namespace lsp
