#pragma once
// The hourglass cursor for the life of a piece of work, the default cursor again however it ends.

#include "toolkit/Application.h"

namespace quorlin {

class HourGlass {
public:
    HourGlass() { tk::Application::Instance().SetCursor(tk::Cursor::HourGlass); }
    ~HourGlass() { tk::Application::Instance().SetCursor(tk::Cursor::Default); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

}  // namespace quorlin
