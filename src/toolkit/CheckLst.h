#pragma once
// A list box whose items each carry a check box.

#include <vector>

#include "toolkit/StdCtrls.h"

namespace tk {

class CheckListBox : public ListBox {
public:
    explicit CheckListBox(Component* owner);

    // False for an index outside the list; setting one changes nothing.
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    // A person toggled the check box of an item (by a click on the box, or the space bar on the
    // current item): the item becomes current, its mark changes, then OnClickCheck.
    void ClickCheck(int index);

    NotifyEvent OnClickCheck;

protected:
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;

private:
    void KeepMarksWithItems();

    std::vector<bool> checked_;
    std::vector<std::string> known_;  // the items the marks belong to
};

}  // namespace tk
