#include "toolkit/ComCtrls.h"

#include <algorithm>
#include <utility>

#include "toolkit/Types.h"

namespace tk {

namespace {

// Visits every node below top in display order, going below a node only when descend allows. A
// path of positions instead of recursion: how deep a tree goes is up to the file it was read from.
template <typename Descend, typename Visit>
void WalkBelow(const TreeNode& top, Descend descend, Visit visit)
{
    std::vector<std::pair<const TreeNode*, int>> path{{&top, 0}};
    while (!path.empty()) {
        auto& [parent, next] = path.back();
        if (next == parent->Count()) {
            path.pop_back();
            continue;
        }
        TreeNode* node = parent->Item(next++);
        visit(node);
        if (node->Count() > 0 && descend(*node)) {
            path.emplace_back(node, 0);
        }
    }
}

constexpr auto Everywhere = [](const TreeNode&) { return true; };

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

TreeNode* TreeNode::GetNextSibling() const
{
    int next = Index() + 1;
    return next > 0 && next < container_->Count() ? container_->Item(next) : nullptr;
}

TreeNode::~TreeNode()
{
    std::vector<std::unique_ptr<TreeNode>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) {
            pending.push_back(std::move(child));
        }
        node->children_.clear();
    }
}

void TreeNode::SetExpandedBelow(bool expanded)
{
    expanded_ = expanded;
    WalkBelow(*this, Everywhere, [expanded](TreeNode* node) { node->expanded_ = expanded; });
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
    editing_ = nullptr;
    dragged_ = nullptr;
}

std::vector<TreeNode*> TreeView::AllNodes() const
{
    std::vector<TreeNode*> nodes;
    WalkBelow(root_, Everywhere, [&nodes](TreeNode* node) { nodes.push_back(node); });
    return nodes;
}

bool TreeView::Contains(const TreeNode* node) const
{
    return node && node->tree_ == this;
}

TreeNode* TreeView::Attach(TreeNode* parent, int index, std::string text)
{
    TreeNode* container = ContainerFor(parent);
    auto node = std::make_unique<TreeNode>();
    node->text_ = std::move(text);
    node->parent_ = parent;
    node->container_ = container;
    node->tree_ = this;
    node->level_ = parent ? parent->level_ + 1 : 0;
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
    if (IsWithin(editing_, node)) {
        editing_ = nullptr;
    }
    if (IsWithin(dragged_, node)) {
        dragged_ = nullptr;
    }
    if (IsWithin(selected_, node)) {
        SelectInsteadOf(node);
    }
    auto& siblings = node->container_->children_;
    siblings.erase(siblings.begin() + node->Index());
}

void TreeView::SelectInsteadOf(TreeNode* node)
{
    const auto& siblings = node->container_->children_;
    int index = node->Index();
    TreeNode* next = nullptr;
    if (index + 1 < static_cast<int>(siblings.size())) {
        next = siblings[index + 1].get();
    } else if (index > 0) {
        next = siblings[index - 1].get();
    } else {
        next = node->parent_;
    }
    ChangeSelection(next);
}

void TreeView::Clear()
{
    if (root_.children_.empty()) {
        return;
    }
    editing_ = nullptr;
    dragged_ = nullptr;
    ChangeSelection(nullptr);
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
    owned->level_ = newParent ? newParent->level_ + 1 : 0;
    WalkBelow(*owned, Everywhere, [](TreeNode* below) { below->level_ = below->parent_->level_ + 1; });
    index = std::clamp(index, 0, container->Count());
    container->children_.insert(container->children_.begin() + index, std::move(owned));
}

void TreeView::SetSelected(TreeNode* node)
{
    if ((node && !Contains(node)) || node == selected_) {
        return;
    }
    bool allow = true;
    if (OnChanging) {
        OnChanging(this, node, allow);
    }
    if (allow) {
        ChangeSelection(node);
    }
}

void TreeView::ChangeSelection(TreeNode* node)
{
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
    root_.SetExpandedBelow(true);
}

void TreeView::FullCollapse()
{
    root_.SetExpandedBelow(false);
}

std::vector<TreeNode*> TreeView::ShownNodes() const
{
    std::vector<TreeNode*> rows;
    WalkBelow(root_, [](const TreeNode& node) { return node.Expanded(); },
              [&rows](TreeNode* node) { rows.push_back(node); });
    return rows;
}

int TreeView::LabelWidth(const TreeNode& node) const
{
    return MeasureText ? MeasureText(node.Text()) : static_cast<int>(node.Text().size()) * 6 + 4;
}

HitTests TreeView::GetHitTestInfoAt(int x, int y) const
{
    HitTests outside = 0;
    if (y < 0) {
        outside |= htAbove;
    } else if (y >= ClientHeight()) {
        outside |= htBelow;
    }
    if (x < 0) {
        outside |= htToLeft;
    } else if (x >= ClientWidth()) {
        outside |= htToRight;
    }
    if (outside != 0) {
        return outside;
    }
    std::vector<TreeNode*> rows = ShownNodes();
    size_t row = static_cast<size_t>(y / ItemHeight);
    if (row >= rows.size()) {
        return htNowhere;
    }
    // A row: the indent of the node's ancestors, the expand button, then the label.
    int button = rows[row]->Level() * Indent;
    int label = button + Indent;
    if (x < button) {
        return htOnIndent;
    }
    if (x < label) {
        return htOnButton;
    }
    return x < label + LabelWidth(*rows[row]) ? htOnLabel : htOnRight;
}

TreeNode* TreeView::GetNodeAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) {
        return nullptr;
    }
    std::vector<TreeNode*> rows = ShownNodes();
    size_t row = static_cast<size_t>(y / ItemHeight);
    return row < rows.size() ? rows[row] : nullptr;
}

Point TreeView::PointIn(const TreeNode* node, HitTests area) const
{
    std::vector<TreeNode*> rows = ShownNodes();
    auto at = std::find(rows.begin(), rows.end(), node);
    if (!node || at == rows.end()) {
        return {0, static_cast<int>(rows.size()) * ItemHeight};
    }
    int middle = static_cast<int>(at - rows.begin()) * ItemHeight + ItemHeight / 2;
    int button = node->Level() * Indent;
    int label = button + Indent;
    switch (area) {
    case htOnIndent:
        return {button - 1, middle};
    case htOnButton:
        return {button + Indent / 2, middle};
    case htOnRight:
        return {label + LabelWidth(*node) + 1, middle};
    default:
        return {label + 1, middle};
    }
}

bool TreeView::EditText(TreeNode* node)
{
    if (ReadOnly || !Contains(node)) {
        return false;
    }
    bool allow = true;
    if (OnEditing) {
        OnEditing(this, node, allow);
    }
    if (allow) {
        editing_ = node;
        EditStarted();
    }
    return allow;
}

void TreeView::EndEdit(std::string text)
{
    TreeNode* node = editing_;
    if (!node) {
        return;
    }
    editing_ = nullptr;
    if (OnEdited) {
        OnEdited(this, node, text);
    }
    if (Contains(node)) {
        node->SetText(std::move(text));
        EditFinished(node, false);
    }
}

void TreeView::CancelEdit()
{
    TreeNode* node = editing_;
    if (!node) {
        return;
    }
    editing_ = nullptr;
    EditFinished(node, true);
}

void TreeView::BeginDrag(TreeNode* node)
{
    if (!Contains(node)) {
        return;
    }
    SetSelected(node);
    dragged_ = node;
}

bool TreeView::DragOver(Component* source, int x, int y)
{
    bool accept = false;
    if (OnDragOver) {
        OnDragOver(this, source, x, y, accept);
    }
    return accept;
}

void TreeView::DragDrop(Component* source, int x, int y)
{
    if (OnDragDrop) {
        OnDragDrop(this, source, x, y);
    }
    dragged_ = nullptr;
}

void TreeView::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    std::vector<TreeNode*> rows = ShownNodes();
    if (rows.empty() || !WantsKey(key, shift)) {
        return;
    }
    auto at = std::find(rows.begin(), rows.end(), selected_);
    if (at == rows.end()) {
        SetSelected(rows.front());
        return;
    }
    TreeNode* node = *at;
    switch (key) {
    case VK_UP:
        SetSelected(at == rows.begin() ? node : *(at - 1));
        break;
    case VK_DOWN:
        SetSelected(at + 1 == rows.end() ? node : *(at + 1));
        break;
    case VK_HOME:
        SetSelected(rows.front());
        break;
    case VK_END:
        SetSelected(rows.back());
        break;
    case VK_RIGHT:
        if (node->Count() > 0 && node->Expanded()) {
            SetSelected(node->Item(0));
        } else if (node->Count() > 0) {
            node->SetExpanded(true);
        }
        break;
    case VK_LEFT:
        if (node->Expanded()) {
            node->SetExpanded(false);
        } else if (node->Parent()) {
            SetSelected(node->Parent());
        }
        break;
    default:
        break;
    }
}

bool TreeView::WantsKey(uint16_t key, ShiftState shift) const
{
    (void)shift;
    return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_HOME ||
           key == VK_END;
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
