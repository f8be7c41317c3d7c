#include "codegen/SplitAssignment.h"

#include "platform/Cp932.h"

namespace quorlin {

bool SplitAssignment(std::string_view line, std::string_view separator, std::string& left, std::string& right)
{
    size_t at = platform::FindText(line, separator);
    if (at == std::string_view::npos)
        return false;
    std::string before = platform::Trim(line.substr(0, at));
    std::string_view after = line.substr(at + separator.size());
    if (before.empty() || after.empty())
        return false;
    // The statement end and a comment behind it go, however long the comment is. A semicolon
    // byte is never the second byte of a two-byte character, so a plain search finds it.
    if (size_t end = after.find(';'); end != std::string_view::npos)
        after = after.substr(0, end);
    left = std::move(before);
    right = platform::Trim(after);
    return true;
}

std::string SwapAssignment(std::string_view line, std::string_view separator)
{
    std::string left;
    std::string right;
    if (!SplitAssignment(line, separator, left, right))
        return std::string(line);
    std::string swapped = "  ";
    swapped.append(right).append(" ").append(separator).append(" ").append(left).append(";");
    return swapped;
}

}  // namespace quorlin
