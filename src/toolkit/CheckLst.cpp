#include "toolkit/CheckLst.h"

#include <algorithm>

namespace tk {

CheckListBox::CheckListBox(Component* owner) : ListBox(owner)
{
    auto listChanged = Items().OnChange;
    Items().OnChange = [this, listChanged] {
        listChanged();
        KeepMarksWithItems();
    };
}

// Every change of the lines is one block replaced (an item added, inserted, deleted, set, or all
// of them), so the marks before and after that block stay with their items.
void CheckListBox::KeepMarksWithItems()
{
    const std::vector<std::string>& items = Items().Items();
    size_t oldCount = known_.size();
    size_t newCount = items.size();
    size_t prefix = 0;
    while (prefix < oldCount && prefix < newCount && known_[prefix] == items[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix &&
           known_[oldCount - 1 - suffix] == items[newCount - 1 - suffix]) {
        ++suffix;
    }
    std::vector<bool> checked(newCount, false);
    std::copy_n(checked_.begin(), prefix, checked.begin());
    std::copy_n(checked_.end() - suffix, suffix, checked.end() - suffix);
    checked_ = std::move(checked);
    known_ = items;
}

bool CheckListBox::Checked(int index) const
{
    return index >= 0 && index < static_cast<int>(checked_.size()) && checked_[index];
}

void CheckListBox::SetChecked(int index, bool checked)
{
    if (index >= 0 && index < static_cast<int>(checked_.size())) {
        checked_[index] = checked;
    }
}

void CheckListBox::ClickCheck(int index)
{
    if (index < 0 || index >= Items().Count()) {
        return;
    }
    SetItemIndex(index);
    checked_[index] = !checked_[index];
    if (OnClickCheck) {
        OnClickCheck(this);
    }
}

void CheckListBox::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    if (key == VK_SPACE && (shift & ssModifiers) == 0) {
        ClickCheck(ItemIndex());
        return;
    }
    ListBox::DefaultKeyDown(key, shift);
}

bool CheckListBox::WantsKey(uint16_t key, ShiftState shift) const
{
    return (key == VK_SPACE && (shift & ssModifiers) == 0) || ListBox::WantsKey(key, shift);
}

}  // namespace tk
