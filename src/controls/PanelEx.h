#pragma once
// A panel used as a flat button: yellow while the mouse is over it, OnClick on a click.

#include "toolkit/ExtCtrls.h"

namespace quorlin {

class TPanelEx : public tk::Panel {
public:
    explicit TPanelEx(tk::Component* owner);

    void MouseEnter() override;
    void MouseLeave() override;

private:
    tk::Color normalColor_ = tk::clBtnFace;
    bool highlighted_ = false;
};

}  // namespace quorlin
