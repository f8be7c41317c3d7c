#include "controls/NextCtrl.h"

#include <algorithm>

namespace quorlin {

TXKeyNextControl::TXKeyNextControl(tk::Control* control)
    : control_(control),
      watcher_(std::make_unique<tk::RemovalWatch>([this](tk::Component* removed) { Forget(removed); }))
{
}

TXKeyNextControl::~TXKeyNextControl()
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        SetEntry(static_cast<Entry>(i), nullptr, false);
    }
}

void TXKeyNextControl::Assign(const TXKeyNextControl& source)
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        SetEntry(static_cast<Entry>(i), source.entries_[i], false);
    }
    enabled_ = source.enabled_;
}

void TXKeyNextControl::SetEntry(Entry entry, tk::Control* control, bool sameOwnerOnly)
{
    if (control && sameOwnerOnly && control_ && control->Owner() != control_->Owner()) {
        return;
    }
    tk::Control* old = entries_[entry];
    if (old == control) {
        return;
    }
    entries_[entry] = control;
    if (old && std::find(entries_.begin(), entries_.end(), old) == entries_.end()) {
        old->RemoveFreeNotification(watcher_.get());
    }
    if (control && std::count(entries_.begin(), entries_.end(), control) == 1) {
        control->FreeNotification(watcher_.get());
    }
}

void TXKeyNextControl::Forget(tk::Component* component)
{
    for (tk::Control*& entry : entries_) {
        if (entry == component) {
            entry = nullptr;
        }
    }
}

}  // namespace quorlin
