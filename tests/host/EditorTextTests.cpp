#include "host/EditorText.h"

#include <gtest/gtest.h>

#include "OpenUnit.h"

namespace {

using namespace quorlin;

int32_t ImplementationLine(const std::string& text)
{
    OpenUnit unit(text);
    int32_t line = -1;
    return FindImplementationLine(unit.Editor(), unit.Reader(), line) ? line : 0;
}

TEST(EditorTextTest, FirstWord)
{
    EXPECT_EQ(FirstWord("procedure Foo;"), "procedure");
    EXPECT_EQ(FirstWord("  procedure Foo;"), "");
    EXPECT_EQ(FirstWord("Foo;"), "Foo;");
    EXPECT_EQ(FirstWord("\tFoo;"), "\tFoo;");  // a tab is not a blank
    EXPECT_EQ(FirstWord("\tFoo bar"), "Foo");
    EXPECT_EQ(FirstWord(""), "");
}

TEST(EditorTextTest, NothingHappensWithoutToolWindowEditorOrReader)
{
    OpenUnit unit("unit A;\r\nimplementation\r\nend.\r\n");
    int32_t line = 7;
    int32_t offset = 9;
    tk::Strings lines;
    ASSERT_EQ(CodeForm, nullptr);
    EXPECT_FALSE(FindImplementationLine(unit.Editor(), unit.Reader(), line));
    EXPECT_FALSE(FindTextLine(unit.Editor(), unit.Reader(), "unit", line));
    CopyEditorLines(unit.Editor(), unit.Reader(), 1, 2, lines);
    EXPECT_FALSE(LineStartOffset(unit.Reader(), 2, offset));

    ToolWindowPresent window;
    EXPECT_FALSE(FindImplementationLine(nullptr, unit.Reader(), line));
    EXPECT_FALSE(FindTextLine(unit.Editor(), nullptr, "unit", line));
    CopyEditorLines(nullptr, unit.Reader(), 1, 2, lines);
    EXPECT_FALSE(LineStartOffset(nullptr, 2, offset));
    EXPECT_EQ(line, 7);
    EXPECT_EQ(offset, 9);
    EXPECT_TRUE(lines.Empty());
}

TEST(EditorTextTest, FindImplementationLineLooksForTheWordInsideTheKeyword)
{
    ToolWindowPresent window;
    EXPECT_EQ(ImplementationLine("unit A;\r\ninterface\r\nimplementation\r\nend.\r\n"), 3);
    EXPECT_EQ(ImplementationLine("unit A;\r\nImplementation { body }\r\n"), 2);
    EXPECT_EQ(ImplementationLine("unit A;\r\n  implementation\r\n"), 0);
    EXPECT_EQ(ImplementationLine("unit A;\r\n\timplementation\r\n"), 0);
    EXPECT_EQ(ImplementationLine("unit A;\r\n\timplementation { x }\r\n"), 2);
    EXPECT_EQ(ImplementationLine("unit A;\r\na := 1;\r\nimplementation\r\n"), 2);
    // The text ends inside the last line: it is still looked at, and the scan stops there.
    EXPECT_EQ(ImplementationLine("unit A;\r\nimplementation"), 2);
    EXPECT_EQ(ImplementationLine("unit A;\r\ninterface"), 0);
}

// The search reads the text in blocks: lines and first words across block boundaries, very long
// lines and LF files give the same answers as short CR LF lines.
TEST(EditorTextTest, FindImplementationLineAcrossBlocks)
{
    ToolWindowPresent window;
    for (const std::string breakText : {"\r\n", "\n"}) {
        std::string head = "unit A;" + breakText;
        for (size_t at : {8180u, 8185u, 8190u, 8191u, 8192u, 8193u, 16383u}) {
            // A comment line that puts the keyword's line (or its blank) around offset at.
            size_t fill = at - head.size() - breakText.size();
            std::string filler = "{" + std::string(fill - 2, 'x') + "}";
            EXPECT_EQ(ImplementationLine(head + filler + breakText + "implementation" + breakText), 3) << at;
            EXPECT_EQ(ImplementationLine(head + filler + breakText + "implementation  { c }" + breakText), 3) << at;
            EXPECT_EQ(ImplementationLine(head + filler + breakText + "implementations" + breakText), 0) << at;
            EXPECT_EQ(ImplementationLine(head + "{" + filler + " impl" + breakText + "impl" + breakText), 3) << at;
        }
        // Lines far longer than a block, with and without a blank, before the keyword.
        std::string longWord(20000, 'i');
        EXPECT_EQ(ImplementationLine(head + longWord + breakText + "Implementation" + breakText), 3);
        EXPECT_EQ(ImplementationLine(head + "impl " + longWord + breakText), 2);
        EXPECT_EQ(ImplementationLine(head + longWord + " impl" + breakText + "x" + breakText), 0);
    }
}

TEST(EditorTextTest, FindTextLinePassesOverLines)
{
    ToolWindowPresent window;
    OpenUnit unit("procedure Foo;\r\nbegin\r\nend;\r\nprocedure Foo;\r\nend.\r\n");
    int32_t line = 0;
    EXPECT_TRUE(FindTextLine(unit.Editor(), unit.Reader(), "procedure Foo;", line));
    EXPECT_EQ(line, 1);
    line = 1;
    EXPECT_TRUE(FindTextLine(unit.Editor(), unit.Reader(), "procedure Foo;", line));
    EXPECT_EQ(line, 4);
    line = 0;
    EXPECT_FALSE(FindTextLine(unit.Editor(), unit.Reader(), "PROCEDURE Foo;", line));
    line = 4;  // the final "end." is never a found line
    EXPECT_FALSE(FindTextLine(unit.Editor(), unit.Reader(), "end", line));
    line = unit.Editor()->LinesInBuffer();
    EXPECT_FALSE(FindTextLine(unit.Editor(), unit.Reader(), "begin", line));
    EXPECT_EQ(line, unit.Editor()->LinesInBuffer());
}

TEST(EditorTextTest, FindTextLineNeverMatchesOnATrailByte)
{
    ToolWindowPresent window;
    // 0x95 0x5C is one two-byte character whose trail byte is '\'.
    OpenUnit unit("x := '\x95\x5C';\r\ny := '\\';\r\n");
    int32_t line = 0;
    EXPECT_TRUE(FindTextLine(unit.Editor(), unit.Reader(), "\\", line));
    EXPECT_EQ(line, 2);
}

TEST(EditorTextTest, CopyEditorLines)
{
    ToolWindowPresent window;
    OpenUnit unit("one\r\ntwo\r\nthree\r\nfour\r\n");  // five lines for the host
    tk::Strings lines;
    CopyEditorLines(unit.Editor(), unit.Reader(), 2, 3, lines);
    EXPECT_EQ(lines.Items(), (std::vector<std::string>{"two", "three"}));
    lines.Add("kept");
    CopyEditorLines(unit.Editor(), unit.Reader(), 4, 9, lines);
    EXPECT_EQ(lines.Items(), (std::vector<std::string>{"two", "three", "kept", "four"}));

    tk::Strings none;
    CopyEditorLines(unit.Editor(), unit.Reader(), unit.Editor()->LinesInBuffer(), 9, none);
    EXPECT_TRUE(none.Empty());
}

TEST(EditorTextTest, LineStartOffset)
{
    ToolWindowPresent window;
    OpenUnit unit("a\r\nb");
    int32_t offset = -1;
    EXPECT_FALSE(LineStartOffset(unit.Reader(), 1, offset));
    EXPECT_EQ(offset, -1);
    EXPECT_TRUE(LineStartOffset(unit.Reader(), 2, offset));
    EXPECT_EQ(offset, 3);
    // A line past the text fails instead of reading on for ever.
    EXPECT_FALSE(LineStartOffset(unit.Reader(), 5, offset));
    EXPECT_EQ(offset, 3);
}

}  // namespace
