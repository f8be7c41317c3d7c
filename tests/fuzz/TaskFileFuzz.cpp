// Any bytes as a task file and as a one-line note: reading ends, and what it read is written and
// read back to the same tree.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tasks/TaskDetail.h"
#include "tasks/TaskFile.h"
#include "toolkit/ComCtrls.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tk::TreeView tree(nullptr);
    std::string invalid;
    bool valid = quorlin::ReadTaskFile(tree, bytes, invalid);
    Check(valid || !tree.AllNodes().empty());
    // Every node is at most one level deeper than the one before it, and the written form of the
    // tree reads back to the same written form.
    int previous = -1;
    for (const tk::TreeNode* node : tree.AllNodes()) {
        Check(node->Level() <= previous + 1);
        Check(!node->Expanded());
        previous = node->Level();
    }
    std::string text = quorlin::FormatTaskFile(tree);
    tk::TreeView again(nullptr);
    std::string none;
    Check(quorlin::ReadTaskFile(again, text, none) && quorlin::FormatTaskFile(again) == text);

    size_t pieces = 0;
    for (const std::string& line : quorlin::DetailNoteLines(bytes)) {
        Check(line.size() <= bytes.size());
        ++pieces;
    }
    Check(pieces <= bytes.size());
    Check(quorlin::MemoTextOfFile(bytes).size() <= 2 * bytes.size());
    return 0;
}
