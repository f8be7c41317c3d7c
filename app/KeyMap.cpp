#include "app/KeyMap.h"

#include <QKeyEvent>

namespace workbench {

namespace {

struct KeyPair {
    int Qt;
    uint16_t Vk;
};

constexpr KeyPair SpecialKeys[] = {
    {Qt::Key_Backspace, tk::VK_BACK}, {Qt::Key_Tab, tk::VK_TAB},       {Qt::Key_Backtab, tk::VK_TAB},
    {Qt::Key_Return, tk::VK_RETURN},  {Qt::Key_Enter, tk::VK_RETURN},  {Qt::Key_Escape, tk::VK_ESCAPE},
    {Qt::Key_Space, tk::VK_SPACE},    {Qt::Key_PageUp, tk::VK_PRIOR},  {Qt::Key_PageDown, tk::VK_NEXT},
    {Qt::Key_End, tk::VK_END},        {Qt::Key_Home, tk::VK_HOME},     {Qt::Key_Left, tk::VK_LEFT},
    {Qt::Key_Up, tk::VK_UP},          {Qt::Key_Right, tk::VK_RIGHT},   {Qt::Key_Down, tk::VK_DOWN},
    {Qt::Key_Insert, tk::VK_INSERT},  {Qt::Key_Delete, tk::VK_DELETE}, {Qt::Key_Shift, tk::VK_SHIFT},
    {Qt::Key_Control, tk::VK_CONTROL}, {Qt::Key_Alt, tk::VK_MENU},
};

}  // namespace

uint16_t VirtualKey(int qtKey)
{
    for (const KeyPair& pair : SpecialKeys) {
        if (pair.Qt == qtKey) {
            return pair.Vk;
        }
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<uint16_t>(tk::VK_F1 + (qtKey - Qt::Key_F1));
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return static_cast<uint16_t>(qtKey);
    }
    return 0;
}

tk::ShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    tk::ShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) {
        shift |= tk::ssShift;
    }
    if (modifiers & Qt::ControlModifier) {
        shift |= tk::ssCtrl;
    }
    if (modifiers & Qt::AltModifier) {
        shift |= tk::ssAlt;
    }
    return shift;
}

tk::ShortCut ShortCutOf(const QKeyEvent& event)
{
    uint16_t key = VirtualKey(event.key());
    if (key == 0) {
        return 0;
    }
    return tk::MakeShortCut(key, ShiftStateOf(event.modifiers()));
}

QKeySequence KeySequence(tk::ShortCut shortCut)
{
    if (shortCut == 0) {
        return {};
    }
    uint16_t vk = shortCut & 0xFF;
    int key = 0;
    for (const KeyPair& pair : SpecialKeys) {
        if (pair.Vk == vk) {
            key = pair.Qt;
            break;
        }
    }
    if (vk >= tk::VK_F1 && vk < tk::VK_F1 + 24) {
        key = Qt::Key_F1 + (vk - tk::VK_F1);
    } else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        key = vk;
    }
    if (key == 0) {
        return {};
    }
    Qt::KeyboardModifiers modifiers;
    if (shortCut & tk::scShift) {
        modifiers |= Qt::ShiftModifier;
    }
    if (shortCut & tk::scCtrl) {
        modifiers |= Qt::ControlModifier;
    }
    if (shortCut & tk::scAlt) {
        modifiers |= Qt::AltModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

}  // namespace workbench
