#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Grids.h"

namespace {

using Texts = std::vector<std::string>;

TEST(StringGrid, ArrowsKeepTheCurrentCellOutOfTheFixedArea)
{
    tk::StringGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    grid.HandleKeyDown(tk::VK_UP, 0);
    grid.HandleKeyDown(tk::VK_LEFT, 0);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    grid.HandleKeyDown(tk::VK_END, 0);
    grid.HandleKeyDown(tk::VK_DOWN, 0);
    grid.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);

    // A refused cell stays where it was; shrinking the grid pulls the current cell back inside.
    grid.OnSelectCell = [](tk::Component*, int col, int, bool& canSelect) { canSelect = col != 1; };
    grid.HandleKeyDown(tk::VK_HOME, 0);
    EXPECT_EQ(grid.Col(), 2);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Cells(5, 5), "");
    grid.SetCells(5, 5, "outside");
    EXPECT_EQ(grid.Cells(5, 5), "");
}

TEST(StringGrid, TypingEditsTheCurrentCellInPlace)
{
    tk::StringGrid grid(nullptr);
    std::vector<std::string> edits;
    grid.OnSetEditText = [&](tk::Component*, int col, int row, const std::string& value) {
        edits.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
    };
    grid.SetCells(1, 1, "old");
    grid.HandleKeyPress('x');  // editing is off
    EXPECT_EQ(grid.Cells(1, 1), "old");

    grid.SetEditing(true);
    for (char c : std::string("ab")) {
        grid.HandleKeyPress(c);  // the first character replaces the text
    }
    EXPECT_EQ(grid.Cells(1, 1), "ab");
    EXPECT_TRUE(grid.EditorMode());
    grid.HandleKeyDown(tk::VK_ESCAPE, 0);
    EXPECT_EQ(grid.Cells(1, 1), "old");
    EXPECT_FALSE(grid.EditorMode());

    // F2 keeps the text; Backspace takes a two-byte character whole; Enter keeps the result.
    grid.HandleKeyDown(tk::VK_F2, 0);
    grid.HandleKeyPress('\x82');
    grid.HandleKeyPress('\xa0');
    grid.HandleKeyPress('\b');
    grid.HandleKeyPress('\b');
    grid.HandleKeyDown(tk::VK_RETURN, 0);
    EXPECT_EQ(grid.Cells(1, 1), "ol");
    EXPECT_EQ(edits, (Texts{"1,1=a", "1,1=ab", "1,1=old", "1,1=old\x82", "1,1=old\x82\xa0", "1,1=old", "1,1=ol"}));

    EXPECT_TRUE(grid.EnterCellText(2, 3, "typed"));
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_FALSE(grid.EnterCellText(0, 3, "fixed"));
    EXPECT_EQ(grid.Cells(0, 3), "");
}

TEST(StringGrid, RowsInsertAndDeleteWithTheirCells)
{
    tk::StringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.SetCells(1, 1, "a");
    grid.SetCells(1, 2, "b");
    grid.InsertRow(2);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cells(1, 3), "b");
    EXPECT_EQ(grid.Cells(1, 2), "");
    grid.DeleteRow(1);
    EXPECT_EQ(grid.Cells(1, 2), "b");
    EXPECT_EQ(grid.Rows(2), (Texts{"", "b"}));
    EXPECT_TRUE(grid.Rows(9).empty());
}

TEST(PageControl, OnlyTheActivePageShowsBelowTheTabs)
{
    tk::Form form(nullptr);
    auto* pages = new tk::PageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(0, 0, 300, 200);
    auto* first = new tk::TabSheet(&form);
    first->SetPageControl(pages);
    auto* second = new tk::TabSheet(&form);
    second->SetPageControl(pages);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_TRUE(first->Visible());
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(second->PageIndex(), 1);
    EXPECT_EQ(first->Bounds(), (tk::Rect{2, 22, 296, 176}));

    bool allow = false;
    int changes = 0;
    pages->OnChanging = [&](tk::Component*, bool& allowChange) { allowChange = allow; };
    pages->OnChange = [&](tk::Component*) { ++changes; };
    pages->ChooseTab(1);
    EXPECT_EQ(pages->ActivePage(), first);
    allow = true;
    pages->ChooseTab(1);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(changes, 1);

    delete second;
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_TRUE(first->Visible());
}

TEST(CheckListBox, MarksStayWithTheirItems)
{
    tk::CheckListBox list(nullptr);
    list.Items().Assign({"SaveToFile", "SaveToStream", "LoadFromFile"});
    int clicks = 0;
    list.OnClickCheck = [&](tk::Component*) { ++clicks; };
    list.ClickCheck(1);
    list.SetChecked(2, true);
    list.Items().Insert(0, "First");
    list.Items().Delete(2);  // "SaveToStream" goes
    EXPECT_EQ(list.Items().Items(), (Texts{"First", "SaveToFile", "LoadFromFile"}));
    EXPECT_FALSE(list.Checked(0));
    EXPECT_FALSE(list.Checked(1));
    EXPECT_TRUE(list.Checked(2));

    list.SetItemIndex(1);
    list.HandleKeyDown(tk::VK_SPACE, 0);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(list.Checked(7));
    list.Items().Clear();
    list.Items().Add("again");
    EXPECT_FALSE(list.Checked(0));
}

}  // namespace
