#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace {

using Log = std::vector<std::string>;

struct Combo {
    explicit Combo(tk::ComboStyle style)
    {
        box->SetParent(form);
        box->SetStyle(style);
        box->Items().Assign({"Alpha", "Beta", "Gamma"});
        box->OnChange = [this](tk::Component*) { Record("change"); };
        box->OnClick = [this](tk::Component*) { Record("click"); };
        box->OnDropDown = [this](tk::Component*) { log.push_back("drop"); };
        box->OnCloseUp = [this](tk::Component*) { log.push_back("closeup"); };
        box->SetFocus();
    }
    ~Combo() { delete form; }
    void Record(const std::string& what)
    {
        log.push_back(what + " " + std::to_string(box->ItemIndex()) + " " + box->Text());
    }

    Log log;
    tk::Form* form = new tk::Form(nullptr);
    tk::ComboBox* box = new tk::ComboBox(form);
};

TEST(ComboBox, ChoosingRaisesChangeThenClickThenClosesTheList)
{
    Combo c(tk::ComboStyle::DropDownList);
    c.box->SetItemIndex(1);  // silent
    EXPECT_EQ(c.box->Text(), "Beta");
    c.box->SetDroppedDown(true);
    c.box->ChooseItem(2);
    EXPECT_FALSE(c.box->DroppedDown());
    EXPECT_EQ(c.log, (Log{"drop", "change 2 Gamma", "click 2 Gamma", "closeup"}));

    c.log.clear();
    c.box->SetItemIndex(-1);
    EXPECT_EQ(c.box->Text(), "");
    c.box->SetItemIndex(7);
    EXPECT_EQ(c.box->ItemIndex(), -1);
    EXPECT_TRUE(c.log.empty());
}

TEST(ComboBox, KeysMoveTheSelectionAndOpenAndCloseTheList)
{
    Combo c(tk::ComboStyle::DropDownList);
    c.form->DispatchKey(tk::VK_DOWN, 0);   // closed: moves the selection
    c.form->DispatchKey(tk::VK_UP, 0);     // already at the top: nothing
    c.form->DispatchKey(tk::VK_F4, 0);
    c.form->DispatchKey(tk::VK_DOWN, 0);
    c.form->DispatchKey(tk::VK_DOWN, 0);
    c.form->DispatchKey(tk::VK_DOWN, 0);   // at the end: nothing
    c.form->DispatchKey(tk::VK_RETURN, 0);
    c.form->DispatchKey(tk::VK_DOWN, tk::ssAlt);
    c.form->DispatchKey(tk::VK_ESCAPE, 0);
    EXPECT_EQ(c.log, (Log{"change 0 Alpha", "click 0 Alpha", "drop", "change 1 Beta", "click 1 Beta",
                          "change 2 Gamma", "click 2 Gamma", "closeup", "drop", "closeup"}));
    EXPECT_FALSE(c.box->DroppedDown());

    // Enter and Esc of an open list stay with the list; a closed one passes them to the form.
    auto* ok = new tk::Button(c.form);
    ok->SetParent(c.form);
    ok->Default = true;
    ok->ModalResult = tk::mrOk;
    c.box->SetDroppedDown(true);
    c.form->DispatchKey(tk::VK_RETURN, 0);
    EXPECT_EQ(c.form->ModalResult(), tk::mrNone);
    c.form->DispatchKey(tk::VK_RETURN, 0);
    EXPECT_EQ(c.form->ModalResult(), tk::mrOk);

    // A handler that consumes the key stops the default reaction.
    c.log.clear();
    c.box->OnKeyDown = [](tk::Component*, uint16_t& key, tk::ShiftState) {
        if (key == tk::VK_DOWN) {
            key = 0;
        }
    };
    c.box->SetItemIndex(0);
    c.form->DispatchKey(tk::VK_DOWN, 0);
    EXPECT_EQ(c.box->ItemIndex(), 0);
    EXPECT_TRUE(c.log.empty());
}

TEST(ComboBox, TypingSelectsTheExactItemOrNone)
{
    Combo c(tk::ComboStyle::DropDown);
    c.box->TypeText("Bet");
    c.box->TypeText("Beta");
    c.box->TypeText("beta");
    EXPECT_EQ(c.log, (Log{"change -1 Bet", "change 1 Beta", "change -1 beta"}));
    EXPECT_EQ(c.box->SelStart(), 4);

    // Keys typed into the field edit at the caret.
    c.log.clear();
    c.box->SetSelStart(1);
    c.form->DispatchChar('\b');
    c.form->DispatchChar('B');
    c.box->SetSelStart(4);
    c.form->DispatchChar('\b');
    EXPECT_EQ(c.log, (Log{"change -1 eta", "change 1 Beta", "change -1 Bet"}));
    EXPECT_EQ(c.box->SelStart(), 3);

    // A list-only box picks the first item that starts with what was typed.
    Combo list(tk::ComboStyle::OwnerDrawFixed);
    list.form->DispatchChar('g');
    list.box->TypeText("x");
    EXPECT_EQ(list.log, (Log{"change 2 Gamma", "click 2 Gamma"}));
    EXPECT_EQ(list.box->DrawItemText(2, 100, [](const std::string& s) { return int(s.size()); }),
              "Gamma");
}

TEST(ComboBox, ItemChangesKeepTheSelectionValid)
{
    Combo list(tk::ComboStyle::DropDownList);
    list.box->SetItemIndex(1);
    list.box->Items().Insert(0, "First");
    EXPECT_EQ(list.box->ItemIndex(), 2);  // still Beta
    list.box->SetSorted(true);
    EXPECT_EQ(list.box->Items().Items(), (Log{"Alpha", "Beta", "First", "Gamma"}));
    EXPECT_EQ(list.box->ItemIndex(), 1);
    list.box->Items().Delete(1);
    EXPECT_EQ(list.box->ItemIndex(), -1);
    EXPECT_EQ(list.box->Text(), "");
    list.box->SetItemIndex(2);
    list.box->Items().Clear();
    EXPECT_EQ(list.box->ItemIndex(), -1);
    EXPECT_EQ(list.box->Text(), "");
    EXPECT_TRUE(list.log.empty());

    // An editable box keeps what the person typed when the list is refilled.
    Combo edit(tk::ComboStyle::DropDown);
    edit.box->SetItemIndex(0);
    edit.box->Items().Clear();
    EXPECT_EQ(edit.box->ItemIndex(), -1);
    EXPECT_EQ(edit.box->Text(), "Alpha");
}

}  // namespace
