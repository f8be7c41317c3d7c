#include "toolkit/Grids.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace tk {

namespace {

const std::string kNoText;
const std::vector<std::string> kNoRow;

// The text without its last character; a two-byte character goes whole.
std::string WithoutLastChar(const std::string& text)
{
    size_t last = 0;
    for (size_t i = 0; i < text.size();) {
        last = i;
        i += platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return text.substr(0, last);
}

}  // namespace

StringGrid::StringGrid(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 320, 120);
    colCount_ = 5;
    cells_.assign(5, std::vector<std::string>(5));
    colWidths_.assign(5, -1);
    fixedCols_ = 1;
    fixedRows_ = 1;
    col_ = 1;
    row_ = 1;
}

void StringGrid::SetColCount(int count)
{
    count = std::max(count, 0);
    colCount_ = count;
    for (auto& row : cells_) {
        row.resize(count);
    }
    colWidths_.resize(count, -1);
    fixedCols_ = std::min(fixedCols_, std::max(count - 1, 0));
    KeepCurrentCellValid();
}

void StringGrid::SetRowCount(int count)
{
    count = std::max(count, 0);
    cells_.resize(count, std::vector<std::string>(colCount_));
    fixedRows_ = std::min(fixedRows_, std::max(count - 1, 0));
    KeepCurrentCellValid();
}

void StringGrid::SetFixedCols(int count)
{
    fixedCols_ = std::clamp(count, 0, std::max(colCount_ - 1, 0));
    KeepCurrentCellValid();
}

void StringGrid::SetFixedRows(int count)
{
    fixedRows_ = std::clamp(count, 0, std::max(RowCount() - 1, 0));
    KeepCurrentCellValid();
}

const std::string& StringGrid::Cells(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) {
        return kNoText;
    }
    return cells_[row][col];
}

void StringGrid::SetCells(int col, int row, std::string text)
{
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) {
        return;
    }
    cells_[row][col] = std::move(text);
}

const std::vector<std::string>& StringGrid::Rows(int row) const
{
    return row < 0 || row >= RowCount() ? kNoRow : cells_[row];
}

void StringGrid::InsertRow(int row)
{
    row = std::clamp(row, 0, RowCount());
    cells_.insert(cells_.begin() + row, std::vector<std::string>(colCount_));
    KeepCurrentCellValid();
}

void StringGrid::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount()) {
        return;
    }
    cells_.erase(cells_.begin() + row);
    fixedRows_ = std::min(fixedRows_, std::max(RowCount() - 1, 0));
    KeepCurrentCellValid();
}

int StringGrid::ColWidths(int col) const
{
    if (col < 0 || col >= colCount_ || colWidths_[col] < 0) {
        return defaultColWidth_;
    }
    return colWidths_[col];
}

void StringGrid::SetColWidths(int col, int width)
{
    if (col >= 0 && col < colCount_) {
        colWidths_[col] = std::max(width, 0);
    }
}

bool StringGrid::SelectCell(int col, int row)
{
    if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= RowCount()) {
        return false;
    }
    if (col == col_ && row == row_) {
        return true;
    }
    bool canSelect = true;
    if (OnSelectCell) {
        OnSelectCell(this, col, row, canSelect);
    }
    if (!canSelect) {
        return false;
    }
    editorMode_ = false;
    col_ = col;
    row_ = row;
    return true;
}

void StringGrid::KeepCurrentCellValid()
{
    int lastCol = colCount_ - 1;
    int lastRow = RowCount() - 1;
    col_ = std::clamp(col_, std::min(fixedCols_, std::max(lastCol, 0)), std::max(lastCol, 0));
    row_ = std::clamp(row_, std::min(fixedRows_, std::max(lastRow, 0)), std::max(lastRow, 0));
    if (row_ > lastRow || col_ > lastCol) {
        editorMode_ = false;
    }
}

void StringGrid::SetEditorMode(bool on)
{
    on = on && editing_;
    if (on && !editorMode_) {
        editOriginal_ = Cells(col_, row_);
    }
    editorMode_ = on;
}

bool StringGrid::EnterCellText(int col, int row, std::string text)
{
    if (!editing_ || !SelectCell(col, row)) {
        return false;
    }
    if (Cells(col, row) != text) {
        SetCells(col, row, std::move(text));
        SetEditText(col, row, Cells(col, row));
    }
    return true;
}

std::vector<std::string> StringGrid::PickList(int col) const
{
    (void)col;
    return {};
}

void StringGrid::SetEditText(int col, int row, const std::string& value)
{
    if (OnSetEditText) {
        OnSetEditText(this, col, row, value);
    }
}

void StringGrid::MoveBy(int cols, int rows)
{
    int col = std::clamp(col_ + cols, fixedCols_, std::max(colCount_ - 1, fixedCols_));
    int row = std::clamp(row_ + rows, fixedRows_, std::max(RowCount() - 1, fixedRows_));
    SelectCell(col, row);
}

void StringGrid::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    if (!WantsKey(key, shift)) {
        return;
    }
    switch (key) {
    case VK_UP: MoveBy(0, -1); break;
    case VK_DOWN: MoveBy(0, 1); break;
    case VK_LEFT: MoveBy(-1, 0); break;
    case VK_RIGHT: MoveBy(1, 0); break;
    case VK_HOME: SelectCell(fixedCols_, row_); break;
    case VK_END: SelectCell(colCount_ - 1, row_); break;
    case VK_F2: SetEditorMode(true); break;
    case VK_RETURN: editorMode_ = false; break;
    case VK_ESCAPE:
        editorMode_ = false;
        if (Cells(col_, row_) != editOriginal_) {
            SetCells(col_, row_, editOriginal_);
            SetEditText(col_, row_, editOriginal_);
        }
        break;
    case VK_DELETE:
        if (!Cells(col_, row_).empty()) {
            SetCells(col_, row_, {});
            SetEditText(col_, row_, {});
        }
        break;
    default:
        break;
    }
}

void StringGrid::DefaultKeyPress(char key)
{
    if (!editing_ || col_ < fixedCols_ || row_ < fixedRows_ || row_ >= RowCount()) {
        return;
    }
    bool backspace = key == '\b';
    if (!backspace && (static_cast<unsigned char>(key) < 0x20 || key == 0x7F)) {
        return;
    }
    std::string text;
    if (!editorMode_) {
        // Typing into a cell that is not being edited replaces its text, as in a selected editor.
        SetEditorMode(true);
    } else {
        text = Cells(col_, row_);
    }
    text = backspace ? WithoutLastChar(text) : text + key;
    SetCells(col_, row_, text);
    SetEditText(col_, row_, text);
}

bool StringGrid::WantsKey(uint16_t key, ShiftState shift) const
{
    if ((shift & (ssAlt | ssShift)) != 0) {
        return false;
    }
    switch (key) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
        return true;
    case VK_F2: case VK_DELETE:
        return editing_ && !editorMode_ && (shift & ssCtrl) == 0;
    case VK_RETURN: case VK_ESCAPE:
        return editorMode_ && (shift & ssCtrl) == 0;
    default:
        return false;
    }
}

}  // namespace tk
