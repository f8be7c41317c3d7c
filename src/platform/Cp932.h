#pragma once
// Code page 932 (Shift JIS as Windows has it): the byte text every add-in string holds.

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// True for a byte that starts a two-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True for a byte that can end a two-byte character (0x40-0xFC but 0x7F); '/' never does.
inline bool IsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Offset of the first occurrence of needle in text at or after from, or npos. A match never
// starts on the trail byte of a two-byte character. An empty needle is not found.
size_t FindText(std::string_view text, std::string_view needle, size_t from = 0);
inline bool ContainsText(std::string_view text, std::string_view needle)
{
    return FindText(text, needle) != std::string_view::npos;
}

// FindText with ASCII letters matched without regard to case, as a search in upper-cased copies of
// both texts would match, without making the copies.
size_t FindTextIgnoreCase(std::string_view text, std::string_view needle, size_t from = 0);
inline bool ContainsTextIgnoreCase(std::string_view text, std::string_view needle)
{
    return FindTextIgnoreCase(text, needle) != std::string_view::npos;
}

// ASCII letters changed, two-byte characters left whole, so offsets stay valid.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// ASCII letters compared as capitals, so "_" sorts after the letters as Object Pascal sorts it;
// <0, 0, >0 like strcmp on unsigned bytes.
int CompareText(std::string_view a, std::string_view b);
inline bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

// Leading and trailing blanks and control characters (bytes <= 0x20) removed.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string_view TrimView(std::string_view s);
std::string_view TrimLeftView(std::string_view s);

// Conversion for display. Bytes that do not convert become U+FFFD or '?' respectively.
std::string Cp932ToUtf8(std::string_view text);
std::string Utf8ToCp932(std::string_view text);

}  // namespace platform
