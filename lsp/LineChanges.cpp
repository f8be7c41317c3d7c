#include "LineChanges.h"

#include <algorithm>

#include "JumpLines.h"

namespace lsp {

std::vector<LineChange> LineChangesOf(std::string_view before, std::string_view after, std::string_view lineBreak)
{
    std::vector<std::string_view> old = SplitBufferLines(before);
    std::vector<std::string_view> now = SplitBufferLines(after);
    std::vector<LineChange> changes;
    if (old.size() != now.size()) {
        std::string text;
        for (size_t i = 0; i < now.size(); ++i) {
            if (i > 0)
                text += lineBreak;
            text += now[i];
        }
        int32_t last = static_cast<int32_t>(old.size() - 1);
        changes.push_back({0, 0, last, old.back().size(), std::move(text)});
        return changes;
    }
    for (size_t i = 0; i < old.size(); ++i) {
        std::string_view from = old[i];
        std::string_view to = now[i];
        if (from == to)
            continue;
        // Bytes alike at both ends are kept; a changed name is ASCII, so the cut falls between characters.
        size_t prefix = std::mismatch(from.begin(), from.end(), to.begin(), to.end()).first - from.begin();
        size_t most = std::min(from.size(), to.size()) - prefix;
        size_t suffix = 0;
        while (suffix < most && from[from.size() - 1 - suffix] == to[to.size() - 1 - suffix])
            ++suffix;
        auto line = static_cast<int32_t>(i);
        changes.push_back({line, prefix, line, from.size() - suffix,
                           std::string(to.substr(prefix, to.size() - suffix - prefix))});
    }
    return changes;
}

}  // namespace lsp
