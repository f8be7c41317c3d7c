#pragma once
// Turning an assignment around: the two sides of a line split at a separator, and the line that
// assigns the right side to the left one.

#include <string>
#include <string_view>

namespace quorlin {

// True when line holds separator (first occurrence, never inside a two-byte character) with text
// on both sides; left is then the trimmed text before it, right the text after it without its
// statement end and anything behind that, trimmed.
bool SplitAssignment(std::string_view line, std::string_view separator, std::string& left, std::string& right);

// "  " + right + " " + separator + " " + left + ";" for an assignment; any other line unchanged.
std::string SwapAssignment(std::string_view line, std::string_view separator);

}  // namespace quorlin
