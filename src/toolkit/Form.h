#pragma once
// A top-level window: caption, menu bar, active control, modal runs, the create/show/close/destroy
// events and a release that is carried out once the message queue reaches it.

#include <functional>
#include <string>

#include "toolkit/Control.h"

namespace tk {

class MainMenu;

enum class CloseAction { None, Hide, Free, Minimize };
enum class WindowState { Normal, Minimized, Maximized };

// Border icons, as a set.
using BorderIcons = uint32_t;
constexpr BorderIcons biSystemMenu = 1u << 0;
constexpr BorderIcons biMinimize = 1u << 1;
constexpr BorderIcons biMaximize = 1u << 2;

// Sizes of the non-client area, in pixels. Front ends draw their own frames but keep these, so a
// form's outer size and its client area are the same on every front end.
struct WindowMetrics {
    static constexpr int FrameWidth = 4;
    static constexpr int FrameHeight = 4;
    static constexpr int CaptionHeight = 19;
    static constexpr int CaptionButtonWidth = 18;
    static constexpr int MenuBarHeight = 19;
};

using CloseEvent = std::function<void(Component* sender, CloseAction& action)>;
using CloseQueryEvent = std::function<void(Component* sender, bool& canClose)>;

class Form : public Control {
public:
    explicit Form(Component* owner);
    ~Form() override;  // raises OnDestroy first, unless the derived form did

    // Ends construction: Loaded for every owned component, then OnCreate. Constructors of forms
    // call it last; it runs once even when a derived form calls it again.
    void FinishCreate();

    // The window's identity towards the platform (dropped files, messages).
    uintptr_t Handle() const { return reinterpret_cast<uintptr_t>(this); }
    MainMenu* Menu() const { return menu_; }
    void SetMenu(MainMenu* menu);
    BorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(BorderIcons icons) { borderIcons_ = icons; }
    bool Sizeable() const { return sizeable_; }
    void SetSizeable(bool sizeable) { sizeable_ = sizeable; }

    Rect ClientRect() const override;
    // A menu bar takes room while one of the menu's entries is visible.
    bool HasMenuBar() const;
    void SetClientSize(int width, int height);
    // The screen position of the client area's top-left corner.
    Point ClientOrigin() const;

    Control* ActiveControl() const { return activeControl_; }
    // Moves the focus: OnExit of the old control, then OnEnter of the new one.
    void SetActiveControl(Control* control);
    bool Active() const { return active_; }
    // Front ends report activation; OnActivate/OnDeactivate follow.
    void SetActive(bool active);

    WindowState GetWindowState() const { return windowState_; }
    void SetWindowState(WindowState state);
    // The rectangle the window has when neither minimised nor maximised.
    Rect NormalBounds() const;
    void SetBounds(int left, int top, int width, int height) override;

    void Show();
    void Hide();
    void SetVisible(bool visible) override;
    void BringToFront();
    // Asks OnCloseQuery, then OnClose with the default action (Hide, or Free for a form released
    // on close), and carries the action out. In a modal run it ends the run with mrCancel.
    void Close();
    // Runs the form modally through the desktop; answers the modal result.
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Destroys the form once the application's message queue reaches the request.
    void Release();

    // A key typed while the form is active: menu shortcuts first, then the active control, then Tab
    // moves the focus along the tab order unless a handler moved it already.
    void DispatchKey(uint16_t key, ShiftState shift);
    void DispatchChar(char key);
    // Controls that can take the focus, in tab order.
    std::vector<Control*> TabOrderList();

    // Non-client (caption) mouse input; forms override them like window-message handlers.
    virtual void CaptionDoubleClick() {}
    // Answers true when the form handled the press itself (the system menu then does not appear).
    virtual bool CaptionRightButtonDown(Point screen) { (void)screen; return false; }
    // The front end asks the form to paint what it draws over its caption bar.
    virtual void PaintCaption() {}

    NotifyEvent OnCreate;
    NotifyEvent OnShow;
    NotifyEvent OnHide;
    NotifyEvent OnActivate;
    NotifyEvent OnDeactivate;
    NotifyEvent OnDestroy;
    CloseEvent OnClose;
    CloseQueryEvent OnCloseQuery;

protected:
    // Raises OnDestroy once. A derived form whose handler is one of its own member functions calls
    // it from its destructor, while the form is still whole.
    void RaiseDestroy();

    void Resized() override;
    void Notification(Component* component, Operation operation) override;

private:
    friend class Control;
    // Clicks the first visible, enabled Default (or Cancel) button; false when there is none.
    bool PressDialogButton(bool cancel);
    MainMenu* menu_ = nullptr;
    Control* activeControl_ = nullptr;
    BorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    bool sizeable_ = true;
    bool created_ = false;
    bool active_ = false;
    bool modal_ = false;
    bool releasing_ = false;
    int modalResult_ = mrNone;
    WindowState windowState_ = WindowState::Normal;
    Rect normalBounds_;
};

}  // namespace tk
