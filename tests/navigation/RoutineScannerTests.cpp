#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"

namespace {

using Lines = std::vector<std::string>;

std::string CrLf(const Lines& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

class RoutineScannerTest : public ToolWindowFixture {};

TEST_F(RoutineScannerTest, HeadersOfTheImplementationSectionInSourceOrder)
{
    std::string unit = WriteFile("Scan.pas", CrLf({
        "unit Scan;",
        "interface",
        "procedure InInterface;",
        "implementation",
        "procedure TForm1.FormCreate(Sender: TObject);",
        "  procedure Nested;",
        "class procedure TFoo.Bar;",
        "function Twice(X: Integer): Integer; // doubles",
        "//procedure Hidden;",
        "(*procedure Hidden2;*)",
        "{procedure Braced;}",
        "{ procedure Spaced;}",
        "MyProcedures.Add(x);",
        "constructor TFoo.Create;",
        "destructor TFoo.Destroy;",
        "procedure Dup;",
        "procedure Dup;",
        "procedure Long(A,",
        "  B: Integer);",
        "end.",
        "procedure AfterTheEnd;",
    }));
    quorlin::TCodeForm& form = CreateForm();
    form.MethodNoSort->Click();
    form.OpenUnit(unit);
    EXPECT_EQ(Entries(*form.MethodCombo), (Lines{
        "TForm1.FormCreate(Sender: TObject);",
        "Twice(X: Integer): Integer; // doubles",
        "{ Braced;}",
        "Mys.Add(x);",
        "TFoo.Create;",
        "TFoo.Destroy;",
        "Dup;",
        "Dup;",
        "Long(A,",
    }));
    EXPECT_TRUE(desktop.Messages().empty());

    form.MethodSort->Click();  // re-sorts at once, letter case ignored, equal entries kept
    EXPECT_EQ(Entries(*form.MethodCombo), (Lines{
        "Dup;",
        "Dup;",
        "Long(A,",
        "Mys.Add(x);",
        "TFoo.Create;",
        "TFoo.Destroy;",
        "TForm1.FormCreate(Sender: TObject);",
        "Twice(X: Integer): Integer; // doubles",
        "{ Braced;}",
    }));
}

TEST_F(RoutineScannerTest, LongLinesEndTheScan)
{
    std::string fits = "procedure A" + std::string(1021 - 11, 'x');
    std::string tooLong = "procedure C" + std::string(1022 - 11, 'x');
    ASSERT_EQ(fits.size(), 1021u);
    std::string unit = WriteFile("Long.pas", CrLf({"unit Long;", "implementation", fits, "procedure B;", tooLong,
                                                   "procedure D;", "end."}));
    quorlin::TCodeForm& form = CreateForm();
    form.MethodNoSort->Click();
    form.OpenUnit(unit);
    EXPECT_EQ(Entries(*form.MethodCombo), (Lines{fits.substr(10), "B;"}));
    // The list is kept, and the user is told where it ends and why.
    EXPECT_EQ(desktop.Notices(), (Lines{unit + ":5: the routine list ends here: the line is 1022 bytes or longer"}));
    EXPECT_TRUE(desktop.Messages().empty());

    // The routine list report says so as its last line.
    std::string report = folder / "Long.txt";
    desktop.QueueDialog(report);
    form.K5->Click();
    std::string text = ReadFile(report);
    EXPECT_TRUE(text.ends_with("\r\nB;\r\n※5行目が長すぎるため、一覧はその前の行までです。\r\n")) << text;

    // A line that fits, even as the last line without a line break, says nothing.
    std::string lastLine = WriteFile("Last.pas", CrLf({"unit Last;", "implementation", "procedure E;"})
                                                     + "procedure F" + std::string(1022 - 11, 'x'));
    form.OpenUnit(lastLine);
    EXPECT_EQ(form.MethodCombo->Items().Count(), 2);
    EXPECT_EQ(desktop.Notices().size(), 1u);
    desktop.QueueDialog(report);
    form.K5->Click();
    EXPECT_EQ(ReadFile(report).find("※"), std::string::npos);
}

// The scan reads on from the implementation line instead of reading the lines before it again;
// a line before it that ends the reading still ends the list, wherever the blocks of the
// reading fall, and a long line later is told by its right number.
TEST_F(RoutineScannerTest, LinesBeforeTheImplementationStillEndTheScan)
{
    quorlin::TCodeForm& form = CreateForm();
    form.MethodNoSort->Click();
    std::string tooLong = "{" + std::string(1100, 'x') + "}";
    for (std::string breakText : {"\r\n", "\n"}) {
        // A file of its own for each text: an open unit is read from its buffer.
        auto unit = [&](const std::string& name, const Lines& lines) {
            std::string text;
            for (const std::string& line : lines)
                text += line + breakText;
            return WriteFile(name + std::to_string(breakText.size()) + ".pas", text);
        };
        size_t notices = desktop.Notices().size();
        form.OpenUnit(unit("End", {"unit E;", "interface", "  END.  ", "implementation", "procedure P;"}));
        EXPECT_TRUE(form.MethodCombo->Items().Empty());

        std::string longUnit = unit("Long", {"unit L;", tooLong, "implementation", "procedure P;"});
        form.OpenUnit(longUnit);
        EXPECT_TRUE(form.MethodCombo->Items().Empty());
        std::string longHead = unit("Head", {"unit H;", "implementation " + tooLong, "procedure P;"});
        form.OpenUnit(longHead);
        EXPECT_TRUE(form.MethodCombo->Items().Empty());
        EXPECT_EQ(Lines(desktop.Notices().begin() + notices, desktop.Notices().end()), (Lines{
            longUnit + ":2: the routine list ends here: the line is 1022 bytes or longer",
            longHead + ":2: the routine list ends here: the line is 1022 bytes or longer",
        }));

        // Lines across the first block boundary (8,192 bytes): the "end." line, the keyword's line.
        for (size_t at = 8185; at <= 8192; ++at) {
            // Comment lines of at most 100 bytes that bring the next line to offset at.
            Lines lines = {"unit S;"};
            size_t size = lines[0].size() + breakText.size();
            while (size < at) {
                size_t length = std::min<size_t>(100, at - size) - breakText.size();
                lines.push_back(length < 2 ? std::string(length, ' ') : "{" + std::string(length - 2, 'x') + "}");
                size += length + breakText.size();
            }
            Lines ended = lines;
            ended.insert(ended.end(), {"   end.  ", "implementation", "procedure P;"});
            notices = desktop.Notices().size();
            form.OpenUnit(unit("Ended" + std::to_string(at), ended));
            EXPECT_TRUE(form.MethodCombo->Items().Empty()) << at;
            lines.insert(lines.end(), {"implementation", "procedure P;", "procedure Q;" + tooLong, "procedure R;"});
            std::string split = unit("Split" + std::to_string(at), lines);
            form.OpenUnit(split);
            EXPECT_EQ(Entries(*form.MethodCombo), (Lines{"P;"})) << at;
            EXPECT_EQ(Lines(desktop.Notices().begin() + notices, desktop.Notices().end()), (Lines{
                split + ":" + std::to_string(lines.size() - 1) + ": the routine list ends here: the line is 1022 bytes or longer",
            })) << at;
        }
    }
}

TEST_F(RoutineScannerTest, SortSwitchAndItsCheckMarks)
{
    quorlin::TCodeForm& form = FormWithSample();
    // A new window sorts although the check mark stands on "do not sort".
    EXPECT_TRUE(form.MethodCombo->Sorted());
    EXPECT_TRUE(form.MethodNoSort->Checked());
    EXPECT_FALSE(form.MethodSort->Checked());

    form.OpenUnit(Sample("Shapes.pas"));
    EXPECT_EQ(Entries(*form.MethodCombo), (Lines{
        "TShape.Area: Integer;",
        "TShape.Create(AKind: TShapeKind);",
        "TShape.Destroy;",
        "TShape.Resize(AWidth,",
        "TShape.Scale(Factor: Integer); { 大きさを倍率で変える }",
        "{ TShape.Mirror;}",
    }));

    form.MethodNoSort->Click();
    EXPECT_FALSE(form.MethodCombo->Sorted());
    EXPECT_TRUE(form.MethodNoSort->Checked());
    EXPECT_FALSE(form.MethodSort->Checked());
    EXPECT_EQ(form.MethodCombo->Items()[0], "TShape.Area: Integer;");  // kept until the next scan
    form.OpenUnit(Sample("Shapes.pas"));
    EXPECT_EQ(Entries(*form.MethodCombo), (Lines{
        "TShape.Create(AKind: TShapeKind);",
        "TShape.Destroy;",
        "TShape.Area: Integer;",
        "TShape.Resize(AWidth,",
        "TShape.Scale(Factor: Integer); { 大きさを倍率で変える }",
        "{ TShape.Mirror;}",
    }));

    form.MethodSort->Click();
    EXPECT_TRUE(form.MethodCombo->Sorted());
    EXPECT_FALSE(form.MethodNoSort->Checked());
    EXPECT_TRUE(form.MethodSort->Checked());
    EXPECT_EQ(form.MethodCombo->Items()[0], "TShape.Area: Integer;");
}

TEST_F(RoutineScannerTest, NothingWithoutToolWindowOrImplementation)
{
    quorlin::TCodeForm& form = FormWithSample();
    form.OpenUnit(Sample("Consts.pas"));  // no implementation section
    EXPECT_TRUE(form.MethodCombo->Items().Empty());
    EXPECT_TRUE(desktop.Messages().empty());

    quorlin::CodeForm = nullptr;
    form.OpenUnit(Sample("Shapes.pas"));
    EXPECT_TRUE(form.MethodCombo->Items().Empty());
    quorlin::CodeForm = &form;
}

}  // namespace
