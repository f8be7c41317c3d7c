#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Cp932, LeadBytes)
{
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xB1));  // halfwidth katakana are one byte
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));
    EXPECT_FALSE(IsLeadByte('\\'));
}

TEST(Cp932, FindTextIgnoreCaseMatchesAsUpperCasedCopies)
{
    EXPECT_EQ(FindTextIgnoreCase("MyProcedures.Add(x);", "PROCEDURE"), 2u);
    EXPECT_EQ(FindTextIgnoreCase("IMPLEMENTATION", "impl"), 0u);
    EXPECT_EQ(FindTextIgnoreCase("IMPLEMENTATION", "a"), 9u);
    EXPECT_EQ(FindTextIgnoreCase("IMPLEMENTATION", "tion;"), std::string::npos);
    // "ａ" (0x82 0x81) and "Ａ" (0x82 0x60) stay different, and 'a' as a trail byte is no letter.
    EXPECT_EQ(FindTextIgnoreCase("\x82\x81", "\x82\x60"), std::string::npos);
    EXPECT_EQ(FindTextIgnoreCase("\x82\x61" "A", "a"), 2u);
    EXPECT_EQ(FindTextIgnoreCase("\x82\x61" "x\x82\x61", "X\x82\x61"), 2u);
    EXPECT_EQ(FindTextIgnoreCase("abcABC", "abc", 1), 3u);
    EXPECT_EQ(FindTextIgnoreCase("abc", ""), std::string::npos);
}

TEST(Cp932, FindTextSkipsTrailBytes)
{
    // "表" is 0x95 0x5C: its trail byte is '\'.
    const std::string hyou = "\x95\x5C";
    EXPECT_EQ(FindText("C:" + hyou + "x\\y", "\\"), 5u);
    EXPECT_EQ(FindText(hyou, "\\"), std::string::npos);
    // "ア" is 0x83 0x41 and "ァ" 0x83 0x40; "a" as trail byte: 0x82 0x61 ("Ａ" is 0x82 0x60).
    EXPECT_EQ(FindText("\x83\x41" "A", "A"), 2u);
    EXPECT_EQ(FindText("\x82\x61", "a"), std::string::npos);
    EXPECT_EQ(FindText("x\x82\x61" "a", "a"), 3u);
    // A two-byte character is found whole, and a needle can start after a character.
    EXPECT_EQ(FindText("ab" + hyou + hyou, hyou), 2u);
    EXPECT_EQ(FindText("ab" + hyou + hyou, hyou, 3), 4u);
    EXPECT_EQ(FindText("abcabc", "bc", 2), 4u);
    EXPECT_EQ(FindText("abc", ""), std::string::npos);
    EXPECT_EQ(FindText("ab", "abc"), std::string::npos);
    EXPECT_EQ(FindText("abc", "c", 3), std::string::npos);
    EXPECT_TRUE(ContainsText("Form1.Caption", ".Cap"));
    EXPECT_FALSE(ContainsText("Form1.Caption", ".cap"));
    // A lead byte before a byte that cannot be a trail byte stands alone, whatever the needle.
    EXPECT_EQ(FindText("\x95(*", "(*"), 1u);
    EXPECT_EQ(FindText("\x95\xFDx", "\xFDx"), 1u);
    EXPECT_EQ(FindTextIgnoreCase("\x95\x7F" "ab", "\x7F" "AB"), 1u);
}

TEST(Cp932, CaseChangesOnlyAsciiLetters)
{
    const std::string mixed = "ab\x82\x61Z\x83\x41" "c\x95\x5C" "d";
    EXPECT_EQ(UpperCase(mixed), "AB\x82\x61Z\x83\x41" "C\x95\x5C" "D");
    EXPECT_EQ(LowerCase(mixed), "ab\x82\x61z\x83\x41" "c\x95\x5C" "d");
    EXPECT_EQ(UpperCase("\xB1\xB2x"), "\xB1\xB2X");  // halfwidth katakana, then a letter
    EXPECT_EQ(UpperCase("a\x82"), "A\x82");         // a lead byte cut off at the end
    EXPECT_EQ(UpperCase(mixed).size(), mixed.size());

    EXPECT_EQ(CompareText("Form1", "FORM1"), 0);
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    EXPECT_GT(CompareText("_x", "Gamma"), 0);  // capitals fold: 0x5F sorts after the letters
    EXPECT_LT(CompareText("a", "\x82\x60"), 0);
    // Trail bytes keep their case: "ア" (0x83 0x41) and "ッ" (0x83 0x62 is not 0x83 0x42).
    EXPECT_NE(CompareText("\x83\x41", "\x83\x61"), 0);
    EXPECT_TRUE(SameText("\x95\x5CX", "\x95\x5Cx"));
    EXPECT_FALSE(SameText("\x82\x61", "\x82\x41"));
}

TEST(Cp932, Trim)
{
    EXPECT_EQ(Trim(" \t\r\nabc \x01"), "abc");
    EXPECT_EQ(TrimLeft("  a b  "), "a b  ");
    EXPECT_EQ(TrimRight("  a b  "), "  a b");
    EXPECT_EQ(Trim(" \x95\x5C "), "\x95\x5C");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Cp932, ConversionRoundTrip)
{
    const std::string view = "\x95\x5C\x8E\xA6(&V)";  // 表示(&V)
    EXPECT_EQ(Cp932ToUtf8(view), "表示(&V)");
    EXPECT_EQ(Utf8ToCp932("表示(&V)"), view);
    const std::string katakana = "\xB6\xC0\xB6\xC5";  // halfwidth カタカナ
    EXPECT_EQ(Cp932ToUtf8(katakana), "ｶﾀｶﾅ");
    EXPECT_EQ(Utf8ToCp932("ｶﾀｶﾅ"), katakana);
    EXPECT_EQ(Cp932ToUtf8("C:\\Work\\a.pas"), "C:\\Work\\a.pas");
    const std::string text = "\x83\x81\x83\x5C\x83\x62\x83\x68 Jump\r\n\x81\x40";  // メソッド, full space
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(text)), text);
    // Long text crosses the converter's buffer.
    std::string longText;
    for (int i = 0; i < 5000; ++i) {
        longText += view;
    }
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(longText)), longText);
    EXPECT_EQ(Cp932ToUtf8(""), "");
}

TEST(Cp932, InvalidInputIsReplaced)
{
    // A lead byte before a byte that cannot trail, and one at the end: the rest is kept.
    EXPECT_EQ(Cp932ToUtf8("a\x81\x0A" "b"), "a\xEF\xBF\xBD\nb");
    EXPECT_EQ(Cp932ToUtf8("ab\x95"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("\xFD" "x\x95\x5C"), "\xEF\xBF\xBDx表");
    // Broken UTF-8 and characters that code page 932 lacks.
    EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a?b");
    EXPECT_EQ(Utf8ToCp932("a\xE8\xA1" "b"), "a?b");
    EXPECT_EQ(Utf8ToCp932("x\xE8\xA1"), "x?");
    EXPECT_EQ(Utf8ToCp932("a😀表"), "a?\x95\x5C");
    EXPECT_EQ(Utf8ToCp932("\xC3\xA9t\xC3\xA9"), "?t?");  // é is not in code page 932
}
