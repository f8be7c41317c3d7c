#include "controls/RyCtrlGrid.h"

#include <algorithm>

#include "platform/Cp932.h"
#include "platform/IniFile.h"

namespace quorlin {

TRyCtrlGrid::TRyCtrlGrid(tk::Component* owner) : tk::StringGrid(owner)
{
    SetRowCount(2);
    SetFixedRows(1);
    SetColumns({});
    SetEditing(true);
}

void TRyCtrlGrid::SetColumns(std::vector<TRyGridColumn> columns)
{
    columns_ = std::move(columns);
    SetColCount(1 + static_cast<int>(columns_.size()));
    SetFixedCols(1);
    SetColWidths(0, FixedColWidth);
    SetCells(0, 0, {});
    for (int col = 1; col < ColCount(); ++col) {
        const TRyGridColumn& column = columns_[col - 1];
        SetCells(col, 0, column.Title);
        SetColWidths(col, column.Width);
        for (int row = FixedRows(); row < RowCount(); ++row) {
            SetCells(col, row, {});
        }
    }
}

int TRyCtrlGrid::FieldIndex(std::string_view fieldName) const
{
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (platform::SameText(columns_[i].FieldName, fieldName)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TRyCtrlGrid::SetDataRowCount(int count)
{
    SetRowCount(FixedRows() + std::max(count, 0));
}

std::string TRyCtrlGrid::FieldText(std::string_view fieldName, int dataRow) const
{
    int field = FieldIndex(fieldName);
    if (field < 0 || dataRow < 0) {
        return {};
    }
    return Cells(FixedCols() + field, FixedRows() + dataRow);
}

void TRyCtrlGrid::SetFieldText(std::string_view fieldName, int dataRow, std::string text)
{
    int field = FieldIndex(fieldName);
    if (field < 0 || dataRow < 0) {
        return;
    }
    if (dataRow >= DataRowCount()) {
        SetDataRowCount(dataRow + 1);
    }
    SetCells(FixedCols() + field, FixedRows() + dataRow, std::move(text));
}

bool TRyCtrlGrid::RowIsEmpty(int dataRow) const
{
    const std::vector<std::string>& cells = Rows(FixedRows() + dataRow);
    if (dataRow < 0 || cells.empty()) {
        return true;
    }
    return std::all_of(cells.begin() + FixedCols(), cells.end(), [](const std::string& cell) { return cell.empty(); });
}

bool TRyCtrlGrid::ColumnHasText(std::string_view fieldName, std::string_view text) const
{
    int field = FieldIndex(fieldName);
    if (field < 0) {
        return false;
    }
    for (int row = FixedRows(); row < RowCount(); ++row) {
        if (platform::SameText(Cells(FixedCols() + field, row), text)) {
            return true;
        }
    }
    return false;
}

bool TRyCtrlGrid::SaveToFile(const std::string& fileName) const
{
    platform::IniFile file(fileName);
    for (const TRyGridColumn& column : columns_) {
        for (int row = 0; row < DataRowCount(); ++row) {
            file.WriteString(column.FieldName, std::to_string(row), FieldText(column.FieldName, row));
        }
    }
    return file.UpdateFile();
}

void TRyCtrlGrid::LoadFromFile(const std::string& fileName)
{
    auto file = platform::IniFile::ReadOnly(fileName);
    for (const TRyGridColumn& column : columns_) {
        const std::string& section = column.FieldName;
        size_t keys = file->ReadSection(section).size();
        for (size_t row = 0; row < keys; ++row) {
            SetFieldText(section, static_cast<int>(row), file->ReadString(section, std::to_string(row), ""));
        }
    }
}

std::vector<std::string> TRyCtrlGrid::PickList(int col) const
{
    int field = col - FixedCols();
    if (field < 0 || field >= static_cast<int>(columns_.size())) {
        return {};
    }
    return columns_[field].PickList;
}

void TRyCtrlGrid::KeyDown(uint16_t& key, tk::ShiftState shift)
{
    tk::StringGrid::KeyDown(key, shift);
    bool plain = (shift & (tk::ssAlt | tk::ssShift)) == 0;
    if (!plain || Row() != RowCount() - 1 || Row() < FixedRows()) {
        return;
    }
    int last = DataRowCount() - 1;
    if (key == tk::VK_DOWN && !RowIsEmpty(last)) {
        std::vector<std::string> copy = Rows(Row());
        InsertRow(RowCount());
        if (shift & tk::ssCtrl) {
            for (int col = FixedCols(); col < ColCount(); ++col) {
                SetCells(col, RowCount() - 1, copy[col]);
            }
        }
        SelectCell(Col(), RowCount() - 1);
        key = 0;
    } else if (key == tk::VK_UP && last > 0 && RowIsEmpty(last)) {
        SelectCell(Col(), Row() - 1);
        if (Row() == RowCount() - 2) {
            DeleteRow(RowCount() - 1);
        }
        key = 0;
    }
}

}  // namespace quorlin
