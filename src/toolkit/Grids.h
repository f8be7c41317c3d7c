#pragma once
// A grid of text cells: fixed title rows and columns at the top and left, a current cell among the
// others that the arrow keys move, and editing of the current cell in place.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Control.h"

namespace tk {

using SelectCellEvent = std::function<void(Component* sender, int col, int row, bool& canSelect)>;
using SetEditTextEvent = std::function<void(Component* sender, int col, int row, const std::string& value)>;

class StringGrid : public Control {
public:
    explicit StringGrid(Component* owner);

    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    // New rows are empty; rows cut off lose their cells.
    int RowCount() const { return static_cast<int>(cells_.size()); }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);

    // Empty text outside the grid; setting a cell outside it changes nothing.
    const std::string& Cells(int col, int row) const;
    void SetCells(int col, int row, std::string text);
    const std::vector<std::string>& Rows(int row) const;
    // Inserts an empty row before row (at the end for RowCount()); removes a row.
    void InsertRow(int row);
    void DeleteRow(int row);

    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width) { defaultColWidth_ = width; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height) { defaultRowHeight_ = height; }
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);

    // The current cell, always outside the fixed rows and columns while there is such a cell.
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Makes a cell current when OnSelectCell lets it; answers whether it is current afterwards.
    bool SelectCell(int col, int row);

    // With editing on, typing changes the current cell; F2 or typing opens the in-place editor,
    // Enter or a move closes it, Esc closes it and puts the text back that the cell had when it
    // opened. The editor's caret is always at the end of the text.
    bool Editing() const { return editing_; }
    void SetEditing(bool editing) { editing_ = editing; }
    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool on);
    // A person's whole text for a cell, as a front end's in-place editor hands it over: the cell
    // becomes current and takes the text. Fixed cells and a grid without editing refuse it.
    bool EnterCellText(int col, int row, std::string text);
    // The texts a column offers in a drop-down list while one of its cells is edited; any other
    // text may be typed all the same.
    virtual std::vector<std::string> PickList(int col) const;

    SelectCellEvent OnSelectCell;
    SetEditTextEvent OnSetEditText;

protected:
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    void DefaultKeyPress(char key) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;
    // Called after the text of the current cell was edited; raises OnSetEditText.
    virtual void SetEditText(int col, int row, const std::string& value);
    // The current cell moved into the fixed area or out of the grid: a valid one is chosen again.
    void KeepCurrentCellValid();

private:
    void MoveBy(int cols, int rows);

    std::vector<std::vector<std::string>> cells_;
    std::vector<int> colWidths_;
    int colCount_ = 0;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 18;
    int col_ = 0;
    int row_ = 0;
    bool editing_ = false;
    bool editorMode_ = false;
    std::string editOriginal_;
};

}  // namespace tk
