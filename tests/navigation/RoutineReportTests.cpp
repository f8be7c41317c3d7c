#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/FilePath.h"

#include "support/ToolWindowFixture.h"

namespace {

using Lines = std::vector<std::string>;

class RoutineReportTest : public ToolWindowFixture {};

TEST_F(RoutineReportTest, WritesHeaderAndEntriesWithCrLf)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.K5->Click();  // no routines listed: no dialog at all
    EXPECT_TRUE(desktop.Dialogs().empty());

    std::string unit = WriteFile("One.pas", "unit One;\r\nimplementation\r\nprocedure Only;\r\nbegin\r\nend;\r\nend.\r\n");
    form.UnitCombo->Items().Add(unit);
    form.UnitCombo->SetItemIndex(form.UnitCombo->Items().IndexOf(unit));
    form.OpenUnit(unit);
    ASSERT_EQ(form.MethodCombo->Items().Count(), 1);

    std::string report = folder.Path() + "/Report.txt";
    desktop.QueueDialog(report);
    form.K5->Click();
    EXPECT_EQ(desktop.Dialogs(), (Lines{"*.*"}));
    EXPECT_EQ(form.SaveDialog1->Filter, "タスクファイル|*.Ini");

    std::string text = ReadFile(report);
    std::string header = "関数一覧（作成：";
    ASSERT_EQ(text.compare(0, header.size(), header), 0) << text;
    size_t firstEnd = text.find("\r\n");
    std::string date = text.substr(header.size(), firstEnd - header.size());
    // yyyy/mm/dd, then the time unless it is midnight, then the closing bracket.
    ASSERT_GE(date.size(), 10u);
    EXPECT_EQ(date[4], '/');
    EXPECT_EQ(date[7], '/');
    EXPECT_EQ(date.substr(date.size() - std::string("）").size()), "）");
    EXPECT_EQ(text.substr(firstEnd), "\r\nユニット ：" + unit + "\r\n\r\nOnly;\r\n");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(RoutineReportTest, CancelAndWriteErrorsRestoreTheDialog)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.UnitCombo->SetItemIndex(form.UnitCombo->Items().IndexOf(Sample("Shapes.pas")));
    form.OpenUnit(Sample("Shapes.pas"));

    desktop.QueueDialog(std::nullopt);
    form.K5->Click();
    EXPECT_EQ(form.SaveDialog1->Filter, "タスクファイル|*.Ini");

    // A name typed without an extension gets the dialog's default one.
    desktop.QueueDialog(folder.Path() + "/Routines");
    form.K5->Click();
    std::string written = ReadFile(folder.Path() + "/Routines.ini");
    EXPECT_NE(written.find("\r\n\r\nTShape.Area: Integer;\r\nTShape.Create("), std::string::npos) << written;

    // A folder that does not exist: the error is shown, not lost.
    std::string unwritable = folder.Path() + "/NoSuchFolder/Report.txt";
    desktop.QueueDialog(unwritable);
    form.K5->Click();
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_NE(desktop.Messages()[0].Text.find(unwritable), std::string::npos);
    EXPECT_EQ(form.SaveDialog1->Filter, "タスクファイル|*.Ini");
    EXPECT_EQ(desktop.Dialogs(), (Lines{"*.*", "*.*", "*.*"}));

    // Anything but a regular file is refused at once, and left as it was.
    std::string fifo = folder / "Report.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    alarm(20);
    desktop.QueueDialog(fifo);
    form.K5->Click();
    alarm(0);
    ASSERT_EQ(desktop.Messages().size(), 2u);
    EXPECT_EQ(desktop.Messages()[1].Text, fifo + ": not a regular file");
    EXPECT_FALSE(platform::FileExists(fifo));
}

}  // namespace
