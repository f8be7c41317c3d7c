// quorlin tasks: a task file opened through the tool window's Open command, and its tree or the
// notes the memo shows for one node.

#include "Commands.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "JsonOutput.h"
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
        if (options_.Json) {
            nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
            for (int i = 0; i < tree->TopCount(); ++i)
                nodes.push_back(TaskNode(*tree->TopItem(i)));
            PrintJson(out_, {{"file", file}, {"nodes", std::move(nodes)}});
        } else {
            for (const tk::TreeNode* node : tree->AllNodes())
                Print(std::string(static_cast<size_t>(node->Level()), '\t') + Shown(node->Text()));
        }
        return desktop_.MessageCount() == messages ? 0 : 1;
    }
    std::string wanted = options_.Raw ? options_.Notes : platform::Utf8ToCp932(options_.Notes);
    for (tk::TreeNode* node : tree->AllNodes()) {
        if (node->Text() != wanted)
            continue;
        tree->SetSelected(node);
        tk::Application::Instance().ProcessMessages();
        if (options_.Json) {
            std::vector<std::string> notes;
            for (std::string_view line : memo->Lines())
                notes.push_back(Shown(line));
            PrintJson(out_, {{"file", file}, {"node", Shown(wanted)}, {"notes", std::move(notes)}});
        } else {
            for (std::string_view line : memo->Lines())
                Print(Shown(line));
        }
        return desktop_.MessageCount() == messages ? 0 : 1;
    }
    Fail(file + ": no node " + options_.Notes);
    return 1;
}

nlohmann::ordered_json Commands::TaskNode(const tk::TreeNode& node) const
{
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (int i = 0; i < node.Count(); ++i)
        children.push_back(TaskNode(*node.Item(i)));
    return {{"text", Shown(node.Text())}, {"children", std::move(children)}};
}

}  // namespace cli
