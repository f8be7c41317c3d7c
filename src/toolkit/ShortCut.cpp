#include "toolkit/Types.h"

namespace tk {

namespace {

std::string KeyName(uint16_t key)
{
    if (key >= VK_F1 && key < VK_F1 + 24) {
        return "F" + std::to_string(key - VK_F1 + 1);
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: return {};
    }
}

}  // namespace

ShortCut MakeShortCut(uint16_t key, ShiftState shift)
{
    ShortCut result = key & 0xFF;
    if (shift & ssShift) {
        result |= scShift;
    }
    if (shift & ssCtrl) {
        result |= scCtrl;
    }
    if (shift & ssAlt) {
        result |= scAlt;
    }
    return result;
}

std::string ShortCutToText(ShortCut shortCut)
{
    std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) {
        return {};
    }
    std::string prefix;
    if (shortCut & scShift) {
        prefix += "Shift+";
    }
    if (shortCut & scCtrl) {
        prefix += "Ctrl+";
    }
    if (shortCut & scAlt) {
        prefix += "Alt+";
    }
    return prefix + name;
}

}  // namespace tk
