#include <gtest/gtest.h>

#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace {

using tk::Align;
using tk::Rect;

// A tool window: a button bar on top, below it a tree and a memo divided by a splitter.
struct ToolWindow {
    ToolWindow()
    {
        form->SetBounds(10, 20, 400, 300);
        top->SetParent(form);
        top->SetHeight(37);
        top->SetAlign(Align::Top);
        body->SetParent(form);
        body->SetAlign(Align::Client);
        tree->SetParent(body);
        tree->SetWidth(89);
        tree->SetAlign(Align::Left);
        splitter->SetParent(body);
        memo->SetParent(body);
        memo->SetAlign(Align::Client);
    }
    ~ToolWindow() { delete form; }

    tk::Form* form = new tk::Form(nullptr);
    tk::Panel* top = new tk::Panel(form);
    tk::Panel* body = new tk::Panel(form);
    tk::TreeView* tree = new tk::TreeView(form);
    tk::Splitter* splitter = new tk::Splitter(form);
    tk::Memo* memo = new tk::Memo(form);
};

TEST(Layout, ToolWindowFollowsTheFormsSize)
{
    ToolWindow w;
    // 400 x 300 outside: frames of 4, caption of 19.
    EXPECT_EQ(w.form->ClientRect(), (Rect{0, 0, 392, 273}));
    EXPECT_EQ(w.top->Bounds(), (Rect{0, 0, 392, 37}));
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 37, 392, 236}));
    EXPECT_EQ(w.tree->Bounds(), (Rect{0, 0, 89, 236}));
    EXPECT_EQ(w.splitter->Bounds(), (Rect{89, 0, 3, 236}));
    EXPECT_EQ(w.memo->Bounds(), (Rect{92, 0, 300, 236}));

    w.form->SetBounds(10, 20, 600, 500);
    EXPECT_EQ(w.top->Bounds(), (Rect{0, 0, 592, 37}));
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 37, 592, 436}));
    EXPECT_EQ(w.tree->Bounds(), (Rect{0, 0, 89, 436}));
    EXPECT_EQ(w.splitter->Bounds(), (Rect{89, 0, 3, 436}));
    EXPECT_EQ(w.memo->Bounds(), (Rect{92, 0, 500, 436}));
    EXPECT_EQ(w.memo->FormOrigin(), (tk::Point{92, 37}));
    EXPECT_EQ(w.memo->ClientToScreen({5, 6}), (tk::Point{10 + 4 + 92 + 5, 20 + 4 + 19 + 37 + 6}));

    // A client size asks for the outer size around it.
    w.form->SetClientSize(300, 200);
    EXPECT_EQ(w.form->Width(), 308);
    EXPECT_EQ(w.form->Height(), 227);
    EXPECT_EQ(w.memo->Bounds(), (Rect{92, 0, 208, 163}));
}

TEST(Layout, MenuBarAndHiddenControlsChangeTheSpaceLeft)
{
    ToolWindow w;
    auto* menu = new tk::MainMenu(w.form);
    auto* file = new tk::MenuItem(w.form);
    menu->Items()->Add(file);
    file->SetVisible(false);
    w.form->SetMenu(menu);
    EXPECT_EQ(w.form->ClientHeight(), 273);  // no visible entry: no menu bar
    file->SetVisible(true);
    EXPECT_EQ(w.form->ClientHeight(), 254);
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 37, 392, 217}));
    // Hiding the last visible entry gives the menu bar's room back to the controls at once.
    file->SetVisible(false);
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 37, 392, 236}));
    file->SetVisible(true);

    w.top->SetVisible(false);
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 0, 392, 254}));
    w.tree->SetVisible(false);
    EXPECT_EQ(w.splitter->Bounds(), (Rect{0, 0, 3, 254}));
    EXPECT_EQ(w.memo->Bounds(), (Rect{3, 0, 389, 254}));
    w.tree->SetVisible(true);
    w.top->SetVisible(true);

    // Bottom and right edges, and a control moved to the front of the align order.
    auto* status = new tk::Panel(w.form);
    status->SetHeight(20);
    status->SetParent(w.form);
    status->SetAlign(Align::Bottom);
    EXPECT_EQ(status->Bounds(), (Rect{0, 234, 392, 20}));
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 37, 392, 197}));
    auto* side = new tk::Panel(w.form);
    side->SetWidth(50);
    side->SetParent(w.body);
    side->SetAlign(Align::Right);
    EXPECT_EQ(side->Bounds(), (Rect{342, 0, 50, 197}));
    EXPECT_EQ(w.memo->Bounds(), (Rect{92, 0, 250, 197}));
    w.top->SetHeight(40);
    EXPECT_EQ(w.body->Bounds(), (Rect{0, 40, 392, 194}));
}

TEST(Layout, SplitterDragResizesItsNeighbourWithinLimits)
{
    ToolWindow w;
    int moved = 0;
    w.splitter->OnMoved = [&](tk::Component*) { ++moved; };
    EXPECT_EQ(w.splitter->Neighbour(), w.tree);

    w.splitter->DragBy(20);
    EXPECT_EQ(w.tree->Width(), 109);
    EXPECT_EQ(w.splitter->Left(), 109);
    EXPECT_EQ(w.memo->Bounds(), (Rect{112, 0, 280, 236}));

    w.splitter->DragBy(-200);
    EXPECT_EQ(w.tree->Width(), w.splitter->MinSize);

    w.splitter->DragBy(1000);  // the memo keeps MinSize too
    EXPECT_EQ(w.memo->Width(), w.splitter->MinSize);
    EXPECT_EQ(w.tree->Width(), 392 - 3 - 30);
    EXPECT_EQ(moved, 3);

    // On the right edge, dragging right makes the neighbour narrower.
    auto* side = new tk::Panel(w.form);
    side->SetWidth(100);
    side->SetParent(w.body);
    side->SetAlign(Align::Right);
    auto* rightSplitter = new tk::Splitter(w.form);
    rightSplitter->SetParent(w.body);
    rightSplitter->SetAlign(Align::Right);
    w.splitter->DragBy(-300);
    EXPECT_EQ(rightSplitter->Neighbour(), side);
    rightSplitter->DragBy(10);
    EXPECT_EQ(side->Bounds(), (Rect{302, 0, 90, 236}));
    EXPECT_EQ(rightSplitter->Left(), 299);
}

}  // namespace
