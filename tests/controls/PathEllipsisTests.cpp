#include "controls/PathEllipsis.h"

#include <gtest/gtest.h>

#include "platform/Cp932.h"

namespace {

using quorlin::EllipsisPath;

int Measure(const std::string& s)
{
    return static_cast<int>(s.size()) * 6;
}

// True when no two-byte character of text was cut at its end or start.
bool WholeCharacters(const std::string& text)
{
    size_t i = 0;
    while (i < text.size()) {
        i += platform::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return i == text.size();
}

TEST(PathEllipsisTest, KeepsTheFileName)
{
    const std::string path = "D:\\Projects\\Sample\\Units\\MainUnit.pas";
    EXPECT_EQ(EllipsisPath(path, Measure(path), Measure), path);
    EXPECT_EQ(EllipsisPath(path, 6 * 20, Measure), "D:\\Pr...MainUnit.pas");
    EXPECT_EQ(EllipsisPath(path, 6 * 15, Measure), "...MainUnit.pas");
    EXPECT_EQ(EllipsisPath(path, 6 * 10, Measure), "...nit.pas");
    EXPECT_EQ(EllipsisPath(path, 6 * 2, Measure), "...");
    EXPECT_EQ(EllipsisPath("/home/user/src/a.pas", 6 * 12, Measure), "/hom...a.pas");
}

TEST(PathEllipsisTest, NeverCutsATwoByteCharacter)
{
    // "\x95\x5C" is one character whose trail byte is '\': it is no separator.
    const std::string path = "C:\\\x83\x65\x83\x58\x83\x67\\\x95\x5C\x8E\xA6.pas";
    for (int width = 0; width <= Measure(path); width += 6) {
        std::string drawn = EllipsisPath(path, width, Measure);
        EXPECT_TRUE(WholeCharacters(drawn)) << width;
        if (drawn.size() > 3) {
            EXPECT_LE(Measure(drawn), width);
        }
    }
    EXPECT_EQ(EllipsisPath(path, 6 * 14, Measure), "C:\\...\x95\x5C\x8E\xA6.pas");

    std::string longText = "C:\\" + std::string(251, 'a') + "\x83\x65" + "tail";
    std::string cut = EllipsisPath(longText, 10000, Measure);
    EXPECT_EQ(cut.size(), 254u);  // 255 would split the two-byte character
    EXPECT_TRUE(WholeCharacters(cut));
}

}  // namespace
