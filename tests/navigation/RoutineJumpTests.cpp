#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"
#include "platform/IniFile.h"
#include "refhost/Recorder.h"
#include "services/HistoryUnit.h"
#include "services/MruEx.h"

namespace {

using Lines = std::vector<std::string>;

class RoutineJumpTest : public ToolWindowFixture {
protected:
    Lines JumpHistory()
    {
        platform::IniFile file(folder.Path() + "/Quorlin.Jmp");
        Lines values;
        for (const std::string& key : file.ReadSection("MethodJumpHistory"))
            values.push_back(file.ReadString("MethodJumpHistory", key, ""));
        return values;
    }

    void Choose(quorlin::TCodeForm& form, const std::string& entry)
    {
        form.MethodCombo->ChooseItem(form.MethodCombo->Items().IndexOf(entry));
    }

    // The next picker run chooses the entry with the given text.
    void QueuePick(const std::string& entry)
    {
        desktop.QueueModal([entry](tk::Form& modal) {
            auto& picker = dynamic_cast<quorlin::THistoryForm&>(modal);
            picker.HistoryList->SetItemIndex(picker.HistoryList->Items().IndexOf(entry));
            picker.OpenPanelClick(nullptr);
        });
    }
};

TEST_F(RoutineJumpTest, ChoosingARoutineMovesTheEditorAndRecordsTheJump)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.Show();
    std::string unit = Sample("MainForm.pas");
    form.UnitCombo->SetItemIndex(form.UnitCombo->Items().IndexOf(unit));
    form.OpenUnit(unit);
    form.SetBounds(0, 0, 500, 400);

    Choose(form, "TForm1.Button1Click(Sender: TObject);");
    EXPECT_EQ(host.TopLine(unit).Line, 45);
    EXPECT_EQ(host.Cursor(unit).Line, 45);
    EXPECT_EQ(host.Cursor(unit).Col, 1);
    EXPECT_EQ(host.CurrentFile(), unit);
    EXPECT_EQ(form.JumpCount, 1);
    EXPECT_EQ(form.Width(), 664);
    EXPECT_EQ(form.Height(), 88);

    Choose(form, "TForm1.FormCreate(Sender: TObject);");
    EXPECT_EQ(host.Cursor(unit).Line, 39);
    Choose(form, "TForm1.Button1Click(Sender: TObject);");
    EXPECT_EQ(form.JumpCount, 3);
    EXPECT_EQ(JumpHistory(), (Lines{"TForm1.Button1Click(Sender: TObject);", "TForm1.FormCreate(Sender: TObject);"}));
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(RoutineJumpTest, ReleasesReaderViewEditorAndModuleInThatOrder)
{
    quorlin::TCodeForm& form = FormWithSample();
    refhost::Recorder recorder;
    hostapi::HostRef<hostapi::TIToolServices> recorded(recorder.Wrap(host.CreateToolServices()));
    quorlin::ToolServices = recorded.Get();
    std::string unit = Sample("Shapes.pas");
    form.OpenUnit(unit);
    form.MethodCombo->SetItemIndex(0);
    recorder.Clear();

    ASSERT_TRUE(form.JumpMethod(unit, "TShape.Destroy;"));
    Lines calls;
    for (const std::string& line : recorder.Log()) {
        for (const char* wanted : {"Release ", "SetPos", "GetModuleInterface", "GetEditorInterface", "GetView",
                                   "CreateReader"}) {
            if (line.find(wanted) != std::string::npos) {
                calls.push_back(line);
                break;
            }
        }
    }
    EXPECT_EQ(calls, (Lines{
        "ToolServices.GetModuleInterface(" + unit + ")",
        "Module(Shapes.pas).GetEditorInterface",
        "Editor(Shapes.pas).GetView(0)",
        "Editor(Shapes.pas).CreateReader",
        "View(Shapes.pas).SetPos(1,1:38)",
        "View(Shapes.pas).SetPos(0,1:38)",
        "Release Reader(Shapes.pas)",
        "Release View(Shapes.pas)",
        "Release Editor(Shapes.pas)",
        "Release Module(Shapes.pas)",
    }));
}

TEST_F(RoutineJumpTest, JumpsThatFindNothing)
{
    quorlin::TCodeForm& form = FormWithSample();
    std::string unit = WriteFile("Calls.pas", "unit Calls;\r\nimplementation\r\nprocedure TBar.Run;\r\nbegin\r\n"
                                              "  Foo;\r\nend;\r\nprocedure Foo;\r\nbegin\r\nend;\r\nend.\r\n");
    form.OpenUnit(unit);
    ASSERT_EQ(Entries(*form.MethodCombo), (Lines{"Foo;", "TBar.Run;"}));
    form.MethodCombo->SetItemIndex(0);

    // The first later line holding the text is the call inside an earlier routine.
    EXPECT_TRUE(form.JumpMethod(unit, "Foo;"));
    EXPECT_EQ(host.Cursor(unit).Line, 5);

    hostapi::TEditPos before = host.Cursor(unit);
    EXPECT_FALSE(form.JumpMethod(unit, "Gone;"));
    form.MethodCombo->SetItemIndex(-1);
    EXPECT_FALSE(form.JumpMethod(unit, "TBar.Run;"));
    EXPECT_EQ(host.Cursor(unit).Line, before.Line);
    EXPECT_EQ(form.JumpCount, 1);
    EXPECT_EQ(JumpHistory(), (Lines{"Foo;"}));
    EXPECT_TRUE(desktop.Messages().empty());

    EXPECT_FALSE(form.JumpMethod("", "Foo;"));
    EXPECT_FALSE(form.JumpMethod(Sample("MainForm.dfm"), "Foo;"));
    EXPECT_FALSE(form.JumpMethod(folder.Path() + "/Missing.pas", "Foo;"));
    EXPECT_EQ(MessageTexts(), (Lines{"ファイルが開いていません。", "コードウインドウをアクティブにして下さい。",
                                     "ファイルを開くことができません。"}));
    EXPECT_EQ(form.MethodCombo->Items().Count(), 2);  // a failed jump leaves the lists
}

TEST_F(RoutineJumpTest, JumpHistoryPicker)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.Show();
    std::string unit = Sample("MainForm.pas");
    form.UnitCombo->SetItemIndex(form.UnitCombo->Items().IndexOf(unit));
    form.OpenUnit(unit);

    form.JumpHistoryMenu->Click();  // no jump yet: nothing at all
    EXPECT_TRUE(desktop.ModalRuns().empty());

    Choose(form, "TForm1.FormCreate(Sender: TObject);");
    Choose(form, "TForm1.AddLine(const S: string);");
    ASSERT_EQ(host.Cursor(unit).Line, 56);
    QueuePick("TForm1.FormCreate(Sender: TObject);");
    form.JumpCtrMenu->Click();
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"HistoryForm"}));
    EXPECT_EQ(host.Cursor(unit).Line, 39);
    EXPECT_EQ(JumpHistory(), (Lines{"TForm1.FormCreate(Sender: TObject);", "TForm1.AddLine(const S: string);"}));
    EXPECT_EQ(tk::Application::Instance().FindForm("HistoryForm"), nullptr);

    // With no routine selected a jump from the history does nothing.
    form.MethodCombo->SetItemIndex(-1);
    QueuePick("TForm1.AddLine(const S: string);");
    form.JumpHistoryMenu->Click();
    EXPECT_EQ(host.Cursor(unit).Line, 39);
}

TEST_F(RoutineJumpTest, ProjectHistoryPickerOpensTheChosenProject)
{
    quorlin::TCodeForm& form = CreateForm();
    form.ProjectHistoryMenu->Click();  // empty history: no picker
    EXPECT_TRUE(desktop.ModalRuns().empty());

    std::string project = Sample("Sample.dpr");
    form.ProjectMRU->AddItem("ProjectHistory", project);
    QueuePick(project);
    form.ProjectCtrlMenu->Click();
    EXPECT_EQ(desktop.ModalRuns(), (Lines{"HistoryForm"}));
    EXPECT_EQ(host.ProjectName(), project);
    EXPECT_EQ(form.Width(), 664);
    EXPECT_EQ(form.Height(), 88);
}

}  // namespace
