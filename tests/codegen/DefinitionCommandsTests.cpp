// The tool window's class and method definition commands, driven through their windows over the
// reference host and the scripted desktop.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "codegen/MakeClassUnit.h"
#include "codegen/MethodFormUnit.h"
#include "controls/MemoEx.h"
#include "controls/RyCtrlGrid.h"
#include "platform/IniFile.h"
#include "support/ToolWindowFixture.h"

namespace {

using namespace quorlin;

// Types a row into a grid as a person does, cell by cell.
void TypeRow(TRyCtrlGrid& grid, int dataRow, const std::vector<std::string>& cells)
{
    for (size_t i = 0; i < cells.size(); ++i)
        ASSERT_TRUE(grid.EnterCellText(grid.FixedCols() + static_cast<int>(i), grid.FixedRows() + dataRow, cells[i]));
}

class DefinitionCommandsTest : public ToolWindowFixture {
protected:
    // What a person does in the class window: names, one property row, then OK.
    void QueueClassWindow(bool unitFile, std::function<void(TMakeClassForm&)> more = {})
    {
        desktop.QueueModal([=](tk::Form& window) {
            auto& form = dynamic_cast<TMakeClassForm&>(window);
            form.ClassName->TypeText("TSettings");
            form.InheritFrom->TypeText("TComponent");
            TypeRow(*form.PropGrid, 0, {"Title", "String", "Variable", "Method", "None", "shown"});
            if (unitFile)
                form.unitCheckBox->Click();
            if (more)
                more(form);
            form.InsertToUnitButton->Click();
        });
    }

    std::vector<std::string> ClassIniNames() const
    {
        platform::IniFile ini(folder / "Class.ini");
        std::vector<std::string> names;
        for (const std::string& key : ini.ReadSection("class"))
            names.push_back(ini.ReadString("class", key, ""));
        return names;
    }
};

TEST_F(DefinitionCommandsTest, UnitFileIsWrittenAddedToTheProjectAndShown)
{
    TCodeForm& form = FormWithSample();
    std::string unit = Sample("Settings.pas");
    desktop.QueueDialog(unit);
    QueueClassWindow(true, [](TMakeClassForm& window) { window.UnitMemo->Lines().Assign({"Settings of the sample"}); });
    form.InsertClass->Click();

    EXPECT_EQ(desktop.Dialogs(), std::vector<std::string>{"Pascal Unit(*.pas)|*.pas"});
    std::string text = ReadFile(unit);
    EXPECT_TRUE(text.starts_with("unit Settings;\r\n\r\n// Settings of the sample\r\n\r\ninterface\r\n")) << text;
    EXPECT_NE(text.find("\r\n    FTitle:String;\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nend.\r\n\r\n"));
    EXPECT_EQ(host.CurrentFile(), unit);
    EXPECT_EQ(host.UnitNames().back(), unit);
    EXPECT_NE(host.Text(Sample("Sample.dpr")).find("  Settings in 'Settings.pas';"), std::string::npos);
    EXPECT_TRUE(form.Memo1->Lines().Empty()) << "a written unit is not repeated in the memo";
    EXPECT_EQ(ClassIniNames(), (std::vector<std::string>{"TSettings", "TComponent"}));
}

TEST_F(DefinitionCommandsTest, DefinitionIsAppendedBehindTheMemoEachTime)
{
    TCodeForm& form = CreateForm();
    form.Memo1->Lines().Assign({"kept"});
    QueueClassWindow(false);
    form.InsertClass->Click();
    int once = form.Memo1->Lines().Count();
    desktop.QueueModal([](tk::Form& window) {
        auto& classForm = dynamic_cast<TMakeClassForm&>(window);
        // The names typed last time are offered, once each.
        EXPECT_EQ(classForm.ClassName->Items().Items(), (std::vector<std::string>{"TSettings", "TComponent"}));
        classForm.ClassName->TypeText("TSettings");
        TypeRow(*classForm.PropGrid, 0, {"Title", "String", "Variable", "Method", "None", "shown"});
        classForm.InsertToUnitButton->Click();
    });
    form.InsertClass->Click();

    EXPECT_TRUE(desktop.Dialogs().empty()) << "no unit file, no dialog";
    const tk::Strings& lines = form.Memo1->Lines();
    EXPECT_EQ(lines[0], "kept");
    EXPECT_EQ(lines[1], "  TSettings = class(TComponent)");
    EXPECT_EQ(lines[3], "    FTitle:String;");
    EXPECT_EQ(lines[4], "    procedure SetTitle( Val:String );");
    EXPECT_EQ(lines[once], "  TSettings = class()");
    EXPECT_EQ(lines.Count(), 2 * once - 1);
    EXPECT_EQ(ClassIniNames(), (std::vector<std::string>{"TSettings", "TComponent"}));
}

TEST_F(DefinitionCommandsTest, CancelOrNoUnitWrittenLeavesTheProjectAlone)
{
    TCodeForm& form = FormWithSample();
    desktop.QueueModal([](tk::Form& window) { dynamic_cast<TMakeClassForm&>(window).CancelButton->Click(); });
    form.InsertClass->Click();
    EXPECT_TRUE(form.Memo1->Lines().Empty());

    // The unit dialog cancelled: the definition goes to the memo instead.
    desktop.QueueDialog(std::nullopt);
    QueueClassWindow(true);
    form.InsertClass->Click();
    EXPECT_EQ(form.Memo1->Lines()[0], "  TSettings = class(TComponent)");

    // A unit that cannot be written: the error is shown, nothing is left behind or opened.
    form.Memo1->Lines().Clear();
    std::string unwritable = folder / "missing/Settings.pas";
    desktop.QueueDialog(unwritable);
    QueueClassWindow(true);
    size_t units = host.UnitNames().size();
    form.InsertClass->Click();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_TRUE(MessageTexts()[0].starts_with(unwritable + ": ")) << MessageTexts()[0];
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    EXPECT_EQ(host.UnitNames().size(), units);
    EXPECT_EQ(form.Memo1->Lines()[0], "  TSettings = class(TComponent)");
}

TEST_F(DefinitionCommandsTest, PropertyTableSavedFromOneWindowLoadsIntoTheNext)
{
    TCodeForm& form = CreateForm();
    std::string table = folder / "settings.prp";
    desktop.QueueDialog(table);
    desktop.QueueModal([](tk::Form& window) {
        auto& classForm = dynamic_cast<TMakeClassForm&>(window);
        TypeRow(*classForm.PropGrid, 0, {"Title", "String", "Variable", "Method", "None", "shown"});
        classForm.PropGrid->SetFieldText("PropName", 2, "Third");
        classForm.SaveButton->Click();
        classForm.CancelButton->Click();
    });
    form.InsertClass->Click();
    EXPECT_EQ(desktop.Dialogs(), std::vector<std::string>{"プロパティ定義(*.prp)|*.prp"});
    EXPECT_NE(ReadFile(table).find("[Coment]\r\n0=shown\r\n1=\r\n2=\r\n"), std::string::npos);

    desktop.QueueDialog(table);
    desktop.QueueModal([](tk::Form& window) {
        auto& classForm = dynamic_cast<TMakeClassForm&>(window);
        classForm.ClassName->TypeText("TLoaded");
        classForm.OpenButton->Click();
        EXPECT_EQ(classForm.PropGrid->DataRowCount(), 3);
        classForm.InsertToUnitButton->Click();
    });
    form.InsertClass->Click();
    EXPECT_EQ(form.Memo1->Lines()[2], "    FTitle:String;");
    EXPECT_EQ(form.Memo1->Lines()[9], "    property Title:String read FTitle write SetTitle ;");
    EXPECT_EQ(form.Memo1->Lines()[10], "    property Third: ;");
}

// The unit and the table the class window writes: through a link to the file it leads to, never
// over a FIFO.
TEST_F(DefinitionCommandsTest, UnitsAndTablesAreWrittenThroughLinksAndNeverOverSpecialFiles)
{
    TCodeForm& form = FormWithSample();
    std::filesystem::create_directory(folder / "real");
    std::filesystem::create_symlink("../real/Settings.pas", Sample("Settings.pas"));
    std::filesystem::create_symlink("real/settings.prp", folder / "settings.prp");
    desktop.QueueDialog(Sample("Settings.pas"));
    QueueClassWindow(true);
    form.InsertClass->Click();
    desktop.QueueDialog(folder / "settings.prp");
    desktop.QueueModal([](tk::Form& window) {
        auto& classForm = dynamic_cast<TMakeClassForm&>(window);
        TypeRow(*classForm.PropGrid, 0, {"Title", "String", "Variable", "Method", "None", "shown"});
        classForm.SaveButton->Click();
        classForm.CancelButton->Click();
    });
    form.InsertClass->Click();
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_TRUE(std::filesystem::is_symlink(Sample("Settings.pas")));
    EXPECT_TRUE(ReadFile(folder / "real/Settings.pas").starts_with("unit Settings;\r\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "settings.prp"));
    EXPECT_NE(ReadFile(folder / "real/settings.prp").find("[Coment]\r\n0=shown\r\n"), std::string::npos);

    std::string fifo = Sample("Fifo.pas");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    desktop.QueueDialog(fifo);
    QueueClassWindow(true);
    form.InsertClass->Click();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{fifo + ": not a regular file"});
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(DefinitionCommandsTest, MethodTableGivesHeadingsThenBodiesAndRemembersNamesAndParameters)
{
    TCodeForm& form = CreateForm();
    form.Memo1->Lines().Assign({"kept"});
    desktop.QueueModal([](tk::Form& window) { dynamic_cast<TMethodForm&>(window).CancelButton->Click(); });
    form.MethodMenuItem->Click();
    EXPECT_EQ(form.Memo1->Lines().Items(), std::vector<std::string>{"kept"});

    desktop.QueueModal([](tk::Form& window) {
        auto& methodForm = dynamic_cast<TMethodForm&>(window);
        EXPECT_EQ(methodForm.MethodGrid->DataRowCount(), 4);
        methodForm.ClassNameList->TypeText("TItems");
        TypeRow(*methodForm.MethodGrid, 0, {"function", "GetItem", "idx :Longint", "String", ";virtual"});
        TypeRow(*methodForm.MethodGrid, 2, {"procedure", "Clear"});
        methodForm.InsertToUnitButton->Click();
    });
    form.MethodMenuItem->Click();
    EXPECT_EQ(form.Memo1->Lines().Items(),
              (std::vector<std::string>{"kept", "function TItems.GetItem(idx :Longint) :String;virtual;", "", "",
                                        "procedure TItems.Clear;", "", "", "function TItems.GetItem(idx :Longint) :String;",
                                        "begin", "end;", "procedure TItems.Clear;", "begin", "end;"}));
    platform::IniFile settings(folder / "Quorlin.Dat");
    EXPECT_EQ(settings.ReadSection("MethodName"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(settings.ReadString("MethodName", "1", ""), "Clear");
    EXPECT_EQ(settings.ReadSection("Parameter"), std::vector<std::string>{"0"});
    EXPECT_EQ(settings.ReadString("Parameter", "0", ""), "idx :Longint");
    EXPECT_TRUE(ClassIniNames().empty()) << "the method window does not store class names";
}

TEST_F(DefinitionCommandsTest, RememberedMethodNamesAndParametersKeepToTheirLimit)
{
    TCodeForm& form = CreateForm();
    const int rows = static_cast<int>(TMethodForm::HistoryLimit) + 50;
    desktop.QueueModal([rows](tk::Form& window) {
        auto& methodForm = dynamic_cast<TMethodForm&>(window);
        for (int row = 0; row < rows; ++row) {
            methodForm.MethodGrid->SetFieldText("FunctionName", row, "Method" + std::to_string(row));
            methodForm.MethodGrid->SetFieldText("Parameter", row, "Val :Longint");
        }
        methodForm.InsertToUnitButton->Click();
    });
    form.MethodMenuItem->Click();
    platform::IniFile settings(folder / "Quorlin.Dat");
    std::vector<std::string> keys = settings.ReadSection("MethodName");
    ASSERT_EQ(keys.size(), TMethodForm::HistoryLimit);
    EXPECT_EQ(keys.back(), std::to_string(TMethodForm::HistoryLimit - 1));
    EXPECT_EQ(settings.ReadString("MethodName", "0", ""), "Method50");
    EXPECT_EQ(settings.ReadString("MethodName", keys.back(), ""), "Method" + std::to_string(rows - 1));
    EXPECT_EQ(settings.ReadSection("Parameter"), std::vector<std::string>{"0"});
}

}  // namespace
