#include "controls/RyCtrlGrid.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "toolkit/Form.h"

namespace {

using namespace quorlin;
using Texts = std::vector<std::string>;

std::vector<TRyGridColumn> PropertyColumns()
{
    return {{"PropName", "Name", {}, 157},
            {"PropType", "Type", {"String", "Longint"}, 98},
            {"ReadType", "Read", {"None", "Variable", "Method"}, 61}};
}

class GridForm : public tk::Form {
public:
    GridForm() : tk::Form(nullptr)
    {
        Grid = new TRyCtrlGrid(this);
        Grid->SetParent(this);
        Grid->SetColumns(PropertyColumns());
        FinishCreate();
        SetActiveControl(Grid);
    }
    void Key(uint16_t key, tk::ShiftState shift = 0) { DispatchKey(key, shift); }
    void Type(const std::string& text)
    {
        for (char c : text) {
            DispatchChar(c);
        }
    }
    TRyCtrlGrid* Grid;
};

TEST(RyCtrlGridTest, ColumnsAreAddressedByFieldName)
{
    GridForm form;
    TRyCtrlGrid& grid = *form.Grid;
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.ColWidths(0), 11);
    EXPECT_EQ(grid.ColWidths(2), 98);
    EXPECT_EQ(grid.Cells(3, 0), "Read");
    EXPECT_EQ(grid.DataRowCount(), 1);
    EXPECT_EQ(grid.PickList(3), (Texts{"None", "Variable", "Method"}));
    EXPECT_TRUE(grid.PickList(1).empty());
    EXPECT_TRUE(grid.PickList(0).empty());

    grid.SetFieldText("proptype", 2, "Longint");
    EXPECT_EQ(grid.DataRowCount(), 3);
    EXPECT_EQ(grid.Cells(2, 3), "Longint");
    EXPECT_EQ(grid.FieldText("PROPTYPE", 2), "Longint");
    EXPECT_EQ(grid.FieldText("PropType", 3), "");
    EXPECT_EQ(grid.FieldText("Missing", 2), "");
    grid.SetFieldText("Missing", 9, "x");
    EXPECT_EQ(grid.DataRowCount(), 3);

    EXPECT_TRUE(grid.RowIsEmpty(0));
    EXPECT_FALSE(grid.RowIsEmpty(2));
    EXPECT_TRUE(grid.RowIsEmpty(7));
    EXPECT_TRUE(grid.ColumnHasText("PropType", "LONGINT"));
    EXPECT_FALSE(grid.ColumnHasText("PropName", "Longint"));
    EXPECT_FALSE(grid.ColumnHasText("PropType", "Title"));  // the title row holds no data
}

TEST(RyCtrlGridTest, ArrowKeysAddAndRemoveRows)
{
    GridForm form;
    TRyCtrlGrid& grid = *form.Grid;
    form.Key(tk::VK_DOWN);  // the only row is empty
    EXPECT_EQ(grid.DataRowCount(), 1);
    form.Type("Count");
    form.Key(tk::VK_RIGHT);
    form.Type("Longint");
    form.Key(tk::VK_DOWN);
    EXPECT_EQ(grid.DataRowCount(), 2);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_TRUE(grid.RowIsEmpty(1));

    form.Key(tk::VK_DOWN);  // the new last row is still empty
    EXPECT_EQ(grid.DataRowCount(), 2);
    form.Key(tk::VK_UP);  // an empty last row goes
    EXPECT_EQ(grid.DataRowCount(), 1);
    EXPECT_EQ(grid.Row(), 1);
    form.Key(tk::VK_UP);
    EXPECT_EQ(grid.DataRowCount(), 1);

    // Ctrl+Down starts the new row as a copy of the one above; Up in a filled last row only moves.
    form.Key(tk::VK_DOWN, tk::ssCtrl);
    EXPECT_EQ(grid.DataRowCount(), 2);
    EXPECT_EQ(grid.FieldText("PropName", 1), "Count");
    EXPECT_EQ(grid.FieldText("PropType", 1), "Longint");
    form.Key(tk::VK_UP);
    EXPECT_EQ(grid.DataRowCount(), 2);
    EXPECT_EQ(grid.Row(), 1);

    // Down in a row that is not the last one moves; any text is accepted in a pick-list column.
    form.Key(tk::VK_RIGHT);
    form.Type("Whatever it is");
    form.Key(tk::VK_DOWN);
    EXPECT_EQ(grid.DataRowCount(), 2);
    EXPECT_EQ(grid.FieldText("ReadType", 0), "Whatever it is");
    EXPECT_TRUE(grid.EnterCellText(3, 2, "variable"));
    EXPECT_EQ(grid.FieldText("ReadType", 1), "variable");
}

TEST(RyCtrlGridTest, TableFilesRoundTripAndKeepWhatTheyDoNotOverwrite)
{
    TempFolder folder;
    std::string file = folder / "Table.prp";
    {
        GridForm form;
        TRyCtrlGrid& grid = *form.Grid;
        Texts names{"Count", "", "Caption"};
        for (int row = 0; row < 3; ++row) {
            grid.SetFieldText("PropName", row, names[row]);
        }
        grid.SetFieldText("PropType", 2, "String");
        ASSERT_TRUE(grid.SaveToFile(file));
    }
    EXPECT_EQ(TempFolder::Read(file),
              "[PropName]\r\n0=Count\r\n1=\r\n2=Caption\r\n"
              "[PropType]\r\n0=\r\n1=\r\n2=String\r\n"
              "[ReadType]\r\n0=\r\n1=\r\n2=\r\n");
    {
        GridForm shorter;
        shorter.Grid->SetFieldText("PropName", 0, "Width");
        ASSERT_TRUE(shorter.Grid->SaveToFile(file));
    }
    GridForm loaded;
    TRyCtrlGrid& grid = *loaded.Grid;
    grid.SetFieldText("ReadType", 3, "kept");
    grid.LoadFromFile(file);
    EXPECT_EQ(grid.DataRowCount(), 4);
    EXPECT_EQ(grid.FieldText("PropName", 0), "Width");
    EXPECT_EQ(grid.FieldText("PropName", 2), "Caption");
    EXPECT_EQ(grid.FieldText("PropType", 2), "String");
    EXPECT_EQ(grid.FieldText("ReadType", 3), "kept");

    // A file without a column's section leaves that column alone; an unwritable file is reported.
    std::string partial = folder.Write("Partial.prp", "[PropName]\r\n0=Only\r\n");
    grid.LoadFromFile(partial);
    EXPECT_EQ(grid.FieldText("PropName", 0), "Only");
    EXPECT_EQ(grid.FieldText("PropType", 2), "String");
    EXPECT_FALSE(grid.SaveToFile(folder / "missing/Table.prp"));
}

TEST(RyCtrlGridTest, SectionsFillTheColumnsOfTheirNameInAnyOrder)
{
    TempFolder folder;
    std::string reordered = folder.Write("Reordered.prp",
                                         "[Notes]\r\n0=not a column\r\n[ReadType]\r\n0=Method\r\n"
                                         "[PropName]\r\n0=Count\r\n1=Width\r\n[propTYPE]\r\n0=Longint\r\n");
    GridForm form;
    TRyCtrlGrid& grid = *form.Grid;
    grid.LoadFromFile(reordered);
    ASSERT_EQ(grid.DataRowCount(), 2);
    EXPECT_EQ(grid.Rows(1), (Texts{"", "Count", "Longint", "Method"}));
    EXPECT_EQ(grid.Rows(2), (Texts{"", "Width", "", ""}));

    // A table saved into a file that holds other sections first reads back as it was.
    std::string shared = folder.Write("Shared.prp", "[Other]\r\nkept=1\r\n");
    ASSERT_TRUE(grid.SaveToFile(shared));
    GridForm reloaded;
    reloaded.Grid->LoadFromFile(shared);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(reloaded.Grid->Rows(row + 1), grid.Rows(row + 1)) << "row " << row;
    }
    EXPECT_TRUE(TempFolder::Read(shared).starts_with("[Other]\r\nkept=1\r\n"));
}

}  // namespace
