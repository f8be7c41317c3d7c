#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"
#include "formtools/UnitSelectFormUnit.h"
#include "services/MruEx.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* NoFileOpen = "ファイルが開いていません。";
constexpr const char* ActivateCodeWindow = "コードウインドウをアクティブにして下さい。";
constexpr const char* CannotOpen = "ファイルを開くことができません。";

class UnitListTest : public ToolWindowFixture {};

TEST_F(UnitListTest, ListsOnlyUnitSourcesSortedWithoutRegardToCase)
{
    quorlin::TCodeForm& form = CreateForm();
    form.MakeUnitList();
    EXPECT_TRUE(form.UnitCombo->Items().Empty());  // no project open
    EXPECT_EQ(form.UnitCombo->ItemIndex(), -1);

    std::filesystem::rename(folder.Path() + "/Sample/Consts.pas", folder.Path() + "/Sample/consts.PAS");
    std::string project = Sample("Sample.dpr");
    std::string text = ReadFile(project);
    text.replace(text.find("'Consts.pas'"), 12, "'consts.PAS'");
    WriteFile("Sample/Sample.dpr", text);
    ASSERT_TRUE(host.OpenProject(project));
    form.MakeUnitList();
    EXPECT_EQ(Entries(*form.UnitCombo), (Lines{Sample("consts.PAS"), Sample("Lib/Utils.pas"), Sample("MainForm.pas"),
                                               Sample("Shapes.pas"), Sample("ViewOptions.pas")}));
    EXPECT_EQ(form.UnitCombo->ItemIndex(), 0);
    EXPECT_EQ(form.UnitCombo->Text(), Sample("consts.PAS"));
}

TEST_F(UnitListTest, OpenUnitShowsTheHourglassAndReleasesWhatItObtained)
{
    quorlin::TCodeForm& form = FormWithSample();
    desktop.ClearRecords();
    form.OpenUnit(Sample("MainForm.pas"));
    EXPECT_TRUE(host.IsFileOpen(Sample("MainForm.pas")));
    EXPECT_EQ(Entries(*form.MethodCombo), (Lines{"ShowTotal(Value: Integer);", "TForm1.AddLine(const S: string);",
                                                 "TForm1.Button1Click(Sender: TObject);",
                                                 "TForm1.FormCreate(Sender: TObject);"}));
    EXPECT_EQ(desktop.Cursors(), (std::vector<tk::Cursor>{tk::Cursor::HourGlass, tk::Cursor::Default}));
    EXPECT_EQ(tk::Application::Instance().GetCursor(), tk::Cursor::Default);
}

TEST_F(UnitListTest, FailuresToOpenAUnit)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.OpenUnit(Sample("Shapes.pas"));
    ASSERT_FALSE(form.MethodCombo->Items().Empty());

    // A form file: a message, and both lists stay.
    form.OpenUnit(Sample("MainForm.dfm"));
    EXPECT_EQ(MessageTexts(), (Lines{ActivateCodeWindow}));
    EXPECT_EQ(form.UnitCombo->Items().Count(), 5);
    EXPECT_EQ(form.MethodCombo->Items().Count(), 6);

    // A unit deleted from disk: a message, and both lists are emptied.
    std::filesystem::remove(Sample("MainForm.pas"));
    form.OpenUnit(Sample("MainForm.pas"));
    EXPECT_EQ(MessageTexts(), (Lines{ActivateCodeWindow, CannotOpen}));
    EXPECT_TRUE(form.UnitCombo->Items().Empty());
    EXPECT_TRUE(form.MethodCombo->Items().Empty());
    EXPECT_EQ(form.UnitCombo->Text(), "");
    EXPECT_EQ(form.MethodCombo->Text(), "");

    // The unit command with no unit chosen.
    form.CodeWindowMenuClick(nullptr);
    EXPECT_EQ(MessageTexts(), (Lines{ActivateCodeWindow, CannotOpen, NoFileOpen}));
}

TEST_F(UnitListTest, ChoosingAUnitListsItsRoutinesAndShowsItsSource)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.Show();
    int index = form.UnitCombo->Items().IndexOf(Sample("Shapes.pas"));
    form.UnitCombo->ChooseItem(index);
    EXPECT_EQ(form.MethodCombo->Items().Count(), 6);
    EXPECT_EQ(host.CurrentFile(), Sample("Shapes.pas"));
    EXPECT_EQ(form.Width(), 664);  // the routine-list size
    EXPECT_EQ(form.Height(), 88);
    EXPECT_EQ(form.ActiveControl(), form.MethodCombo);
    EXPECT_TRUE(desktop.Messages().empty());

    // Update: the list is rebuilt and the first unit in sorted order becomes current again.
    form.UpdateMenu->Click();
    EXPECT_EQ(form.UnitCombo->Text(), Sample("Consts.pas"));
    EXPECT_TRUE(form.MethodCombo->Items().Empty());

    ASSERT_TRUE(host.CloseProject());
    form.UpDateCtrlMenu->Click();
    EXPECT_TRUE(form.UnitCombo->Items().Empty());
    EXPECT_TRUE(form.MethodCombo->Items().Empty());
}

TEST_F(UnitListTest, OpenAllStopsAtTheFirstUnitThatCannotBeOpened)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.OpenAll->Click();
    for (const std::string& unit : form.UnitCombo->Items().Items())
        EXPECT_TRUE(host.IsFileOpen(unit)) << unit;
    EXPECT_TRUE(desktop.Messages().empty());

    for (const std::string& unit : form.UnitCombo->Items().Items())
        host.CloseFile(unit);
    std::filesystem::remove(Sample("MainForm.pas"));
    form.OpenAll->Click();
    EXPECT_EQ(MessageTexts(), (Lines{std::string(CannotOpen) + " :" + Sample("MainForm.pas")}));
    EXPECT_TRUE(host.IsFileOpen(Sample("Lib/Utils.pas")));
    EXPECT_FALSE(host.IsFileOpen(Sample("Shapes.pas")));
    EXPECT_EQ(form.UnitCombo->Items().Count(), 5);
}

TEST_F(UnitListTest, CloseUnitsClosesTheChosenOpenUnits)
{
    quorlin::TCodeForm& form = FormWithSample();
    host.OpenFile(Sample("Shapes.pas"));
    host.OpenFile(Sample("MainForm.pas"));
    host.OpenFile(Sample("Lib/Utils.pas"));

    Lines offered;
    desktop.QueueModal([&](tk::Form& modal) {
        auto& select = dynamic_cast<quorlin::TUnitSelectForm&>(modal);
        offered = select.UnitListBox->Items().Items();
        select.UnitListBox->ClickItem(1);
        select.UnitListBox->ClickItem(3);
        select.OKButton->Click();
    });
    form.CloseUnitMenuItem->Click();
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"UnitSelectForm"}));
    // The list is updated first, which opens the first unit.
    EXPECT_EQ(offered, (Lines{Sample("Consts.pas"), Sample("Lib/Utils.pas"), Sample("MainForm.pas"),
                              Sample("Shapes.pas")}));
    EXPECT_FALSE(host.IsFileOpen(Sample("Lib/Utils.pas")));
    EXPECT_TRUE(host.IsFileOpen(Sample("MainForm.pas")));
    EXPECT_FALSE(host.IsFileOpen(Sample("Shapes.pas")));

    desktop.QueueModal([](tk::Form& modal) {
        auto& select = dynamic_cast<quorlin::TUnitSelectForm&>(modal);
        select.UnitListBox->ClickItem(0);
        select.CancelButton->Click();
    });
    form.CloseUnitMenuItem->Click();
    EXPECT_TRUE(host.IsFileOpen(Sample("MainForm.pas")));
    EXPECT_EQ(tk::Application::Instance().FindForm("UnitSelectForm"), nullptr);
}

TEST_F(UnitListTest, KeysMoveTheFocusBetweenTheLists)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.Show();
    form.UnitCombo->SetFocus();
    form.UnitCombo->HandleKeyDown(tk::VK_RIGHT, 0);
    EXPECT_EQ(form.ActiveControl(), form.MethodCombo);
    form.MethodCombo->HandleKeyDown(tk::VK_LEFT, tk::ssAlt);
    EXPECT_EQ(form.ActiveControl(), form.MethodCombo);
    form.MethodCombo->HandleKeyDown(tk::VK_LEFT, 0);
    EXPECT_EQ(form.ActiveControl(), form.UnitCombo);
    form.UnitCombo->HandleKeyDown(tk::VK_DOWN, tk::ssCtrl);
    EXPECT_EQ(form.ActiveControl(), form.TreeView1);
    EXPECT_EQ(form.UnitCombo->ItemIndex(), 0);  // the key went to the tree, not to the list

    form.UnitCombo->SetFocus();
    form.UnitCombo->SetDroppedDown(true);
    form.UnitCombo->HandleKeyDown(tk::VK_DOWN, tk::ssCtrl);
    EXPECT_NE(form.ActiveControl(), form.TreeView1);
}

}  // namespace
