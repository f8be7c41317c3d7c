#include "controls/ComboBoxEx.h"

#include <gtest/gtest.h>

#include "controls/MemoEx.h"
#include "toolkit/Form.h"

namespace {

using namespace quorlin;

class ComboForm : public tk::Form {
public:
    ComboForm() : tk::Form(nullptr)
    {
        Combo = new TComboBoxEx(this);
        Combo->SetName("MethodCombo");
        Combo->SetParent(this);
        Combo->SetStyle(tk::ComboStyle::DropDownList);
        for (const char* item : {"procedure A;", "procedure B;", "procedure C;"}) {
            Combo->Items().Add(item);
        }
        Combo->OnSelect = [this](tk::Component*) { ++selects; };
        Other = new tk::Edit(this);
        Other->SetName("Other");
        Other->SetParent(this);
        FinishCreate();
        SetActiveControl(Combo);
    }
    TComboBoxEx* Combo;
    tk::Edit* Other;
    int selects = 0;
};

TEST(ComboBoxExTest, ListNavigationRaisesOnSelectOnlyForAChoice)
{
    ComboForm form;
    TComboBoxEx& combo = *form.Combo;
    combo.SetItemIndex(0);
    combo.HandleKeyDown(tk::VK_DOWN, 0);  // closed: the selection stays
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.HandleKeyDown(tk::VK_SPACE, 0);
    EXPECT_TRUE(combo.DroppedDown());
    combo.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(form.selects, 0);
    combo.HandleKeyDown(tk::VK_RETURN, 0);
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_EQ(form.selects, 1);

    combo.SetDroppedDown(true);
    combo.ChooseItem(2);
    EXPECT_EQ(form.selects, 2);
    EXPECT_EQ(combo.ItemIndex(), 2);

    // A mouse choice after moving through the open list with the keys is still a choice.
    combo.SetDroppedDown(true);
    combo.HandleKeyDown(tk::VK_UP, 0);
    EXPECT_EQ(form.selects, 2);
    combo.ChooseItem(0);
    EXPECT_EQ(form.selects, 3);
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_FALSE(combo.DroppedDown());

    combo.SetItemText("procedure A;");
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.SetItemText("missing");
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(form.selects, 3);
}

// Records the characters that get past the combo box's rules to the toolkit's default handling.
class TypedCombo : public TComboBoxEx {
public:
    using TComboBoxEx::TComboBoxEx;
    std::string received;

protected:
    void DefaultKeyPress(char key) override { received += key; }
};

TEST(ComboBoxExTest, NumOnlyAndDiscardedKeys)
{
    tk::Form form(nullptr);
    TypedCombo combo(&form);
    combo.SetNumOnly(true);
    for (char key : std::string("a1-.\b\r\x1B")) {
        combo.HandleKeyPress(key);
    }
    EXPECT_EQ(combo.received, "1-.\b");
    combo.received.clear();
    combo.SetAllowSign(false);
    combo.SetAllowFloatPoint(false);
    for (char key : std::string("-.7")) {
        combo.HandleKeyPress(key);
    }
    EXPECT_EQ(combo.received, "7");

    combo.SetNumOnly(false);
    combo.SetDroppedDown(true);
    combo.HandleKeyPress('\r');  // Enter in an open list gets through
    combo.HandleKeyPress('x');
    EXPECT_EQ(combo.received, "7\rx");
    EXPECT_FALSE(combo.DroppedDown());  // typing closes an open list
}

TEST(ComboBoxExTest, FocusNeighbours)
{
    ComboForm form;
    ComboForm elsewhere;
    TComboBoxEx& combo = *form.Combo;
    TXKeyNextControl& next = *combo.NextFocus();
    EXPECT_TRUE(next.Enabled());

    next.SetLeftCtrl(elsewhere.Other);  // another form's control is ignored
    EXPECT_EQ(next.LeftCtrl(), nullptr);
    next.SetLowerCtrl(elsewhere.Other);  // upper and lower take any control
    EXPECT_EQ(next.LowerCtrl(), elsewhere.Other);
    next.SetLowerCtrl(nullptr);
    next.SetLeftCtrl(form.Other);
    next.SetRetCtrl(form.Other);
    next.SetLowerCtrl(form.Other);

    next.SetEnabled(false);  // holds back one key only
    combo.HandleKeyDown(tk::VK_LEFT, 0);
    EXPECT_EQ(form.ActiveControl(), &combo);
    EXPECT_TRUE(next.Enabled());
    combo.HandleKeyDown(tk::VK_LEFT, 0);
    EXPECT_EQ(form.ActiveControl(), form.Other);

    form.SetActiveControl(&combo);
    combo.HandleKeyDown(tk::VK_DOWN, 0);
    EXPECT_EQ(form.ActiveControl(), form.Other);
    form.SetActiveControl(&combo);
    combo.HandleKeyDown(tk::VK_RETURN, tk::ssShift);  // modifiers: no navigation
    EXPECT_EQ(form.ActiveControl(), &combo);

    TXKeyNextControl copy(form.Other);
    copy.Assign(next);
    EXPECT_EQ(copy.RetCtrl(), form.Other);

    combo.SetControl(form.Other);
    delete form.Other;
    EXPECT_EQ(next.LeftCtrl(), nullptr);
    EXPECT_EQ(next.RetCtrl(), nullptr);
    EXPECT_EQ(copy.LowerCtrl(), nullptr);
    EXPECT_EQ(combo.Control(), nullptr);
}

TEST(ComboBoxExTest, AutoDropDownAndMouse)
{
    ComboForm form;
    TComboBoxEx& combo = *form.Combo;
    combo.SetAutoDropDown(true);
    int entered = 0;
    combo.OnEnter = [&](tk::Component*) { ++entered; };
    form.SetActiveControl(form.Other);
    form.SetActiveControl(&combo);
    EXPECT_TRUE(combo.DroppedDown());
    EXPECT_EQ(entered, 1);

    int enters = 0;
    int leaves = 0;
    combo.OnMouseEnter = [&](tk::Component*) { ++enters; };
    combo.OnMouseLeave = [&](tk::Component*) { ++leaves; };
    combo.MouseEnter();
    EXPECT_TRUE(combo.MouseInside());
    combo.MouseLeave();
    EXPECT_FALSE(combo.MouseInside());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST(ComboBoxExTest, FilePathItemsAreDrawnWithAnEllipsis)
{
    ComboForm form;
    TComboBoxEx& combo = *form.Combo;
    combo.SetStyle(tk::ComboStyle::OwnerDrawVariable);
    combo.Items().Clear();
    combo.Items().Add("D:\\Projects\\Sample\\Units\\MainUnit.pas");
    auto measure = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
    EXPECT_EQ(combo.DrawItemText(0, 7 * 25, measure), combo.Items()[0]);
    combo.SetDispStyle(TDispStyle::dsFilePath);
    std::string drawn = combo.DrawItemText(0, 7 * 25, measure);
    EXPECT_EQ(drawn, "D:\\Project...MainUnit.pas");
    EXPECT_LE(measure(drawn), 7 * 25);
}

TEST(MemoExTest, RowColAndDraggedLines)
{
    tk::Form form(nullptr);
    TMemoEx memo(&form);
    memo.SetParent(&form);
    memo.Lines().SetText("first\r\nsecond line\r\nab");
    memo.SetSelStart(0);
    memo.SetRow(1);
    memo.SetCol(4);
    EXPECT_EQ(memo.Row(), 1);
    EXPECT_EQ(memo.Col(), 4);
    memo.SetRow(2);  // the column is kept as far as the line allows
    EXPECT_EQ(memo.Col(), 2);
    memo.SetCol(99);
    EXPECT_EQ(memo.Col(), 2);

    std::vector<std::pair<int, int>> drags;
    memo.OnDragLine = [&](tk::Component*, int first, int last) { drags.emplace_back(first, last); };
    const int lineTwo = static_cast<int>(memo.Text().find("second"));
    // From the end of "first" to the start of "ab": touches only the second line.
    memo.SetSelStart(5);
    memo.SetSelLength(lineTwo + 13 - 5);
    memo.MouseDown(tk::MouseButton::Left, 0, 0, 0);
    memo.MouseUp(tk::MouseButton::Left, 0, 0, 0);
    memo.SetSelLength(0);
    memo.MouseDown(tk::MouseButton::Left, 0, 0, 0);
    memo.MouseUp(tk::MouseButton::Left, 0, 0, 0);  // no selection: nothing
    EXPECT_EQ(drags, (std::vector<std::pair<int, int>>{{1, 1}}));
}

}  // namespace
