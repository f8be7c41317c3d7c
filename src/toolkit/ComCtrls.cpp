#include "toolkit/ComCtrls.h"

#include <algorithm>

namespace tk {

namespace {

void Collect(const TreeNode& node, std::vector<TreeNode*>& nodes)
{
    for (int i = 0; i < node.Count(); ++i) {
        nodes.push_back(node.Item(i));
        Collect(*node.Item(i), nodes);
    }
}

bool IsWithin(const TreeNode* node, const TreeNode* ancestor)
{
    for (; node; node = node->Parent()) {
        if (node == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

int TreeNode::Index() const
{
    if (!container_) {
        return -1;
    }
    const auto& siblings = container_->children_;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TreeNode::Level() const
{
    int level = 0;
    for (TreeNode* up = parent_; up; up = up->parent_) {
        ++level;
    }
    return level;
}

TreeView::TreeView(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
}

TreeView::~TreeView()
{
    selected_ = nullptr;
}

std::vector<TreeNode*> TreeView::AllNodes() const
{
    std::vector<TreeNode*> nodes;
    Collect(root_, nodes);
    return nodes;
}

bool TreeView::Contains(const TreeNode* node) const
{
    if (!node) {
        return false;
    }
    const TreeNode* top = node;
    while (top->parent_) {
        top = top->parent_;
    }
    return top->container_ == &root_;
}

TreeNode* TreeView::Attach(TreeNode* parent, int index, std::string text)
{
    TreeNode* container = ContainerFor(parent);
    auto node = std::make_unique<TreeNode>();
    node->text_ = std::move(text);
    node->parent_ = parent;
    node->container_ = container;
    TreeNode* result = node.get();
    index = std::clamp(index, 0, container->Count());
    container->children_.insert(container->children_.begin() + index, std::move(node));
    return result;
}

TreeNode* TreeView::Add(TreeNode* sibling, std::string text)
{
    TreeNode* parent = sibling && Contains(sibling) ? sibling->parent_ : nullptr;
    return Attach(parent, ContainerFor(parent)->Count(), std::move(text));
}

TreeNode* TreeView::AddChild(TreeNode* parent, std::string text)
{
    if (parent && !Contains(parent)) {
        parent = nullptr;
    }
    return Attach(parent, ContainerFor(parent)->Count(), std::move(text));
}

TreeNode* TreeView::Insert(TreeNode* before, std::string text)
{
    if (!before || !Contains(before)) {
        return Attach(nullptr, root_.Count(), std::move(text));
    }
    return Attach(before->parent_, before->Index(), std::move(text));
}

void TreeView::Delete(TreeNode* node)
{
    if (!Contains(node)) {
        return;
    }
    if (IsWithin(selected_, node)) {
        SetSelected(nullptr);
    }
    auto& siblings = node->container_->children_;
    siblings.erase(siblings.begin() + node->Index());
}

void TreeView::Clear()
{
    if (root_.children_.empty()) {
        return;
    }
    SetSelected(nullptr);
    root_.children_.clear();
}

void TreeView::MoveTo(TreeNode* node, TreeNode* newParent, int index)
{
    if (!Contains(node) || (newParent && !Contains(newParent)) || IsWithin(newParent, node)) {
        return;
    }
    auto& from = node->container_->children_;
    auto at = from.begin() + node->Index();
    std::unique_ptr<TreeNode> owned = std::move(*at);
    from.erase(at);
    TreeNode* container = ContainerFor(newParent);
    owned->parent_ = newParent;
    owned->container_ = container;
    index = std::clamp(index, 0, container->Count());
    container->children_.insert(container->children_.begin() + index, std::move(owned));
}

void TreeView::SetSelected(TreeNode* node)
{
    if (node && !Contains(node)) {
        return;
    }
    if (node == selected_) {
        return;
    }
    selected_ = node;
    if (OnChange) {
        OnChange(this);
    }
}

void TreeView::FullExpand()
{
    for (TreeNode* node : AllNodes()) {
        node->SetExpanded(true);
    }
}

void TreeView::FullCollapse()
{
    for (TreeNode* node : AllNodes()) {
        node->SetExpanded(false);
    }
}

}  // namespace tk
