#include "toolkit/ExtCtrls.h"

#include <algorithm>

namespace tk {

Panel::Panel(Component* owner) : Control(owner)
{
    SetBounds(0, 0, 185, 41);
}

Splitter::Splitter(Component* owner) : Control(owner)
{
    SetBounds(0, 0, 3, 100);
    SetAlign(Align::Left);
}

Control* Splitter::Neighbour() const
{
    if (!Parent()) {
        return nullptr;
    }
    Control* found = nullptr;
    for (Control* sibling : Parent()->Controls()) {
        if (sibling == this) {
            return found;
        }
        if (sibling->Visible() && sibling->GetAlign() == GetAlign()) {
            found = sibling;
        }
    }
    return nullptr;
}

void Splitter::DragBy(int delta)
{
    Control* neighbour = Neighbour();
    Align align = GetAlign();
    if (!neighbour || align == Align::None || align == Align::Client) {
        return;
    }
    bool horizontal = align == Align::Left || align == Align::Right;
    // Room the other edge-aligned controls leave; the rest keeps MinSize too.
    int taken = 0;
    for (Control* sibling : Parent()->Controls()) {
        if (sibling == neighbour || !sibling->Visible()) {
            continue;
        }
        Align other = sibling->GetAlign();
        if (horizontal && (other == Align::Left || other == Align::Right)) {
            taken += sibling->Width();
        } else if (!horizontal && (other == Align::Top || other == Align::Bottom)) {
            taken += sibling->Height();
        }
    }
    int room = (horizontal ? Parent()->ClientWidth() : Parent()->ClientHeight()) - taken - MinSize;
    int size = horizontal ? neighbour->Width() : neighbour->Height();
    bool grows = align == Align::Left || align == Align::Top;
    int wanted = grows ? size + delta : size - delta;
    wanted = std::max(std::min(wanted, room), MinSize);
    if (horizontal) {
        neighbour->SetWidth(wanted);
    } else {
        neighbour->SetHeight(wanted);
    }
    Parent()->Realign();
    if (OnMoved) {
        OnMoved(this);
    }
}

}  // namespace tk
