#pragma once
// The tree view: nodes with a text each, children in order, one selected node.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Control.h"

namespace tk {

class TreeView;

class TreeNode {
public:
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    TreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TreeNode* Item(int index) const { return children_.at(index).get(); }
    int Index() const;
    int Level() const;
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded) { expanded_ = expanded; }
    void* Data = nullptr;

private:
    friend class TreeView;
    std::string text_;
    TreeNode* parent_ = nullptr;
    TreeNode* container_ = nullptr;  // whose children_ hold this node: the tree's root at top level
    std::vector<std::unique_ptr<TreeNode>> children_;
    bool expanded_ = false;
};

class TreeView : public Control {
public:
    explicit TreeView(Component* owner);
    ~TreeView() override;

    int TopCount() const { return root_.Count(); }
    TreeNode* TopItem(int index) const { return root_.Item(index); }
    // Every node in display order (depth first), expanded or not.
    std::vector<TreeNode*> AllNodes() const;
    TreeNode* Add(TreeNode* sibling, std::string text);       // last among sibling's siblings
    TreeNode* AddChild(TreeNode* parent, std::string text);   // last child; parent nullptr: top level
    TreeNode* Insert(TreeNode* before, std::string text);     // before a node, same parent
    void Delete(TreeNode* node);
    void Clear();
    void MoveTo(TreeNode* node, TreeNode* newParent, int index);

    TreeNode* Selected() const { return selected_; }
    // Selects a node; raises OnChange when the selection differs.
    void SetSelected(TreeNode* node);
    void FullExpand();
    void FullCollapse();
    bool ReadOnly = false;

    NotifyEvent OnChange;

private:
    TreeNode* Attach(TreeNode* parent, int index, std::string text);
    TreeNode* ContainerFor(TreeNode* parent) { return parent ? parent : &root_; }
    bool Contains(const TreeNode* node) const;

    TreeNode root_;
    TreeNode* selected_ = nullptr;
};

}  // namespace tk
