#pragma once
// A multi-line edit that tells its caret as row and column and reports the lines a mouse selection
// touched.

#include <functional>

#include "toolkit/StdCtrls.h"

namespace quorlin {

using TDragLineEvent = std::function<void(tk::Component* sender, int firstLine, int lastLine)>;

class TMemoEx : public tk::Memo {
public:
    explicit TMemoEx(tk::Component* owner);

    // The caret's line (0-based); setting it keeps the column as far as the new line allows.
    int Row() const;
    void SetRow(int row);
    // The caret's column; setting it is limited to the line's length.
    int Col() const;
    void SetCol(int col);
    bool DragLine() const { return dragLine_; }
    void SetDragLine(bool value) { dragLine_ = value; }

    void MouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;
    void MouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;

    // Raised when the left button is released over a selection: the first and last line it touches.
    TDragLineEvent OnDragLine;

private:
    void PlaceCaret(int row, int col);

    bool dragLine_ = true;
    bool leftDown_ = false;
};

}  // namespace quorlin
