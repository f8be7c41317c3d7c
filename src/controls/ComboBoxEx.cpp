#include "controls/ComboBoxEx.h"

#include "controls/PathEllipsis.h"

namespace quorlin {

TComboBoxEx::TComboBoxEx(tk::Component* owner)
    : tk::ComboBox(owner), nextFocus_(std::make_unique<TXKeyNextControl>(this))
{
}

TComboBoxEx::~TComboBoxEx()
{
    SetControl(nullptr);
}

void TComboBoxEx::SetControl(tk::Control* control)
{
    if (control == control_) {
        return;
    }
    if (control_) {
        control_->RemoveFreeNotification(this);
    }
    control_ = control;
    if (control_) {
        control_->FreeNotification(this);
    }
}

void TComboBoxEx::Notification(tk::Component* component, tk::Operation operation)
{
    tk::ComboBox::Notification(component, operation);
    if (operation == tk::Operation::Remove && component == control_) {
        control_ = nullptr;
    }
}

void TComboBoxEx::SetItemText(const std::string& s)
{
    if (Style() == tk::ComboStyle::DropDownList) {
        SetItemIndex(Items().IndexOf(s));
    } else {
        SetText(s);
    }
}

std::string TComboBoxEx::DrawItemText(int index, int width,
                                      const std::function<int(const std::string&)>& measure) const
{
    if (dispStyle_ != TDispStyle::dsFilePath || index < 0 || index >= Items().Count()) {
        return tk::ComboBox::DrawItemText(index, width, measure);
    }
    return EllipsisPath(std::string(Items()[index]), width, measure);
}

void TComboBoxEx::MouseEnter()
{
    mouseInside_ = true;
    tk::ComboBox::MouseEnter();
    if (OnMouseEnter) {
        OnMouseEnter(this);
    }
}

void TComboBoxEx::MouseLeave()
{
    mouseInside_ = false;
    tk::ComboBox::MouseLeave();
    if (OnMouseLeave) {
        OnMouseLeave(this);
    }
}

bool TComboBoxEx::MoveFocus(tk::Control* target)
{
    if (!target || !nextFocus_->Enabled()) {
        return false;
    }
    target->SetFocus();
    return true;
}

void TComboBoxEx::KeyDown(uint16_t& key, tk::ShiftState shift)
{
    tk::ComboBox::KeyDown(key, shift);
    listMoving_ = false;
    if (key == 0) {
        return;
    }
    if (key == tk::VK_RETURN && ItemIndex() != -1 && OnSelect) {
        OnSelect(this);
    }
    if (shift & tk::ssModifiers) {
        return;
    }
    TXKeyNextControl& next = *nextFocus_;
    bool editable = Style() == tk::ComboStyle::DropDown;
    switch (key) {
    case tk::VK_UP:
    case tk::VK_DOWN:
        if (DroppedDown()) {
            listMoving_ = true;
            return;
        }
        // A closed box never changes its selection with the arrow keys.
        MoveFocus(key == tk::VK_UP ? next.UpperCtrl() : next.LowerCtrl());
        key = 0;
        return;
    case tk::VK_SPACE:
        if (Style() == tk::ComboStyle::DropDownList && !DroppedDown()) {
            SetDroppedDown(true);
            key = 0;
            return;
        }
        break;
    case tk::VK_LEFT:
        if (!editable || SelStart() == 0) {
            if (MoveFocus(next.LeftCtrl())) {
                key = 0;
            }
        }
        break;
    case tk::VK_RIGHT:
        if (!editable || SelStart() >= static_cast<int>(Text().size())) {
            if (MoveFocus(next.RightCtrl())) {
                key = 0;
            }
        }
        break;
    case tk::VK_RETURN:
        if (MoveFocus(next.RetCtrl())) {
            key = 0;
        }
        break;
    case tk::VK_ESCAPE:
        if (next.ESCCtrl() && next.Enabled()) {
            if (DroppedDown()) {
                SetDroppedDown(false);
            } else {
                MoveFocus(next.ESCCtrl());
            }
            key = 0;
        }
        break;
    default:
        break;
    }
    // A disabled navigation holds back one key only.
    next.SetEnabled(true);
}

void TComboBoxEx::ChooseItem(int index)
{
    listMoving_ = false;
    tk::ComboBox::ChooseItem(index);
}

void TComboBoxEx::KeyPress(char& key)
{
    listMoving_ = false;
    tk::ComboBox::KeyPress(key);
    if (key == 0) {
        return;
    }
    if (key == '\r' && !DroppedDown()) {
        key = 0;
        return;
    }
    if (key == '\x1B') {
        key = 0;
        return;
    }
    if (numOnly_) {
        if (key == '\b' || (key == '-' && allowSign_) || (key == '.' && allowFloatPoint_)) {
            return;
        }
        if (key < '0' || key > '9') {
            key = 0;
            return;
        }
    }
    if (DroppedDown()) {
        SetDroppedDown(false);
    }
}

void TComboBoxEx::Change()
{
    tk::ComboBox::Change();
    if (!listMoving_ && OnSelect) {
        OnSelect(this);
    }
}

void TComboBoxEx::DoEnter()
{
    if (OnEnter) {
        OnEnter(this);
    }
    if (autoDropDown_ && !DroppedDown()) {
        SetDroppedDown(true);
    }
}

}  // namespace quorlin
