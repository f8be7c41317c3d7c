// quorlin tasks: a task file opened through the tool window's Open command, and its tree or the
// notes the memo shows for one node.

#include "Commands.h"

#include <stdexcept>

#include "platform/Cp932.h"
#include "toolkit/Application.h"
#include "toolkit/ComCtrls.h"

namespace cli {

int Commands::Tasks()
{
    const std::string& file = options_.Operands[0];
    if (!CheckReadable(file))
        return 1;
    auto* tree = dynamic_cast<tk::TreeView*>(FindOwned(toolWindow_, "TreeView1"));
    auto* memo = dynamic_cast<tk::Memo*>(FindOwned(toolWindow_, "Memo1"));
    if (!tree || !memo)
        throw std::runtime_error("the tool window has no task tree");
    desktop_.SetOpenAnswer(file);
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem("K1"))
        return 1;
    if (options_.Notes.empty()) {
        for (const tk::TreeNode* node : tree->AllNodes())
            Print(std::string(static_cast<size_t>(node->Level()), '\t') + Shown(node->Text()));
        return desktop_.MessageCount() == messages ? 0 : 1;
    }
    std::string wanted = options_.Raw ? options_.Notes : platform::Utf8ToCp932(options_.Notes);
    for (tk::TreeNode* node : tree->AllNodes()) {
        if (node->Text() != wanted)
            continue;
        tree->SetSelected(node);
        tk::Application::Instance().ProcessMessages();
        for (std::string_view line : memo->Lines())
            Print(Shown(line));
        return desktop_.MessageCount() == messages ? 0 : 1;
    }
    Fail(file + ": no node " + options_.Notes);
    return 1;
}

}  // namespace cli
