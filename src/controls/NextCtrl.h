#pragma once
// The neighbours a control hands the focus to on arrow keys, Enter and Esc.

#include <array>
#include <memory>

#include "toolkit/Control.h"

namespace quorlin {

class TXKeyNextControl {
public:
    // control: the control this object belongs to; its owner decides which neighbours are allowed.
    explicit TXKeyNextControl(tk::Control* control);
    ~TXKeyNextControl();
    TXKeyNextControl(const TXKeyNextControl&) = delete;
    TXKeyNextControl& operator=(const TXKeyNextControl&) = delete;

    // Left, Right, Ret and ESC accept only a control with the same owner as the control this object
    // belongs to (another one is ignored); Upper and Lower accept any. nullptr clears the entry.
    tk::Control* LeftCtrl() const { return entries_[Left]; }
    void SetLeftCtrl(tk::Control* control) { SetEntry(Left, control, true); }
    tk::Control* RightCtrl() const { return entries_[Right]; }
    void SetRightCtrl(tk::Control* control) { SetEntry(Right, control, true); }
    tk::Control* UpperCtrl() const { return entries_[Upper]; }
    void SetUpperCtrl(tk::Control* control) { SetEntry(Upper, control, false); }
    tk::Control* LowerCtrl() const { return entries_[Lower]; }
    void SetLowerCtrl(tk::Control* control) { SetEntry(Lower, control, false); }
    tk::Control* RetCtrl() const { return entries_[Ret]; }
    void SetRetCtrl(tk::Control* control) { SetEntry(Ret, control, true); }
    tk::Control* ESCCtrl() const { return entries_[Esc]; }
    void SetESCCtrl(tk::Control* control) { SetEntry(Esc, control, true); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Copies the six neighbours and Enabled.
    void Assign(const TXKeyNextControl& source);

private:
    enum Entry { Left, Right, Upper, Lower, Ret, Esc, EntryCount };

    void SetEntry(Entry entry, tk::Control* control, bool sameOwnerOnly);
    void Forget(tk::Component* component);

    tk::Control* control_;
    std::array<tk::Control*, EntryCount> entries_{};
    bool enabled_ = true;
    std::unique_ptr<tk::RemovalWatch> watcher_;  // hears of destroyed neighbours
};

}  // namespace quorlin
