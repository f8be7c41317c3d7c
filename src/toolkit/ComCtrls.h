#pragma once
// The tree view: nodes with a text each, children in order, one selected node; the page control
// with its tab sheets.

#include <functional>
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

class PageControl;

using TabChangingEvent = std::function<void(Component* sender, bool& allowChange)>;

// One page of a page control: its caption is the tab's text; only the active page is visible.
class TabSheet : public Control {
public:
    explicit TabSheet(Component* owner);
    ~TabSheet() override;

    PageControl* GetPageControl() const { return pageControl_; }
    // Puts the sheet last into pageControl (and inside it); nullptr takes it out.
    void SetPageControl(PageControl* pageControl);
    // The sheet's place among its page control's pages; -1 outside one.
    int PageIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);

private:
    friend class PageControl;
    PageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

// Pages behind a row of tabs at the top; a page fills the area below the tabs.
class PageControl : public Control {
public:
    explicit PageControl(Component* owner);
    ~PageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet* Pages(int index) const { return pages_.at(index); }
    TabSheet* ActivePage() const { return activePage_; }
    // Shows page (one of this control's, or nullptr for none) and hides the others; no events.
    void SetActivePage(TabSheet* page);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    void SetActivePageIndex(int index);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int height);
    // A person clicked the tab of page index: OnChanging may refuse, then the page shows and
    // OnChange follows.
    void ChooseTab(int index);

    Rect ClientRect() const override;

    TabChangingEvent OnChanging;
    NotifyEvent OnChange;

protected:
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;

private:
    friend class TabSheet;
    void InsertPage(TabSheet* page);
    void RemovePage(TabSheet* page);

    std::vector<TabSheet*> pages_;
    TabSheet* activePage_ = nullptr;
    int tabHeight_ = 20;
};

}  // namespace tk
