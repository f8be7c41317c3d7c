#pragma once
// The task file: one line per node in tree order, each node's depth in TAB characters before its
// text, every line ended by CR LF.

#include <string>
#include <string_view>

namespace tk {
class TreeView;
}

namespace quorlin {

// The task file text of the whole tree; an empty tree gives an empty text.
std::string FormatTaskFile(const tk::TreeView& tree);

// Adds the nodes of a task file text to the tree, all collapsed. Lines end at CR LF, CR or LF; the
// TABs and spaces in front of a text count one level each. Reading stops at a line more than one
// level deeper than the line before it: false, with that line's text in invalidText, and the
// nodes read before it stay.
bool ReadTaskFile(tk::TreeView& tree, std::string_view text, std::string& invalidText);

}  // namespace quorlin
