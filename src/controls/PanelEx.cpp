#include "controls/PanelEx.h"

namespace quorlin {

TPanelEx::TPanelEx(tk::Component* owner) : tk::Panel(owner)
{
}

void TPanelEx::MouseEnter()
{
    if (!highlighted_) {
        normalColor_ = GetColor();
        highlighted_ = true;
        SetColor(tk::clYellow);
        Repaint();
    }
    tk::Panel::MouseEnter();
}

void TPanelEx::MouseLeave()
{
    if (highlighted_) {
        highlighted_ = false;
        SetColor(normalColor_);
        Repaint();
    }
    tk::Panel::MouseLeave();
}

}  // namespace quorlin
