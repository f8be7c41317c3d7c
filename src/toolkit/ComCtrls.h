#pragma once
// The tree view: nodes with a text each, children in order, one selected node, in-place editing of
// a node's label and dragging nodes within the tree (rows have a fixed height and each level a fixed
// indent, so hit tests work without a screen; front ends translate their own hit tests to points);
// the page control with its tab sheets.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Control.h"

namespace tk {

class TreeView;
class TreeNode;

// What lies under a point of a tree view, as a set.
using HitTests = uint32_t;
constexpr HitTests htAbove = 1u << 0;
constexpr HitTests htBelow = 1u << 1;
constexpr HitTests htNowhere = 1u << 2;   // the client area below the last row
constexpr HitTests htOnButton = 1u << 3;  // the expand button
constexpr HitTests htOnIcon = 1u << 4;
constexpr HitTests htOnIndent = 1u << 5;  // left of the button
constexpr HitTests htOnLabel = 1u << 6;
constexpr HitTests htOnRight = 1u << 7;   // right of the label
constexpr HitTests htToLeft = 1u << 8;
constexpr HitTests htToRight = 1u << 9;
constexpr HitTests htOnItem = htOnIcon | htOnLabel;

using TVChangingEvent = std::function<void(Component* sender, TreeNode* node, bool& allowChange)>;
using TVEditingEvent = std::function<void(Component* sender, TreeNode* node, bool& allowEdit)>;
using TVEditedEvent = std::function<void(Component* sender, TreeNode* node, std::string& text)>;
using DragOverEvent = std::function<void(Component* sender, Component* source, int x, int y, bool& accept)>;
using DragDropEvent = std::function<void(Component* sender, Component* source, int x, int y)>;

class TreeNode {
public:
    TreeNode() = default;
    // Takes the nodes below apart one by one, so a deep tree does not nest destructor calls.
    ~TreeNode();
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    TreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TreeNode* Item(int index) const { return children_.at(index).get(); }
    int Index() const;
    int Level() const { return level_; }
    // The next node with the same parent (top-level nodes are siblings), or nullptr.
    TreeNode* GetNextSibling() const;
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded) { expanded_ = expanded; }
    // Opens or closes the node together with every node below it.
    void SetExpandedBelow(bool expanded);
    void* Data = nullptr;

private:
    friend class TreeView;
    std::string text_;
    TreeNode* parent_ = nullptr;
    TreeNode* container_ = nullptr;  // whose children_ hold this node: the tree's root at top level
    const TreeView* tree_ = nullptr;
    int level_ = 0;  // kept, not counted: deep trees ask for it once a node
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
    // Selects a node unless OnChanging refuses; raises OnChange when the selection differs. When the
    // selected node is deleted, its next sibling, else its previous one, else its parent is
    // selected, and OnChanging is not asked.
    void SetSelected(TreeNode* node);
    void FullExpand();
    void FullCollapse();
    bool ReadOnly = false;

    // Rows: the nodes whose ancestors are all expanded, in display order, from the top.
    std::vector<TreeNode*> ShownNodes() const;
    int ItemHeight = 16;
    int Indent = 19;
    // Width of a label's text; 6 pixels a byte until a front end measures for real.
    std::function<int(const std::string&)> MeasureText;
    HitTests GetHitTestInfoAt(int x, int y) const;
    // The node of the row under the point, or nullptr.
    TreeNode* GetNodeAt(int x, int y) const;
    // A point that hit-tests as one area (htOnLabel, htOnIndent, htOnButton, htOnRight) of a shown
    // node, or as htNowhere when node is nullptr: how a front end hands over a hit test of its own.
    Point PointIn(const TreeNode* node, HitTests area) const;

    // In-place editing of a label. EditText asks OnEditing, then starts; false when refused or
    // read-only. EndEdit closes the editor with a text (OnEdited may change it, then the node takes
    // it); CancelEdit closes it without one.
    bool EditText(TreeNode* node);
    TreeNode* EditingNode() const { return editing_; }
    bool IsEditing() const { return editing_ != nullptr; }
    void EndEdit(std::string text);
    void CancelEdit();

    // Dragging a node within the tree: BeginDrag selects it; DragOver asks whether a point accepts
    // the drop (refused without OnDragOver); DragDrop drops there. Source is the control dragged
    // from.
    void BeginDrag(TreeNode* node);
    TreeNode* DraggedNode() const { return dragged_; }
    bool DragOver(Component* source, int x, int y);
    void DragDrop(Component* source, int x, int y);
    void EndDrag() { dragged_ = nullptr; }

    NotifyEvent OnChange;
    TVChangingEvent OnChanging;
    TVEditingEvent OnEditing;
    TVEditedEvent OnEdited;
    DragOverEvent OnDragOver;
    DragDropEvent OnDragDrop;

protected:
    // The label editor opened; it closed, with a text taken or cancelled (node is still in the tree).
    virtual void EditStarted() {}
    virtual void EditFinished(TreeNode* node, bool cancelled) { (void)node; (void)cancelled; }
    // Arrows move the selection and open or close nodes, Home and End go to the first and last row.
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;

private:
    TreeNode* Attach(TreeNode* parent, int index, std::string text);
    TreeNode* ContainerFor(TreeNode* parent) { return parent ? parent : &root_; }
    bool Contains(const TreeNode* node) const;
    // Selection after node and everything below it goes.
    void SelectInsteadOf(TreeNode* node);
    void ChangeSelection(TreeNode* node);
    int LabelWidth(const TreeNode& node) const;

    TreeNode root_;
    TreeNode* selected_ = nullptr;
    TreeNode* editing_ = nullptr;
    TreeNode* dragged_ = nullptr;
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
