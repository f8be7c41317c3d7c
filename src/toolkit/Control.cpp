#include "toolkit/Control.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Desktop.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"

namespace tk {

Control::Control(Component* owner) : Component(owner) {}

Control::~Control()
{
    if (Form* form = ParentForm(); form && form != this && form->activeControl_ == this) {
        form->RemoveFreeNotification(this);
        form->activeControl_ = nullptr;
    }
    for (Control* child : controls_) {
        child->parent_ = nullptr;
    }
    controls_.clear();
    if (parent_) {
        Control* parent = parent_;
        std::erase(parent->controls_, this);
        parent_ = nullptr;
        parent->Realign();
    }
}

void Control::SetParent(Control* parent)
{
    if (parent == parent_) {
        return;
    }
    for (Control* up = parent; up; up = up->parent_) {
        if (up == this) {
            return;  // a control cannot sit inside itself
        }
    }
    if (Form* form = ParentForm(); form && form != this && form->activeControl_ == this) {
        form->SetActiveControl(nullptr);  // it leaves the form it had the focus on
    }
    if (Control* old = parent_) {
        std::erase(old->controls_, this);
        parent_ = nullptr;
        old->Realign();
    }
    parent_ = parent;
    if (parent_) {
        parent_->controls_.push_back(this);
        parent_->Realign();
    }
}

Form* Control::ParentForm()
{
    for (Control* control = this; control; control = control->parent_) {
        if (auto* form = dynamic_cast<Form*>(control)) {
            return form;
        }
    }
    return nullptr;
}

void Control::SetBounds(int left, int top, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    Rect next{left, top, width, height};
    if (next == bounds_) {
        return;
    }
    bool resized = next.Width != bounds_.Width || next.Height != bounds_.Height;
    bounds_ = next;
    if (resized) {
        Resized();
    }
    if (parent_ && align_ != Align::None) {
        parent_->Realign();
    }
}

Point Control::FormOrigin() const
{
    Point origin;
    for (const Control* control = this; control && !dynamic_cast<const Form*>(control);
         control = control->parent_) {
        origin.X += control->bounds_.Left;
        origin.Y += control->bounds_.Top;
    }
    return origin;
}

Point Control::ClientToScreen(Point point) const
{
    const Control* top = this;
    while (top->parent_) {
        top = top->parent_;
    }
    Point origin = FormOrigin();
    if (auto* form = dynamic_cast<const Form*>(top)) {
        Point client = form->ClientOrigin();
        origin.X += client.X;
        origin.Y += client.Y;
    }
    return {origin.X + point.X, origin.Y + point.Y};
}

void Control::SetAlign(Align align)
{
    if (align == align_) {
        return;
    }
    align_ = align;
    if (parent_) {
        parent_->Realign();
    }
}

void Control::SetVisible(bool visible)
{
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    if (parent_) {
        parent_->Realign();
    }
}

void Control::SetPopupMenu(PopupMenu* menu)
{
    if (menu == popupMenu_) {
        return;
    }
    if (popupMenu_) {
        RemoveFreeNotification(popupMenu_);
    }
    popupMenu_ = menu;
    if (popupMenu_) {
        popupMenu_->FreeNotification(this);
    }
}

void Control::SetText(std::string text)
{
    if (text == text_) {
        return;
    }
    text_ = std::move(text);
    TextChanged();
}

void Control::BringToFront()
{
    if (!parent_) {
        return;
    }
    auto& siblings = parent_->controls_;
    std::erase(siblings, this);
    siblings.push_back(this);
    parent_->Realign();
}

void Control::SendToBack()
{
    if (!parent_) {
        return;
    }
    auto& siblings = parent_->controls_;
    std::erase(siblings, this);
    siblings.insert(siblings.begin(), this);
    parent_->Realign();
}

void Control::Realign()
{
    if (aligning_) {
        return;
    }
    aligning_ = true;
    Rect area = ClientRect();
    auto place = [&](Align align) {
        for (Control* child : controls_) {
            if (child->align_ != align || !child->visible_) {
                continue;
            }
            const Rect& b = child->bounds_;
            switch (align) {
            case Align::Top:
                child->SetBounds(area.Left, area.Top, area.Width, b.Height);
                area.Top += child->bounds_.Height;
                area.Height = std::max(area.Height - child->bounds_.Height, 0);
                break;
            case Align::Bottom:
                child->SetBounds(area.Left, area.Bottom() - b.Height, area.Width, b.Height);
                area.Height = std::max(area.Height - child->bounds_.Height, 0);
                break;
            case Align::Left:
                child->SetBounds(area.Left, area.Top, b.Width, area.Height);
                area.Left += child->bounds_.Width;
                area.Width = std::max(area.Width - child->bounds_.Width, 0);
                break;
            case Align::Right:
                child->SetBounds(area.Right() - b.Width, area.Top, b.Width, area.Height);
                area.Width = std::max(area.Width - child->bounds_.Width, 0);
                break;
            case Align::Client:
                child->SetBounds(area.Left, area.Top, area.Width, area.Height);
                break;
            case Align::None:
                break;
            }
        }
    };
    place(Align::Top);
    place(Align::Bottom);
    place(Align::Left);
    place(Align::Right);
    place(Align::Client);
    aligning_ = false;
}

bool Control::CanFocus() const
{
    // The chain up to the form counts; the form's own visibility does not, so focus can be set
    // on a form that is about to be shown.
    for (const Control* control = this; control; control = control->parent_) {
        if (dynamic_cast<const Form*>(control)) {
            return control != this;
        }
        if (!control->visible_ || !control->enabled_) {
            return false;
        }
    }
    return true;
}

bool Control::Focused() const
{
    Form* form = const_cast<Control*>(this)->ParentForm();
    return form && form->ActiveControl() == this;
}

void Control::SetFocus()
{
    if (Form* form = ParentForm(); form && form != this) {
        form->SetActiveControl(this);
    }
}

void Control::HandleKeyDown(uint16_t key, ShiftState shift)
{
    ProcessKeyDown(key, shift);
}

uint16_t Control::ProcessKeyDown(uint16_t key, ShiftState shift)
{
    if (!enabled_) {
        return key;
    }
    KeyDown(key, shift);
    if (key == 0) {
        return 0;
    }
    bool wanted = WantsKey(key, shift);
    DefaultKeyDown(key, shift);
    return wanted ? 0 : key;
}

void Control::HandleKeyPress(char key)
{
    if (!enabled_) {
        return;
    }
    KeyPress(key);
    if (key != 0) {
        DefaultKeyPress(key);
    }
}

void Control::Click()
{
    if (OnClick) {
        OnClick(this);
    }
}

void Control::DblClick()
{
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void Control::MouseDown(MouseButton button, ShiftState shift, int x, int y)
{
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
}

void Control::MouseUp(MouseButton button, ShiftState shift, int x, int y)
{
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
    if (button == MouseButton::Right && popupMenu_) {
        Point screen = ClientToScreen({x, y});
        popupMenu_->PopupComponent = this;
        popupMenu_->Popup(screen.X, screen.Y);
    }
}

void Control::MouseEnter()
{
    if (OnMouseEnterEvent) {
        OnMouseEnterEvent(this);
    }
}

void Control::MouseLeave()
{
    if (OnMouseLeaveEvent) {
        OnMouseLeaveEvent(this);
    }
}

void Control::Repaint()
{
    Application::Instance().GetDesktop().Repaint(*this);
}

void Control::KeyDown(uint16_t& key, ShiftState shift)
{
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
    }
}

void Control::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    (void)key;
    (void)shift;
}

void Control::KeyPress(char& key)
{
    if (OnKeyPress) {
        OnKeyPress(this, key);
    }
}

void Control::DefaultKeyPress(char key)
{
    (void)key;
}

void Control::Resized()
{
    Realign();
    if (OnResize) {
        OnResize(this);
    }
}

void Control::Notification(Component* component, Operation operation)
{
    Component::Notification(component, operation);
    if (operation == Operation::Remove && component == popupMenu_) {
        popupMenu_ = nullptr;
    }
}

bool Control::WantsKey(uint16_t key, ShiftState shift) const
{
    (void)key;
    (void)shift;
    return false;
}

void Control::DoEnter()
{
    if (OnEnter) {
        OnEnter(this);
    }
}

void Control::DoExit()
{
    if (OnExit) {
        OnExit(this);
    }
}

}  // namespace tk
