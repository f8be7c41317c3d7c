#include "toolkit/StdCtrls.h"

#include "toolkit/Form.h"

namespace tk {

Label::Label(Component* owner) : Control(owner)
{
    SetBounds(0, 0, 65, 13);
}

void Label::Notification(Component* component, Operation operation)
{
    Control::Notification(component, operation);
    if (operation == Operation::Remove && component == FocusControl) {
        FocusControl = nullptr;
    }
}

Button::Button(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void Button::Click()
{
    Control::Click();
    if (ModalResult != mrNone) {
        if (Form* form = ParentForm()) {
            form->SetModalResult(ModalResult);
        }
    }
}

void Button::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    if (WantsKey(key, shift)) {
        Click();
    }
}

bool Button::WantsKey(uint16_t key, ShiftState shift) const
{
    return (key == VK_SPACE || key == VK_RETURN) && (shift & ssModifiers) == 0;
}

CheckBox::CheckBox(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void CheckBox::SetChecked(bool checked)
{
    checked_ = checked;
    if (checked) {
        UncheckSiblings();
    }
}

void CheckBox::UncheckSiblings()
{
    if (!Parent() || !dynamic_cast<RadioButton*>(this)) {
        return;
    }
    for (Control* sibling : Parent()->Controls()) {
        if (auto* radio = dynamic_cast<RadioButton*>(sibling); radio && radio != this) {
            radio->checked_ = false;
        }
    }
}

void CheckBox::Click()
{
    SetChecked(!checked_);
    Control::Click();
}

void CheckBox::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    if (WantsKey(key, shift)) {
        Click();
    }
}

bool CheckBox::WantsKey(uint16_t key, ShiftState shift) const
{
    return key == VK_SPACE && (shift & ssModifiers) == 0;
}

RadioButton::RadioButton(Component* owner) : CheckBox(owner) {}

void RadioButton::Click()
{
    // A radio button is never cleared by clicking it again.
    SetChecked(true);
    Control::Click();
}

}  // namespace tk
