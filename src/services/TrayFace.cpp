#include "services/TrayFace.h"

namespace quorlin {

TTrayFace::TTrayFace(tk::Component* owner) : tk::Component(owner)
{
    data_.Window = this;
    data_.Id = 1;
}

TTrayFace::~TTrayFace()
{
    if (!shown_)
        return;
    data_.Flags = 0;
    platform::GetTrayArea().Notify(platform::TrayRequest::Delete, data_);
}

void TTrayFace::SetICON(intptr_t icon)
{
    icon_ = icon;
    if (!shown_)
        return;
    data_.Icon = icon_;
    data_.Flags = platform::NIF_TIP;
    platform::GetTrayArea().Notify(platform::TrayRequest::Modify, data_);
}

void TTrayFace::Loaded()
{
    if (Designing() || shown_)
        return;
    data_.CallbackMessage = platform::RegisterWindowMessage("TrayConnection");
    data_.Flags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
    data_.Icon = icon_;
    platform::SetTrayTip(data_, tips_);
    // Removed again on destruction even when the area refused it: a desktop without one says so.
    platform::GetTrayArea().Notify(platform::TrayRequest::Add, data_);
    shown_ = true;
}

void TTrayFace::TrayMessage(uint32_t message, uint32_t iconId, uint32_t mouseAction)
{
    if (message != data_.CallbackMessage || iconId != data_.Id)
        return;
    // The events carry no position.
    switch (mouseAction) {
    case platform::WM_LBUTTONDBLCLK:
        if (OnDblClick)
            OnDblClick(this, tk::MouseButton::Left, tk::ssLeft, 0, 0);
        break;
    case platform::WM_LBUTTONDOWN:
        if (OnClick)
            OnClick(this, tk::MouseButton::Left, tk::ssLeft, 0, 0);
        break;
    case platform::WM_RBUTTONDOWN:
        if (OnClick)
            OnClick(this, tk::MouseButton::Right, tk::ssLeft, 0, 0);
        break;
    default:
        break;
    }
}

}  // namespace quorlin
