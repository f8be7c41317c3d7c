#include <algorithm>

#include "toolkit/StdCtrls.h"

namespace tk {

ListBox::ListBox(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    items_.OnChange = [this] { ItemsChanged(); };
}

void ListBox::ItemsChanged()
{
    selected_.resize(items_.Count(), false);
    if (itemIndex_ >= items_.Count()) {
        itemIndex_ = -1;
    }
}

void ListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_.Count()) {
        index = -1;
    }
    itemIndex_ = index;
    if (multiSelect_) {
        if (index >= 0) {
            selected_[index] = true;
        }
        return;
    }
    std::fill(selected_.begin(), selected_.end(), false);
    if (index >= 0) {
        selected_[index] = true;
    }
}

void ListBox::SetMultiSelect(bool multiSelect)
{
    multiSelect_ = multiSelect;
    if (!multiSelect_) {
        SetItemIndex(itemIndex_);
    }
}

bool ListBox::Selected(int index) const
{
    if (index < 0 || index >= items_.Count()) {
        return false;
    }
    return multiSelect_ ? bool(selected_[index]) : index == itemIndex_;
}

void ListBox::SetSelected(int index, bool selected)
{
    if (index < 0 || index >= items_.Count()) {
        return;
    }
    if (!multiSelect_) {
        if (selected) {
            SetItemIndex(index);
        } else if (index == itemIndex_) {
            SetItemIndex(-1);
        }
        return;
    }
    selected_[index] = selected;
}

int ListBox::SelCount() const
{
    if (!multiSelect_) {
        return itemIndex_ >= 0 ? 1 : 0;
    }
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void ListBox::ClickItem(int index, ShiftState shift)
{
    (void)shift;
    if (index < 0 || index >= items_.Count()) {
        return;
    }
    if (multiSelect_) {
        selected_[index] = !selected_[index];
        itemIndex_ = index;
    } else {
        SetItemIndex(index);
    }
    Click();
}

void ListBox::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    if (!WantsKey(key, shift) || items_.Empty()) {
        return;
    }
    int last = items_.Count() - 1;
    int next = itemIndex_;
    switch (key) {
    case VK_UP: next = std::max(itemIndex_ - 1, 0); break;
    case VK_DOWN: next = std::min(itemIndex_ + 1, last); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = last; break;
    default: break;
    }
    if (next == itemIndex_) {
        return;
    }
    if (multiSelect_) {
        itemIndex_ = next;
    } else {
        SetItemIndex(next);
    }
    Click();
}

bool ListBox::WantsKey(uint16_t key, ShiftState shift) const
{
    return (shift & ssModifiers) == 0 &&
           (key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END);
}

}  // namespace tk
