#include "controls/AEdit.h"

namespace quorlin {

TAEdit::TAEdit(tk::Component* owner) : tk::Edit(owner), nextFocus_(std::make_unique<TXKeyNextControl>(this))
{
}

TAEdit::~TAEdit() = default;

void TAEdit::KeyDown(uint16_t& key, tk::ShiftState shift)
{
    tk::Edit::KeyDown(key, shift);
    if (key == 0 || (shift & tk::ssModifiers)) {
        return;
    }
    TXKeyNextControl& next = *nextFocus_;
    tk::Control* target = nullptr;
    switch (key) {
    case tk::VK_UP:
        target = next.UpperCtrl();
        break;
    case tk::VK_DOWN:
        target = next.LowerCtrl();
        break;
    case tk::VK_RETURN:
        target = next.RetCtrl();
        break;
    case tk::VK_ESCAPE:
        target = next.ESCCtrl();
        break;
    case tk::VK_LEFT:
        if (SelStart() == 0 && SelLength() == 0) {
            target = next.LeftCtrl();
        }
        break;
    case tk::VK_RIGHT:
        if (SelStart() >= static_cast<int>(Text().size())) {
            target = next.RightCtrl();
        }
        break;
    default:
        break;
    }
    if (target && next.Enabled()) {
        target->SetFocus();
        key = 0;
    }
    // A disabled navigation holds back one key only.
    next.SetEnabled(true);
}

}  // namespace quorlin
