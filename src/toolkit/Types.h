#pragma once
// Values shared by the toolkit's controls: geometry, keys, colours, results, event signatures.

#include <cstdint>
#include <functional>
#include <string>

namespace tk {

class Component;

struct Point {
    int X = 0;
    int Y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const Rect&) const = default;
};

enum class Align { None, Top, Bottom, Left, Right, Client };

// Modifier keys and mouse buttons held, as a set.
using ShiftState = uint32_t;
constexpr ShiftState ssShift = 1u << 0;
constexpr ShiftState ssAlt = 1u << 1;
constexpr ShiftState ssCtrl = 1u << 2;
constexpr ShiftState ssLeft = 1u << 3;
constexpr ShiftState ssRight = 1u << 4;
constexpr ShiftState ssMiddle = 1u << 5;
constexpr ShiftState ssDouble = 1u << 6;
constexpr ShiftState ssModifiers = ssShift | ssAlt | ssCtrl;

// Virtual key codes.
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint16_t VK_NEXT = 0x22;
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_F1 = 0x70;
constexpr uint16_t VK_F2 = 0x71;
constexpr uint16_t VK_F4 = 0x73;
constexpr uint16_t VK_F5 = 0x74;
constexpr uint16_t VK_F6 = 0x75;
constexpr uint16_t VK_F11 = 0x7A;
constexpr uint16_t VK_F12 = 0x7B;

// A menu shortcut: the virtual key in the low byte and modifier bits above.
using ShortCut = uint16_t;
constexpr ShortCut scShift = 0x2000;
constexpr ShortCut scCtrl = 0x4000;
constexpr ShortCut scAlt = 0x8000;
ShortCut MakeShortCut(uint16_t key, ShiftState shift);
// "Ctrl+F11", "F6": the text a menu shows beside the caption.
std::string ShortCutToText(ShortCut shortCut);

// Colours as 0x00BBGGRR, or a system colour (high bit set, low byte its index).
using Color = uint32_t;
constexpr Color clBlack = 0x000000;
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clYellow = 0x00FFFF;
constexpr Color clRed = 0x0000FF;
constexpr Color clBlue = 0xFF0000;
constexpr Color clSystemColor = 0x80000000;
constexpr Color clActiveCaption = clSystemColor | 2;
constexpr Color clInactiveCaption = clSystemColor | 3;
constexpr Color clWindow = clSystemColor | 5;
constexpr Color clWindowText = clSystemColor | 8;
constexpr Color clCaptionText = clSystemColor | 9;
constexpr Color clBtnFace = clSystemColor | 15;
constexpr Color clInactiveCaptionText = clSystemColor | 19;
constexpr Color RGB(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (uint32_t(b) << 16); }

enum class Cursor { Default, HourGlass, Arrow, Drag, NoDrop };

// Results of a modal run and of a message box.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

// Message box buttons and icons, combined as flags.
constexpr int MB_OK = 0x00;
constexpr int MB_OKCANCEL = 0x01;
constexpr int MB_YESNOCANCEL = 0x03;
constexpr int MB_YESNO = 0x04;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONQUESTION = 0x20;
constexpr int MB_ICONWARNING = 0x30;
constexpr int MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum class MouseButton { Left, Right, Middle };

using NotifyEvent = std::function<void(Component* sender)>;
using KeyEvent = std::function<void(Component* sender, uint16_t& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Component* sender, char& key)>;
using MouseEvent = std::function<void(Component* sender, MouseButton button, ShiftState shift, int x, int y)>;

}  // namespace tk
