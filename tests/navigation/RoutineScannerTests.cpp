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
