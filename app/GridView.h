#pragma once
// The widget of toolkit string grids, with its in-place cell editor.

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <functional>
#include <utility>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/Grids.h"

namespace workbench {

// The in-place editor of a grid cell: a box that drops down the column's pick list, or a line edit.
// Every change goes to the toolkit at once, so the cell always holds what is typed.
class GridCellDelegate : public QStyledItemDelegate {
public:
    // grid answers the grid, or nullptr once it is gone.
    GridCellDelegate(FormRenderer& renderer, std::function<tk::StringGrid*()> grid, QObject* parent)
        : QStyledItemDelegate(parent), renderer_(renderer), grid_(std::move(grid))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        (void)option;
        tk::StringGrid* grid = grid_();
        if (!grid) {
            return nullptr;
        }
        auto [col, row] = Cell(index);
        std::vector<std::string> pickList = grid->PickList(col);
        if (pickList.empty()) {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            connect(edit, &QLineEdit::textEdited, edit, [this, col, row](const QString& text) { Deliver(col, row, text); });
            return edit;
        }
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& item : pickList) {
            combo->addItem(FromCp932(item));
        }
        connect(combo, &QComboBox::currentTextChanged, combo, [this, col, row](const QString& text) {
            Deliver(col, row, text);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentText() != text) {
                combo->setCurrentText(text);
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->text() != text) {
            edit->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        (void)model;
        auto [col, row] = Cell(index);
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            Deliver(col, row, combo->currentText());
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            Deliver(col, row, edit->text());
        }
    }

private:
    std::pair<int, int> Cell(const QModelIndex& index) const
    {
        tk::StringGrid* grid = grid_();
        int col = index.column() + (grid && grid->FixedCols() > 0 ? 1 : 0);
        int row = index.row() + (grid && grid->FixedRows() > 0 ? 1 : 0);
        return {col, row};
    }

    void Deliver(int col, int row, const QString& text) const
    {
        tk::StringGrid* grid = grid_();
        if (renderer_.Syncing() || !grid) {
            return;
        }
        std::string bytes = ToCp932(text);
        renderer_.Deliver([grid, col, row, bytes] { grid->EnterCellText(col, row, bytes); });
    }

    FormRenderer& renderer_;
    std::function<tk::StringGrid*()> grid_;
};

// A string grid as a table: the first fixed row is the title header, the first fixed column the
// row header, further fixed cells are not editable. The arrow keys go to the toolkit, which moves
// the current cell and adds or removes rows; typing, F2 and Enter open Qt's in-place editor.
class GridView : public QTableWidget, public ControlView {
public:
    GridView(FormRenderer& renderer, tk::StringGrid& grid, QWidget* parent)
        : QTableWidget(parent), ControlView(renderer, &grid), grid_(&grid)
    {
        setItemDelegate(new GridCellDelegate(renderer, [this] { return control_ ? grid_ : nullptr; }, this));
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setMinimumSectionSize(1);
        horizontalHeader()->setMinimumSectionSize(1);
        connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
            if (renderer_.Syncing() || !control_ || row < 0 || col < 0) {
                return;
            }
            int gridCol = col + HeaderCols();
            int gridRow = row + HeaderRows();
            renderer_.Deliver([this, gridCol, gridRow] { grid_->SelectCell(gridCol, gridRow); });
        });
    }

    void SyncFromControl() override
    {
        int headerRows = HeaderRows();
        int headerCols = HeaderCols();
        int rows = std::max(grid_->RowCount() - headerRows, 0);
        int cols = std::max(grid_->ColCount() - headerCols, 0);
        if (rowCount() != rows) {
            setRowCount(rows);
        }
        if (columnCount() != cols) {
            setColumnCount(cols);
        }
        horizontalHeader()->setVisible(headerRows > 0);
        verticalHeader()->setVisible(headerCols > 0);
        if (headerCols > 0 && verticalHeader()->width() != grid_->ColWidths(0)) {
            verticalHeader()->setFixedWidth(grid_->ColWidths(0));
        }
        if (verticalHeader()->defaultSectionSize() != grid_->DefaultRowHeight()) {
            verticalHeader()->setDefaultSectionSize(grid_->DefaultRowHeight());
        }
        for (int col = 0; col < cols; ++col) {
            if (columnWidth(col) != grid_->ColWidths(col + headerCols)) {
                setColumnWidth(col, grid_->ColWidths(col + headerCols));
            }
            QString title = headerRows > 0 ? FromCp932(grid_->Cells(col + headerCols, 0)) : QString();
            QTableWidgetItem* header = horizontalHeaderItem(col);
            if (!header || header->text() != title) {
                setHorizontalHeaderItem(col, new QTableWidgetItem(title));
            }
        }
        for (int row = 0; row < rows; ++row) {
            QString label = headerCols > 0 ? FromCp932(grid_->Cells(0, row + headerRows)) : QString();
            QTableWidgetItem* header = verticalHeaderItem(row);
            if (!header || header->text() != label) {
                setVerticalHeaderItem(row, new QTableWidgetItem(label));
            }
            for (int col = 0; col < cols; ++col) {
                SyncCell(row, col);
            }
        }
        int currentRow = grid_->Row() - headerRows;
        int currentCol = grid_->Col() - headerCols;
        if (currentRow >= 0 && currentCol >= 0 && (this->currentRow() != currentRow || currentColumn() != currentCol)) {
            setCurrentCell(currentRow, currentCol);
        }
    }

    bool EditsText(const QKeyEvent& event) const override
    {
        if (state() == QAbstractItemView::EditingState) {
            return event.key() != Qt::Key_Up && event.key() != Qt::Key_Down;
        }
        if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            return false;
        }
        switch (event.key()) {
        case Qt::Key_F2:
            return true;
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
            return false;
        default:
            return control_ && grid_->Editing() && !event.text().isEmpty() && event.text()[0] >= ' ';
        }
    }

private:
    int HeaderRows() const { return control_ && grid_->FixedRows() > 0 ? 1 : 0; }
    int HeaderCols() const { return control_ && grid_->FixedCols() > 0 ? 1 : 0; }

    void SyncCell(int row, int col)
    {
        int gridCol = col + HeaderCols();
        int gridRow = row + HeaderRows();
        QString text = FromCp932(grid_->Cells(gridCol, gridRow));
        bool editable = grid_->Editing() && gridCol >= grid_->FixedCols() && gridRow >= grid_->FixedRows();
        QTableWidgetItem* cell = item(row, col);
        if (!cell) {
            cell = new QTableWidgetItem(text);
            setItem(row, col, cell);
        } else if (cell->text() != text) {
            cell->setText(text);
        }
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable) {
            flags |= Qt::ItemIsEditable;
        }
        if (cell->flags() != flags) {
            cell->setFlags(flags);
        }
        if (!editable && cell->background() != palette().brush(QPalette::Button)) {
            cell->setBackground(palette().brush(QPalette::Button));
        }
    }

    tk::StringGrid* grid_;
};

}  // namespace workbench
