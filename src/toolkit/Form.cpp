#include "toolkit/Form.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Desktop.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace tk {

namespace {

void CollectTabOrder(Control* parent, std::vector<Control*>& list)
{
    std::vector<Control*> children = parent->Controls();
    std::stable_sort(children.begin(), children.end(),
                     [](Control* a, Control* b) { return a->TabOrder() < b->TabOrder(); });
    for (Control* child : children) {
        if (!child->Visible() || !child->Enabled()) {
            continue;
        }
        if (child->TabStop() && child->CanFocus()) {
            list.push_back(child);
        }
        CollectTabOrder(child, list);
    }
}

Button* FindDialogButton(Control* parent, bool cancel)
{
    for (Control* child : parent->Controls()) {
        if (!child->Visible() || !child->Enabled()) {
            continue;
        }
        if (auto* button = dynamic_cast<Button*>(child); button && (cancel ? button->Cancel : button->Default)) {
            return button;
        }
        if (Button* found = FindDialogButton(child, cancel)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

Form::Form(Component* owner) : Control(owner)
{
    visible_ = false;
    Application::Instance().AddForm(this);
}

Form::~Form()
{
    RaiseDestroy();
    Application::Instance().GetDesktop().FormDestroyed(*this);
    Application::Instance().RemoveForm(this);
}

void Form::RaiseDestroy()
{
    if (NotifyEvent handler = std::move(OnDestroy)) {
        OnDestroy = nullptr;
        handler(this);
    }
}

void Form::FinishCreate()
{
    if (created_) {
        return;
    }
    created_ = true;
    for (int i = 0; i < ComponentCount(); ++i) {
        Components(i)->Loaded();
    }
    if (OnCreate) {
        OnCreate(this);
    }
}

void Form::SetMenu(MainMenu* menu)
{
    if (menu == menu_) {
        return;
    }
    if (menu_) {
        RemoveFreeNotification(menu_);
    }
    menu_ = menu;
    if (menu_) {
        menu_->FreeNotification(this);
    }
    Realign();
}

bool Form::HasMenuBar() const
{
    if (!menu_) {
        return false;
    }
    MenuItem* root = menu_->Items();
    for (int i = 0; i < root->Count(); ++i) {
        if (root->Items(i)->Visible()) {
            return true;
        }
    }
    return false;
}

Rect Form::ClientRect() const
{
    int width = Width() - 2 * WindowMetrics::FrameWidth;
    int height = Height() - 2 * WindowMetrics::FrameHeight - WindowMetrics::CaptionHeight;
    if (HasMenuBar()) {
        height -= WindowMetrics::MenuBarHeight;
    }
    return {0, 0, std::max(width, 0), std::max(height, 0)};
}

void Form::SetClientSize(int width, int height)
{
    int outerHeight = height + 2 * WindowMetrics::FrameHeight + WindowMetrics::CaptionHeight;
    if (HasMenuBar()) {
        outerHeight += WindowMetrics::MenuBarHeight;
    }
    SetBounds(Left(), Top(), width + 2 * WindowMetrics::FrameWidth, outerHeight);
}

Point Form::ClientOrigin() const
{
    int top = Top() + WindowMetrics::FrameHeight + WindowMetrics::CaptionHeight;
    if (HasMenuBar()) {
        top += WindowMetrics::MenuBarHeight;
    }
    return {Left() + WindowMetrics::FrameWidth, top};
}

void Form::SetActiveControl(Control* control)
{
    if (control == activeControl_) {
        return;
    }
    if (control && (control == this || control->ParentForm() != this || !control->CanFocus())) {
        return;
    }
    Control* old = activeControl_;
    if (old) {
        RemoveFreeNotification(old);
    }
    activeControl_ = control;
    if (control) {
        control->FreeNotification(this);
    }
    if (old) {
        old->DoExit();
    }
    // OnExit may have moved the focus elsewhere; the newer choice stands.
    if (control && activeControl_ == control) {
        control->DoEnter();
    }
}

void Form::SetActive(bool active)
{
    if (active == active_) {
        return;
    }
    active_ = active;
    NotifyEvent& event = active ? OnActivate : OnDeactivate;
    if (event) {
        event(this);
    }
}

void Form::SetWindowState(WindowState state)
{
    if (state == windowState_) {
        return;
    }
    if (windowState_ == WindowState::Normal) {
        normalBounds_ = Bounds();
    }
    windowState_ = state;
    if (state == WindowState::Maximized) {
        Rect area = Application::Instance().GetDesktop().WorkArea();
        Control::SetBounds(area.Left, area.Top, area.Width, area.Height);
    } else if (state == WindowState::Normal) {
        Control::SetBounds(normalBounds_.Left, normalBounds_.Top, normalBounds_.Width,
                           normalBounds_.Height);
    }
}

Rect Form::NormalBounds() const
{
    return windowState_ == WindowState::Normal ? Bounds() : normalBounds_;
}

void Form::SetBounds(int left, int top, int width, int height)
{
    Control::SetBounds(left, top, width, height);
    if (windowState_ == WindowState::Normal) {
        normalBounds_ = Bounds();
    }
}

void Form::Show()
{
    SetVisible(true);
    BringToFront();
}

void Form::Hide()
{
    SetVisible(false);
}

void Form::SetVisible(bool visible)
{
    if (visible == visible_) {
        return;
    }
    visible_ = visible;
    Desktop& desktop = Application::Instance().GetDesktop();
    if (visible) {
        if (OnShow) {
            OnShow(this);
        }
        desktop.FormShown(*this);
    } else {
        if (OnHide) {
            OnHide(this);
        }
        desktop.FormHidden(*this);
    }
}

void Form::BringToFront()
{
    Application::Instance().GetDesktop().BringToFront(*this);
}

void Form::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    if (!canClose) {
        return;
    }
    CloseAction action = CloseAction::Hide;
    if (OnClose) {
        OnClose(this, action);
    }
    switch (action) {
    case CloseAction::None:
        break;
    case CloseAction::Hide:
        Hide();
        break;
    case CloseAction::Minimize:
        SetWindowState(WindowState::Minimized);
        break;
    case CloseAction::Free:
        Release();
        break;
    }
}

int Form::ShowModal()
{
    modalResult_ = mrNone;
    modal_ = true;
    Show();
    int result = Application::Instance().GetDesktop().RunModal(*this);
    modal_ = false;
    Hide();
    modalResult_ = result;
    return result;
}

void Form::Release()
{
    if (releasing_) {
        return;
    }
    releasing_ = true;
    Application& app = Application::Instance();
    app.Post([this, &app] {
        // The form may have been destroyed directly in the meantime.
        const auto& forms = app.Forms();
        if (std::find(forms.begin(), forms.end(), this) != forms.end() && releasing_) {
            delete this;
        }
    });
}

void Form::DispatchKey(uint16_t key, ShiftState shift)
{
    if (menu_ && menu_->IsShortCut(MakeShortCut(key, shift))) {
        return;
    }
    Control* before = activeControl_;
    uint16_t left = key;
    if (activeControl_) {
        left = activeControl_->ProcessKeyDown(key, shift);
    }
    if (left == 0) {
        return;
    }
    if (key == VK_TAB && (shift & (ssCtrl | ssAlt)) == 0) {
        if (activeControl_ != before) {
            return;
        }
        std::vector<Control*> order = TabOrderList();
        if (order.empty()) {
            return;
        }
        auto at = std::find(order.begin(), order.end(), activeControl_);
        int count = static_cast<int>(order.size());
        int index;
        if (at == order.end()) {
            index = (shift & ssShift) ? count - 1 : 0;
        } else {
            int current = static_cast<int>(at - order.begin());
            index = (shift & ssShift) ? (current + count - 1) % count : (current + 1) % count;
        }
        SetActiveControl(order[index]);
    } else if (key == VK_RETURN && (shift & ssModifiers) == 0) {
        PressDialogButton(false);
    } else if (key == VK_ESCAPE && (shift & ssModifiers) == 0) {
        PressDialogButton(true);
    }
}

bool Form::PressDialogButton(bool cancel)
{
    Button* button = FindDialogButton(this, cancel);
    if (!button) {
        return false;
    }
    button->Click();
    return true;
}

void Form::DispatchChar(char key)
{
    if (activeControl_) {
        activeControl_->HandleKeyPress(key);
    }
}

std::vector<Control*> Form::TabOrderList()
{
    std::vector<Control*> list;
    CollectTabOrder(this, list);
    return list;
}

void Form::Resized()
{
    Control::Resized();
}

void Form::Notification(Component* component, Operation operation)
{
    Control::Notification(component, operation);
    if (operation != Operation::Remove) {
        return;
    }
    if (component == activeControl_) {
        activeControl_ = nullptr;
    }
    if (component == menu_) {
        menu_ = nullptr;
        Realign();
    }
}

}  // namespace tk
