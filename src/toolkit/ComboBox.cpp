#include <algorithm>

#include "platform/Cp932.h"
#include "toolkit/StdCtrls.h"

namespace tk {

ComboBox::ComboBox(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
    items_.OnChange = [this] { ItemsChanged(); };
}

bool ComboBox::IsListOnly() const
{
    return style_ == ComboStyle::DropDownList || style_ == ComboStyle::OwnerDrawFixed ||
           style_ == ComboStyle::OwnerDrawVariable;
}

void ComboBox::ShowText(std::string text)
{
    settingText_ = true;
    SetText(std::move(text));
    settingText_ = false;
    selStart_ = static_cast<int>(Text().size());
}

void ComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_.Count()) {
        index = -1;
    }
    itemIndex_ = index;
    ShowText(index >= 0 ? std::string(items_[index]) : std::string());
}

void ComboBox::SetSorted(bool sorted)
{
    items_.SetSorted(sorted);
}

void ComboBox::SetDroppedDown(bool dropped)
{
    if (dropped == droppedDown_) {
        return;
    }
    droppedDown_ = dropped;
    NotifyEvent& event = dropped ? OnDropDown : OnCloseUp;
    if (event) {
        event(this);
    }
}

void ComboBox::ChooseItem(int index)
{
    if (index < 0 || index >= items_.Count()) {
        return;
    }
    SetItemIndex(index);
    Change();
    Click();
    SetDroppedDown(false);
}

void ComboBox::TypeText(const std::string& text)
{
    if (IsListOnly()) {
        // A list-only box has no edit field: typing picks the first item that starts so.
        for (int i = 0; i < items_.Count(); ++i) {
            if (platform::CompareText(items_[i].substr(0, text.size()), text) == 0) {
                if (i != itemIndex_) {
                    SetItemIndex(i);
                    Change();
                    Click();
                }
                return;
            }
        }
        return;
    }
    ShowText(text);
    itemIndex_ = items_.IndexOf(text);
    Change();
}

std::string ComboBox::DrawItemText(int index, int width,
                                   const std::function<int(const std::string&)>& measure) const
{
    (void)width;
    (void)measure;
    return index >= 0 && index < items_.Count() ? std::string(items_[index]) : std::string();
}

void ComboBox::Change()
{
    if (OnChange) {
        OnChange(this);
    }
}

void ComboBox::MoveSelection(int delta)
{
    if (items_.Empty()) {
        return;
    }
    int next = itemIndex_ < 0 ? 0 : std::clamp(itemIndex_ + delta, 0, items_.Count() - 1);
    if (next == itemIndex_) {
        return;
    }
    SetItemIndex(next);
    Change();
    Click();
}

void ComboBox::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    bool alt = (shift & ssAlt) != 0;
    if (droppedDown_) {
        if (key == VK_RETURN || key == VK_ESCAPE || key == VK_F4 ||
            (alt && (key == VK_UP || key == VK_DOWN))) {
            SetDroppedDown(false);
        } else if (key == VK_UP || key == VK_DOWN) {
            MoveSelection(key == VK_UP ? -1 : 1);
        }
        return;
    }
    if (key == VK_F4 || (alt && key == VK_DOWN)) {
        SetDroppedDown(true);
    } else if (!alt && (key == VK_UP || key == VK_DOWN)) {
        MoveSelection(key == VK_UP ? -1 : 1);
    }
}

bool ComboBox::WantsKey(uint16_t key, ShiftState shift) const
{
    (void)shift;
    if (key == VK_UP || key == VK_DOWN || key == VK_F4) {
        return true;
    }
    return droppedDown_ && (key == VK_RETURN || key == VK_ESCAPE);
}

void ComboBox::DefaultKeyPress(char key)
{
    if (IsListOnly()) {
        if (static_cast<unsigned char>(key) >= 0x20) {
            TypeText(std::string(1, key));
        }
        return;
    }
    std::string text = Text();
    int caret = std::clamp(selStart_, 0, static_cast<int>(text.size()));
    if (key == '\b') {
        if (caret == 0) {
            return;
        }
        int start = 0;
        for (int i = 0; i < caret;) {
            start = i;
            i += platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < caret ? 2 : 1;
        }
        text.erase(start, caret - start);
        caret = start;
    } else if (static_cast<unsigned char>(key) >= 0x20 && key != 0x7F) {
        text.insert(text.begin() + caret, key);
        ++caret;
    } else {
        return;
    }
    TypeText(text);
    selStart_ = caret;
}

void ComboBox::TextChanged()
{
    if (settingText_) {
        return;
    }
    // Text set by the program: a list-only box shows only what it can select.
    if (IsListOnly()) {
        int index = items_.IndexOf(Text());
        itemIndex_ = index;
        if (index < 0 && !Text().empty()) {
            ShowText({});
        }
    } else if (itemIndex_ >= 0 && items_[itemIndex_] != Text()) {
        itemIndex_ = items_.IndexOf(Text());
    }
    selStart_ = std::min(selStart_, static_cast<int>(Text().size()));
}

void ComboBox::ItemsChanged()
{
    if (itemIndex_ >= 0 && (itemIndex_ >= items_.Count() || items_[itemIndex_] != Text())) {
        itemIndex_ = items_.IndexOf(Text());
    }
    if (itemIndex_ < 0 && IsListOnly() && !Text().empty()) {
        ShowText({});
    }
}

}  // namespace tk
