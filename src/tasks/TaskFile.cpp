#include "tasks/TaskFile.h"

#include "toolkit/ComCtrls.h"

namespace quorlin {

std::string FormatTaskFile(const tk::TreeView& tree)
{
    std::string text;
    for (const tk::TreeNode* node : tree.AllNodes()) {
        text.append(static_cast<size_t>(node->Level()), '\t');
        text += node->Text();
        text += "\r\n";
    }
    return text;
}

bool ReadTaskFile(tk::TreeView& tree, std::string_view text, std::string& invalidText)
{
    tk::TreeNode* previous = nullptr;
    bool valid = true;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
        size_t level = line.find_first_not_of("\t ");
        level = level == std::string_view::npos ? line.size() : level;
        std::string nodeText(line.substr(level));
        if (!previous) {
            previous = tree.AddChild(nullptr, std::move(nodeText));
            continue;
        }
        size_t previousLevel = static_cast<size_t>(previous->Level());
        if (level == previousLevel) {
            previous = tree.Add(previous, std::move(nodeText));
        } else if (level == previousLevel + 1) {
            previous = tree.AddChild(previous, std::move(nodeText));
        } else if (level < previousLevel) {
            tk::TreeNode* ancestor = previous->Parent();
            while (static_cast<size_t>(ancestor->Level()) > level) {
                ancestor = ancestor->Parent();
            }
            previous = tree.Add(ancestor, std::move(nodeText));
        } else {
            invalidText = std::move(nodeText);
            valid = false;
            break;
        }
    }
    tree.FullCollapse();
    return valid;
}

}  // namespace quorlin
