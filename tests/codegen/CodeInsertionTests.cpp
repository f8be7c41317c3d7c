#include <gtest/gtest.h>

#include "codegen/ExchangeFormUnit.h"
#include "controls/MemoEx.h"
#include "support/ToolWindowFixture.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* NoFileOpen = "ファイルが開いていません。";
constexpr const char* ActivateCodeWindow = "コードウインドウをアクティブにして下さい。";

const std::string Unit =
    "unit Swap;\r\n"
    "\r\n"
    "implementation\r\n"
    "\r\n"
    "procedure Load;\r\n"
    "begin\r\n"
    "  Edit1.Text := Data.Name;  // name\r\n"
    "  x := y\r\n"
    "  Refresh;\r\n"
    "end;\r\n"
    "\r\n"
    "end.\r\n";

class CodeInsertionTest : public ToolWindowFixture {
protected:
    // The tool window with Swap.pas open and in front, its cursor on line.
    quorlin::TCodeForm& FormWithUnit(int32_t line)
    {
        quorlin::TCodeForm& form = CreateForm();
        unit = WriteFile("Swap.pas", Unit);
        EXPECT_TRUE(host.OpenFile(unit));
        host.SetCursor(unit, {5, line});
        return form;
    }
    // The unit's lines 7 to 9 selected completely, the cursor on line, the separator window answered.
    void Swap(quorlin::TCodeForm& form, const std::string& separator = ":=")
    {
        host.SetBlock(unit, {1, 7}, {1, 10});
        desktop.QueueModal([separator](tk::Form& window) {
            auto& exchange = dynamic_cast<quorlin::TExchangeForm&>(window);
            EXPECT_EQ(exchange.SeparatorEdit->Text(), ":=");
            exchange.SeparatorEdit->SetText(separator);
            exchange.ClosePanel->Click();
        });
        form.ExchangeMenuItem->Click();
    }
    std::string unit;
};

TEST_F(CodeInsertionTest, MemoLinesOrItsSelectionGoInFrontOfTheCursorsLine)
{
    quorlin::TCodeForm& form = FormWithUnit(10);
    form.Memo1->SetText("  Save;\r\n  Close;");
    form.K8->Click();
    std::string expected = Unit;
    expected.insert(expected.find("end;"), "  Save;\r\n  Close;\r\n");
    EXPECT_EQ(host.Text(unit), expected);

    // A selection goes in unchanged; without a line break the cursor's line continues after it.
    form.Memo1->SetSelStart(2);
    form.Memo1->SetSelLength(5);
    host.SetCursor(unit, {1, 3});
    form.K8->Click();
    expected.insert(expected.find("implementation"), "Save;");
    EXPECT_EQ(host.Text(unit), expected);
    EXPECT_TRUE(desktop.Messages().empty());

    // Line 1 and an empty memo insert nothing, silently.
    host.SetCursor(unit, {1, 1});
    form.K8->Click();
    form.Memo1->SetText("");
    host.SetCursor(unit, {1, 4});
    form.K8->Click();
    EXPECT_EQ(host.Text(unit), expected);
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(CodeInsertionTest, InsertionRefusesFormsAndAMissingFile)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.Memo1->SetText("text");
    std::string formFile = Sample("MainForm.dfm");
    ASSERT_TRUE(host.OpenFile(formFile));
    std::string before = host.Text(formFile);
    form.K8->Click();
    EXPECT_EQ(MessageTexts(), (Lines{ActivateCodeWindow}));
    EXPECT_EQ(host.Text(formFile), before);
    EXPECT_FALSE(form.UnitCombo->Items().Empty());

    for (const std::string& file : host.OpenFiles())
        ASSERT_TRUE(host.CloseFile(file));
    form.K8->Click();
    EXPECT_EQ(MessageTexts(), (Lines{ActivateCodeWindow, NoFileOpen}));
    EXPECT_TRUE(form.UnitCombo->Items().Empty());
}

TEST_F(CodeInsertionTest, SwappedCopyOfTheBlockGoesInFrontOfTheCursorsLine)
{
    quorlin::TCodeForm& form = FormWithUnit(10);
    form.Memo1->SetText("old notes");
    Swap(form);
    const std::string swapped = "  Data.Name := Edit1.Text;\r\n  y := x;\r\n  Refresh;\r\n";
    std::string expected = Unit;
    expected.insert(expected.find("end;"), swapped);
    EXPECT_EQ(host.Text(unit), expected);
    EXPECT_EQ(form.Memo1->Text(), swapped);
    EXPECT_TRUE(form.Memo1->WordWrap());
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"ExchangeForm"}));

    // With the cursor on the block's first line the copy goes above the block; "=" splits ":=".
    ASSERT_TRUE(host.SetText(unit, Unit));
    host.SetCursor(unit, {1, 7});
    Swap(form, "=");
    expected = Unit;
    expected.insert(expected.find("  Edit1"), "  Data.Name = Edit1.Text :;\r\n  y = x :;\r\n  Refresh;\r\n");
    EXPECT_EQ(host.Text(unit), expected);
}

TEST_F(CodeInsertionTest, CancelledSwapChangesNothing)
{
    quorlin::TCodeForm& form = FormWithUnit(10);
    form.Memo1->SetText("old notes");
    host.SetBlock(unit, {1, 7}, {1, 10});
    desktop.QueueModalResult(tk::mrCancel);
    form.ExchangeMenuItem->Click();
    EXPECT_EQ(host.Text(unit), Unit);
    EXPECT_EQ(form.Memo1->Text(), "old notes");

    // An empty block empties the memo and inserts nothing.
    host.SetBlock(unit, {1, 7}, {1, 7});
    desktop.QueueModalResult(tk::mrOk);
    form.ExchangeMenuItem->Click();
    EXPECT_EQ(host.Text(unit), Unit);
    EXPECT_EQ(form.Memo1->Text(), "");
}

}  // namespace
