#include "codegen/SplitAssignment.h"

#include <gtest/gtest.h>

namespace {

using quorlin::SplitAssignment;
using quorlin::SwapAssignment;

TEST(SplitAssignmentTest, SwapsTheSidesOfAssignmentsOnly)
{
    EXPECT_EQ(SwapAssignment("  Edit1.Text := Data.Name;  // name", ":="), "  Data.Name := Edit1.Text;");
    EXPECT_EQ(SwapAssignment("x := y", ":="), "  y := x;");
    EXPECT_EQ(SwapAssignment("a = b", "="), "  b = a;");
    EXPECT_EQ(SwapAssignment("a := b := c;", ":="), "  b := c := a;");
    EXPECT_EQ(SwapAssignment("\ta\t:=\tb ; { done }", ":="), "  b := a;");
    // A comment of any length goes with the statement end.
    std::string comment(600, 'c');
    EXPECT_EQ(SwapAssignment("a := b; // " + comment, ":="), "  b := a;");
    // The first ";" ends the statement, also when the comment behind it holds another one.
    EXPECT_EQ(SwapAssignment("a := b; // x; y", ":="), "  b := a;");

    for (const char* unchanged : {"begin", ":= b;", "   := b;", "a :=", "if a = b then"}) {
        EXPECT_EQ(SwapAssignment(unchanged, ":="), unchanged);
    }
    EXPECT_EQ(SwapAssignment("a := b;", ""), "a := b;");

    // The right side counts before trimming: a blank after the separator makes an assignment.
    std::string left;
    std::string right;
    ASSERT_TRUE(SplitAssignment("a := ;", ":=", left, right));
    EXPECT_EQ(left, "a");
    EXPECT_EQ(right, "");
}

TEST(SplitAssignmentTest, ASeparatorNeverMatchesInsideATwoByteCharacter)
{
    // "ア" is 0x83 0x41: its second byte is the letter A.
    const std::string katakanaA = "\x83\x41";
    std::string left;
    std::string right;
    EXPECT_FALSE(SplitAssignment("x" + katakanaA + "y", "A", left, right));
    ASSERT_TRUE(SplitAssignment(katakanaA + "1 A " + katakanaA + "2;", "A", left, right));
    EXPECT_EQ(left, katakanaA + "1");
    EXPECT_EQ(right, katakanaA + "2");
    EXPECT_EQ(SwapAssignment("\x96\xbc\x91\x4f := Name;", ":="), "  Name := \x96\xbc\x91\x4f;");
}

}  // namespace
