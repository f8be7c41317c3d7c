#include "controls/MemoEx.h"

#include <algorithm>
#include <string_view>

namespace quorlin {

namespace {

// Offset of the start of 0-based line row in text; the text's length past the last line.
size_t OffsetOfLine(std::string_view text, int row)
{
    size_t offset = 0;
    for (int i = 0; i < row; ++i) {
        size_t lf = text.find('\n', offset);
        if (lf == std::string_view::npos) {
            return text.size();
        }
        offset = lf + 1;
    }
    return offset;
}

size_t LineLength(std::string_view text, size_t start)
{
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
        ++end;
    }
    return end - start;
}

int LineOf(std::string_view text, size_t offset)
{
    offset = std::min(offset, text.size());
    return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

}  // namespace

TMemoEx::TMemoEx(tk::Component* owner) : tk::Memo(owner)
{
}

int TMemoEx::Row() const
{
    return CaretLine();
}

int TMemoEx::Col() const
{
    return CaretColumn();
}

void TMemoEx::SetRow(int row)
{
    PlaceCaret(std::max(row, 0), Col());
}

void TMemoEx::SetCol(int col)
{
    PlaceCaret(Row(), std::max(col, 0));
}

void TMemoEx::PlaceCaret(int row, int col)
{
    std::string_view text = Text();
    row = std::min(row, std::max(Lines().Count() - 1, 0));
    size_t start = OffsetOfLine(text, row);
    size_t column = std::min(static_cast<size_t>(col), LineLength(text, start));
    SetSelStart(static_cast<int>(start + column));
    SetSelLength(0);
}

void TMemoEx::MouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y)
{
    if (button == tk::MouseButton::Left) {
        leftDown_ = true;
    }
    tk::Memo::MouseDown(button, shift, x, y);
}

void TMemoEx::MouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y)
{
    tk::Memo::MouseUp(button, shift, x, y);
    if (button != tk::MouseButton::Left || !leftDown_) {
        return;
    }
    leftDown_ = false;
    if (!dragLine_ || SelLength() <= 0 || !OnDragLine) {
        return;
    }
    std::string_view text = Text();
    size_t begin = static_cast<size_t>(SelStart());
    size_t end = std::min(begin + static_cast<size_t>(SelLength()), text.size());
    int first = LineOf(text, begin);
    // A selection starting behind a line's last character starts on the next line.
    if (begin < text.size() && (text[begin] == '\r' || text[begin] == '\n')) {
        ++first;
    }
    int last = LineOf(text, end);
    // A selection ending at the start of a line does not take that line.
    if (end == OffsetOfLine(text, last) && last > 0) {
        --last;
    }
    OnDragLine(this, first, std::max(first, last));
}

}  // namespace quorlin
