#pragma once
// A visible part of a window: bounds, alignment in its parent, visibility, colour, focus, and the
// key and mouse events that front ends and tests feed into it.

#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace tk {

class Form;
class PopupMenu;

struct Font {
    std::string Name;
    int Height = 0;  // pixels; 0 is the front end's default
    Color FontColor = clWindowText;
};

class Control : public Component {
public:
    explicit Control(Component* owner);
    ~Control() override;

    Control* Parent() const { return parent_; }
    void SetParent(Control* parent);
    const std::vector<Control*>& Controls() const { return controls_; }
    // The form this control sits on (itself for a form); nullptr while it has no parent.
    Form* ParentForm();

    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width; }
    int Height() const { return bounds_.Height; }
    Rect Bounds() const { return bounds_; }
    void SetLeft(int left) { SetBounds(left, bounds_.Top, bounds_.Width, bounds_.Height); }
    void SetTop(int top) { SetBounds(bounds_.Left, top, bounds_.Width, bounds_.Height); }
    void SetWidth(int width) { SetBounds(bounds_.Left, bounds_.Top, width, bounds_.Height); }
    void SetHeight(int height) { SetBounds(bounds_.Left, bounds_.Top, bounds_.Width, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    // The area inside the control that its children are laid out in, from (0, 0).
    virtual Rect ClientRect() const { return {0, 0, bounds_.Width, bounds_.Height}; }
    int ClientWidth() const { return ClientRect().Width; }
    int ClientHeight() const { return ClientRect().Height; }
    // The control's top-left corner in its form's client coordinates.
    Point FormOrigin() const;
    // A point of the control's client area in screen coordinates.
    Point ClientToScreen(Point point) const;

    Align GetAlign() const { return align_; }
    void SetAlign(Align align);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    Color GetColor() const { return color_; }
    void SetColor(Color color) { color_ = color; }
    Font& GetFont() { return font_; }
    const Font& GetFont() const { return font_; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order) { tabOrder_ = order; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    PopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(PopupMenu* menu);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }

    // The window text: a caption for labels, buttons, panels and forms, the content for edits.
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    const std::string& Caption() const { return text_; }
    void SetCaption(std::string caption) { SetText(std::move(caption)); }

    // Z-order among the parent's children: the last child is in front.
    void BringToFront();
    void SendToBack();
    // Lays the aligned children out again; runs by itself when bounds or alignment change.
    void Realign();

    // Focus. A control can take the focus when it and all its parents are visible and enabled.
    virtual bool CanFocus() const;
    bool Focused() const;
    void SetFocus();

    // Input from a person, as a front end or a test delivers it. HandleKeyDown runs KeyDown (the
    // events and the control's own rules) and then, unless the key was consumed (set to 0), the
    // control's default reaction.
    void HandleKeyDown(uint16_t key, ShiftState shift);
    void HandleKeyPress(char key);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Asks the front end to repaint the control now.
    void Repaint();

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    NotifyEvent OnResize;
    NotifyEvent OnMouseEnterEvent;
    NotifyEvent OnMouseLeaveEvent;
    KeyEvent OnKeyDown;
    KeyEvent OnKeyUp;
    KeyPressEvent OnKeyPress;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;

protected:
    virtual void KeyDown(uint16_t& key, ShiftState shift);
    virtual void DefaultKeyDown(uint16_t key, ShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DefaultKeyPress(char key);
    virtual void TextChanged() {}
    virtual void Resized();
    void Notification(Component* component, Operation operation) override;
    // True for keys whose default reaction is the control's own (arrows in an edit, Enter in a
    // memo): the form then leaves them alone (no Tab move, no default or cancel button).
    virtual bool WantsKey(uint16_t key, ShiftState shift) const;

private:
    friend class Form;
    virtual void DoEnter();
    virtual void DoExit();
    // HandleKeyDown that answers the key left over: 0 when the control consumed it.
    uint16_t ProcessKeyDown(uint16_t key, ShiftState shift);

    Control* parent_ = nullptr;
    std::vector<Control*> controls_;
    Rect bounds_;
    Align align_ = Align::None;
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = false;
    Color color_ = clBtnFace;
    Font font_;
    int tabOrder_ = 0;
    PopupMenu* popupMenu_ = nullptr;
    std::string hint_;
    std::string text_;
    bool aligning_ = false;
};

}  // namespace tk
