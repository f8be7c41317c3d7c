#pragma once
// Keys between Qt and the toolkit: Qt key events become virtual keys with a shift state, and the
// host's and toolkit's shortcuts become key sequences.

#include <QKeySequence>
#include <cstdint>

#include "toolkit/Types.h"

class QKeyEvent;

namespace workbench {

// The virtual key of a Qt key, or 0 when it has none.
uint16_t VirtualKey(int qtKey);
tk::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);
// The shortcut a key event stands for (virtual key with modifier bits), or 0.
tk::ShortCut ShortCutOf(const QKeyEvent& event);
QKeySequence KeySequence(tk::ShortCut shortCut);

}  // namespace workbench
