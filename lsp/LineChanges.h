#pragma once
// A text's change into another as replacements inside its lines, so that an editor's text edits
// touch only what changed: a rename changes names within lines and keeps the rest of them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lsp {

// Bytes Start..End of line Line of the old text become Text; when the line count changed, one
// change spans the whole old text (to the end of its last line).
struct LineChange {
    int32_t Line = 0;
    size_t Start = 0;
    int32_t EndLine = 0;
    size_t End = 0;
    std::string Text;
};

// Both texts break their lines with CR LF (as editor buffers do); a whole text in a change takes
// lineBreak between its lines.
std::vector<LineChange> LineChangesOf(std::string_view before, std::string_view after, std::string_view lineBreak);

}  // namespace lsp
