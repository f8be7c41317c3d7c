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

namespace tk {

TabSheet::TabSheet(Component* owner) : Control(owner)
{
    SetAlign(Align::Client);
}

TabSheet::~TabSheet()
{
    SetPageControl(nullptr);
}

void TabSheet::SetPageControl(PageControl* pageControl)
{
    if (pageControl == pageControl_) {
        return;
    }
    if (pageControl_) {
        pageControl_->RemovePage(this);
    }
    if (pageControl) {
        pageControl->InsertPage(this);
    }
}

int TabSheet::PageIndex() const
{
    if (!pageControl_) {
        return -1;
    }
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TabSheet::SetTabVisible(bool visible)
{
    tabVisible_ = visible;
    if (!visible && pageControl_ && pageControl_->activePage_ == this) {
        pageControl_->SetActivePage(nullptr);
    }
}

PageControl::PageControl(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

PageControl::~PageControl()
{
    for (TabSheet* page : pages_) {
        page->pageControl_ = nullptr;
    }
    pages_.clear();
    activePage_ = nullptr;
}

void PageControl::InsertPage(TabSheet* page)
{
    pages_.push_back(page);
    page->pageControl_ = this;
    page->SetVisible(false);
    page->SetParent(this);
    if (!activePage_ && page->TabVisible()) {
        SetActivePage(page);
    }
}

void PageControl::RemovePage(TabSheet* page)
{
    std::erase(pages_, page);
    page->pageControl_ = nullptr;
    if (page->Parent() == this) {
        page->SetParent(nullptr);
    }
    if (activePage_ == page) {
        activePage_ = nullptr;
        for (TabSheet* other : pages_) {
            if (other->TabVisible()) {
                SetActivePage(other);
                break;
            }
        }
    }
}

void PageControl::SetActivePage(TabSheet* page)
{
    if (page && page->pageControl_ != this) {
        return;
    }
    activePage_ = page;
    for (TabSheet* each : pages_) {
        each->SetVisible(each == page);
    }
}

void PageControl::SetActivePageIndex(int index)
{
    SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

void PageControl::SetTabHeight(int height)
{
    tabHeight_ = std::max(height, 0);
    Realign();
}

void PageControl::ChooseTab(int index)
{
    if (index < 0 || index >= PageCount() || pages_[index] == activePage_ || !pages_[index]->TabVisible()) {
        return;
    }
    bool allowChange = true;
    if (OnChanging) {
        OnChanging(this, allowChange);
    }
    if (!allowChange) {
        return;
    }
    SetActivePage(pages_[index]);
    if (OnChange) {
        OnChange(this);
    }
}

Rect PageControl::ClientRect() const
{
    constexpr int border = 2;
    return {border, tabHeight_ + border, std::max(Width() - 2 * border, 0),
            std::max(Height() - tabHeight_ - 2 * border, 0)};
}

// Ctrl+Tab and Ctrl+Shift+Tab step through the visible tabs.
void PageControl::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    if (!WantsKey(key, shift) || pages_.empty()) {
        return;
    }
    int count = PageCount();
    int step = (shift & ssShift) ? count - 1 : 1;
    int index = std::max(ActivePageIndex(), 0);
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step) % count;
        if (pages_[index]->TabVisible()) {
            ChooseTab(index);
            return;
        }
    }
}

bool PageControl::WantsKey(uint16_t key, ShiftState shift) const
{
    return key == VK_TAB && (shift & ssCtrl) != 0 && (shift & ssAlt) == 0;
}

}  // namespace tk
