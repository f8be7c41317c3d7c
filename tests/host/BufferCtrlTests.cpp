#include "host/BufferCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OpenUnit.h"

namespace {

using quorlin::TBufferCtrl;

std::vector<std::string> ReadAll(hostapi::TIEditReader* reader, std::string* last = nullptr)
{
    TBufferCtrl buffer(reader);
    std::vector<std::string> lines;
    std::string s;
    // Bounded, so a reader that never says "no more" fails the test instead of hanging it.
    for (int i = 0; i < 100000; ++i) {
        if (!buffer.ReadLine(s)) {
            if (last) {
                *last = s;
            }
            return lines;
        }
        lines.push_back(s);
    }
    ADD_FAILURE() << "ReadLine never ended";
    return lines;
}

TEST(BufferCtrlTest, StopsAtTheUnitsEndLine)
{
    OpenUnit unit("unit Unit1;\r\ninterface\r\n\r\nimplementation\r\nend.\r\nafter\r\n");
    std::string last;
    EXPECT_EQ(ReadAll(unit.Reader(), &last),
              (std::vector<std::string>{"unit Unit1;", "interface", "", "implementation"}));
    EXPECT_EQ(last, "end.");

    OpenUnit blanks("begin\r\n  \tEnd. \r\nlater\r\n");
    EXPECT_EQ(ReadAll(blanks.Reader(), &last), std::vector<std::string>{"begin"});
    EXPECT_EQ(last, "  \tEnd. ");

    // Only the whole trimmed line counts.
    OpenUnit notEnd("end.;\r\nend\r\nx end.\r\nEND.\r\n");
    EXPECT_EQ(ReadAll(notEnd.Reader()), (std::vector<std::string>{"end.;", "end", "x end."}));
}

TEST(BufferCtrlTest, LineLengthLimit)
{
    std::string longest(1021, 'x');
    OpenUnit fits(longest + "\r\nnext\r\n");
    EXPECT_EQ(ReadAll(fits.Reader()), (std::vector<std::string>{longest, "next"}));

    OpenUnit tooLong("first\r\n" + std::string(1022, 'y') + "\r\nnext\r\n");
    std::string last = "untouched";
    EXPECT_EQ(ReadAll(tooLong.Reader(), &last), std::vector<std::string>{"first"});
    EXPECT_EQ(last, "first");  // the overlong line is not handed out
}

TEST(BufferCtrlTest, LinesAcrossBlocksAndAtTheEndOfTheText)
{
    // Lines of 100 bytes with their CR LF: many of them straddle the 8192-byte blocks.
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        std::string line = std::to_string(i) + std::string(98 - std::to_string(i).size(), '-');
        expected.push_back(line);
        text += line + "\r\n";
    }
    OpenUnit many(text + "tail without break");
    expected.push_back("tail without break");
    EXPECT_EQ(ReadAll(many.Reader()), expected);

    OpenUnit plain("a\r\nb\r\n");
    TBufferCtrl buffer(plain.Reader());
    std::string s;
    EXPECT_TRUE(buffer.ReadLine(s));
    EXPECT_TRUE(buffer.ReadLine(s));
    EXPECT_EQ(s, "b");
    EXPECT_FALSE(buffer.ReadLine(s));
    EXPECT_FALSE(buffer.ReadLine(s));

    OpenUnit empty("");
    EXPECT_TRUE(ReadAll(empty.Reader()).empty());

    TBufferCtrl none(nullptr);
    EXPECT_FALSE(none.ReadLine(s));
}

}  // namespace
