#pragma once
// The control grid: a table of text with one fixed title row and a narrow fixed first column that
// carries no data, its data columns addressed by field name. Rows grow and shrink from the keyboard,
// and the table is kept in ini-format table files, one section per column.

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Grids.h"

namespace quorlin {

struct TRyGridColumn {
    std::string FieldName;  // how code addresses the column; letter case does not matter
    std::string Title;      // shown in the title row
    std::vector<std::string> PickList;  // offered while a cell is edited; any text is accepted
    int Width = 64;
};

class TRyCtrlGrid : public tk::StringGrid {
public:
    static constexpr int FixedColWidth = 11;

    // Starts with no data columns and one empty data row, editing on.
    explicit TRyCtrlGrid(tk::Component* owner);

    // Replaces the data columns (left to right after the fixed column) and writes their titles;
    // the data rows keep their count and lose their texts.
    void SetColumns(std::vector<TRyGridColumn> columns);
    const std::vector<TRyGridColumn>& Columns() const { return columns_; }
    // The data column (0-based) of a field name, letter case ignored; -1 when no column has it.
    int FieldIndex(std::string_view fieldName) const;

    // Data rows are counted from 0; data row r is grid row r + 1.
    int DataRowCount() const { return RowCount() - FixedRows(); }
    void SetDataRowCount(int count);
    // Empty text for a row past the end or a field name that no column has.
    std::string FieldText(std::string_view fieldName, int dataRow) const;
    // Adds empty rows at the end until dataRow exists; a field name that no column has changes
    // nothing.
    void SetFieldText(std::string_view fieldName, int dataRow, std::string text);
    // True when every data cell of the row is empty (also for a row that does not exist).
    bool RowIsEmpty(int dataRow) const;
    // Whether any data row of the column holds text, letter case ignored.
    bool ColumnHasText(std::string_view fieldName, std::string_view text) const;

    // Table files: one section per column, named by its field name, in column order, with the keys
    // "0", "1", ... for the data rows and the cell texts unchanged as values. Saving writes every
    // data row and removes nothing else from the file; false when the file cannot be written.
    bool SaveToFile(const std::string& fileName) const;
    // Loading fills each column from the section named by its field name, wherever that stands in
    // the file, row by row, adding rows as needed. Nothing is emptied first; a column without a
    // section keeps its cells, and sections that name no column are left.
    void LoadFromFile(const std::string& fileName);

    std::vector<std::string> PickList(int col) const override;

protected:
    // Down in the last row adds a row when that row is not empty (Ctrl: a copy of it); Up in an
    // empty last row removes it unless it is the only data row.
    void KeyDown(uint16_t& key, tk::ShiftState shift) override;

private:
    std::vector<TRyGridColumn> columns_;
};

}  // namespace quorlin
