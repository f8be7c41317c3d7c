#pragma once
// Panels, splitters and images.

#include <string>

#include "toolkit/Control.h"

namespace tk {

enum class Bevel { None, Lowered, Raised };
enum class Alignment { LeftJustify, RightJustify, Center };

class Panel : public Control {
public:
    explicit Panel(Component* owner);
    Bevel BevelOuter = Bevel::Raised;
    Bevel BevelInner = Bevel::None;
    int BevelWidth = 1;
    Alignment CaptionAlignment = Alignment::Center;
};

// Dragging a splitter resizes the control it stands beside: the last visible control before it
// with the same alignment.
class Splitter : public Control {
public:
    explicit Splitter(Component* owner);
    // Moves the splitter by delta pixels (right or down positive); the neighbour keeps MinSize.
    void DragBy(int delta);
    Control* Neighbour() const;
    int MinSize = 30;
    NotifyEvent OnMoved;
};

}  // namespace tk
