#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/ComCtrls.h"

namespace {

using Log = std::vector<std::string>;

// Top-level A (children B, C) and D; A expanded.
struct SmallTree {
    SmallTree()
    {
        tree.SetBounds(0, 0, 200, 100);
        a = tree.AddChild(nullptr, "A");
        b = tree.AddChild(a, "B");
        c = tree.AddChild(a, "C");
        d = tree.AddChild(nullptr, "D");
        a->SetExpanded(true);
    }
    tk::TreeView tree{nullptr};
    tk::TreeNode* a;
    tk::TreeNode* b;
    tk::TreeNode* c;
    tk::TreeNode* d;
};

TEST(TreeViewGeometry, RowsIndentButtonLabelAndTheAreaBelow)
{
    SmallTree t;
    tk::TreeView& tree = t.tree;
    EXPECT_EQ(tree.ShownNodes(), (std::vector<tk::TreeNode*>{t.a, t.b, t.c, t.d}));
    // Row 1 is B, one level deep: indent 0-18, button 19-37, label from 38 for 6 pixels a byte + 4.
    EXPECT_EQ(tree.GetHitTestInfoAt(5, 20), tk::htOnIndent);
    EXPECT_EQ(tree.GetHitTestInfoAt(20, 20), tk::htOnButton);
    EXPECT_EQ(tree.GetHitTestInfoAt(38, 20), tk::htOnLabel);
    EXPECT_EQ(tree.GetHitTestInfoAt(47, 20), tk::htOnLabel);
    EXPECT_EQ(tree.GetHitTestInfoAt(48, 20), tk::htOnRight);
    EXPECT_EQ(tree.GetNodeAt(48, 20), t.b);
    EXPECT_EQ(tree.GetHitTestInfoAt(5, 70), tk::htNowhere);
    EXPECT_EQ(tree.GetNodeAt(5, 70), nullptr);
    EXPECT_EQ(tree.GetHitTestInfoAt(-1, 120), tk::htToLeft | tk::htBelow);
    EXPECT_EQ(tree.GetHitTestInfoAt(250, -3), tk::htAbove | tk::htToRight);

    // Points handed over by a front end land in the area they name; a collapsed node's children
    // have no row.
    t.a->SetExpanded(false);
    for (tk::HitTests area : {tk::htOnLabel, tk::htOnButton, tk::htOnRight}) {
        tk::Point at = tree.PointIn(t.d, area);
        EXPECT_EQ(tree.GetHitTestInfoAt(at.X, at.Y), area);
        EXPECT_EQ(tree.GetNodeAt(at.X, at.Y), t.d);
    }
    tk::Point below = tree.PointIn(nullptr, tk::htNowhere);
    EXPECT_EQ(tree.GetHitTestInfoAt(below.X, below.Y), tk::htNowhere);
}

TEST(TreeViewEditing, OnEditingDecidesOnEditedMayChangeTheText)
{
    SmallTree t;
    tk::TreeView& tree = t.tree;
    Log log;
    bool allow = false;
    tree.OnEditing = [&](tk::Component*, tk::TreeNode* node, bool& allowEdit) {
        log.push_back("editing " + node->Text());
        allowEdit = allow;
    };
    tree.OnEdited = [&](tk::Component*, tk::TreeNode* node, std::string& text) {
        log.push_back("edited " + node->Text() + " to " + text);
        text += "!";
    };
    EXPECT_FALSE(tree.EditText(t.b));
    EXPECT_FALSE(tree.IsEditing());
    allow = true;
    EXPECT_TRUE(tree.EditText(t.b));
    EXPECT_EQ(tree.EditingNode(), t.b);
    tree.EndEdit("Bee");
    EXPECT_EQ(t.b->Text(), "Bee!");
    EXPECT_FALSE(tree.IsEditing());
    tree.EditText(t.c);
    tree.CancelEdit();
    EXPECT_EQ(t.c->Text(), "C");
    EXPECT_EQ(log, (Log{"editing B", "editing B", "edited B to Bee", "editing C"}));

    // Deleting the node being edited ends the edit; a read-only tree edits nothing.
    tree.EditText(t.c);
    tree.Delete(t.a);
    EXPECT_FALSE(tree.IsEditing());
    tree.ReadOnly = true;
    EXPECT_FALSE(tree.EditText(t.d));
}

TEST(TreeViewSelection, OnChangingMayRefuseAndArrowsMoveAlongTheRows)
{
    SmallTree t;
    tk::TreeView& tree = t.tree;
    bool allow = true;
    tree.OnChanging = [&](tk::Component*, tk::TreeNode*, bool& allowChange) { allowChange = allow; };
    tree.SetSelected(t.b);
    allow = false;
    tree.SetSelected(t.d);
    EXPECT_EQ(tree.Selected(), t.b);
    tree.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(tree.Selected(), t.b);
    allow = true;
    tree.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(tree.Selected(), t.c);
    tree.HandleKeyDown(tk::VK_LEFT, 0);  // to the parent
    EXPECT_EQ(tree.Selected(), t.a);
    tree.HandleKeyDown(tk::VK_LEFT, 0);  // collapses
    EXPECT_FALSE(t.a->Expanded());
    tree.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(tree.Selected(), t.d);
    tree.HandleKeyDown(tk::VK_HOME, 0);
    tree.HandleKeyDown(tk::VK_RIGHT, 0);  // expands
    EXPECT_TRUE(t.a->Expanded());
    tree.HandleKeyDown(tk::VK_RIGHT, 0);  // to the first child
    EXPECT_EQ(tree.Selected(), t.b);

    // A deleted selection goes to the next sibling, else the previous one, else the parent, even
    // when OnChanging would refuse.
    allow = false;
    tree.Delete(t.b);
    EXPECT_EQ(tree.Selected(), t.c);
    tree.Delete(t.c);
    EXPECT_EQ(tree.Selected(), t.a);
    tree.Delete(t.a);
    EXPECT_EQ(tree.Selected(), t.d);
}

}  // namespace
