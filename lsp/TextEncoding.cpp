#include "TextEncoding.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace lsp {

namespace {

// Bytes of the UTF-8 sequence starting text[at], or 0 when none starts there.
size_t Utf8SequenceLength(std::string_view text, size_t at)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char c = byte(at);
    if (c < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

bool IsTrailByte(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// One character of a line: its bytes in the file and its width in the client's unit.
struct Character {
    size_t Bytes;
    uint32_t Width;
};

Character NextCharacter(std::string_view line, size_t at, Encoding encoding, ColumnUnit unit)
{
    auto c = static_cast<unsigned char>(line[at]);
    if (c < 0x80)
        return {1, 1};
    if (encoding == Encoding::Utf8) {
        size_t length = Utf8SequenceLength(line, at);
        if (length == 0)
            return {1, unit == ColumnUnit::Utf8 ? 3u : 1u};  // shown as U+FFFD
        uint32_t width = unit == ColumnUnit::Utf8 ? static_cast<uint32_t>(length) : (length == 4 ? 2u : 1u);
        return {length, width};
    }
    size_t bytes = at + 1 < line.size() && platform::IsLeadByte(c)
                           && IsTrailByte(static_cast<unsigned char>(line[at + 1]))
                       ? 2
                       : 1;
    if (unit == ColumnUnit::Utf16)
        return {bytes, 1};  // code page 932 has no character outside the basic plane
    return {bytes, static_cast<uint32_t>(platform::Cp932ToUtf8(line.substr(at, bytes)).size())};
}

}  // namespace

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsValidUtf8(std::string_view bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        // Runs of ASCII, the most of any source, are passed eight bytes at a time.
        while (at + 8 <= bytes.size()) {
            uint64_t word = 0;
            for (int i = 0; i < 8; ++i)
                word |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
            if (word & 0x8080808080808080ull)
                break;
            at += 8;
        }
        if (at >= bytes.size())
            break;
        size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

FileEncoding DetectEncoding(std::string_view bytes)
{
    if (!IsValidUtf8(bytes))
        return {Encoding::Cp932, false};
    return {Encoding::Utf8, bytes.starts_with(Utf8Bom)};
}

std::string EncodeForFile(std::string_view text, FileEncoding encoding, size_t& lost)
{
    lost = std::string_view::npos;
    size_t bom = text.starts_with(Utf8Bom) ? Utf8Bom.size() : 0;
    text.remove_prefix(bom);
    if (encoding.Kind == Encoding::Utf8) {
        std::string bytes(encoding.Bom ? Utf8Bom : "");
        return bytes.append(text);
    }
    std::string bytes = EncodeCp932(text, lost);
    if (lost != std::string_view::npos)
        lost += bom;
    return bytes;
}

std::string EncodeCp932(std::string_view text, size_t& lost)
{
    lost = std::string_view::npos;
    // ASCII is written alike in both, and most of a unit is ASCII.
    if (IsAscii(text))
        return std::string(text);
    std::string bytes = platform::Utf8ToCp932(text);
    if (platform::Cp932ToUtf8(bytes) != text) {
        // Found again character by character, only when something was lost.
        for (size_t at = 0; at < text.size();) {
            size_t length = Utf8SequenceLength(text, at);
            length = length == 0 ? 1 : length;
            std::string_view character = text.substr(at, length);
            if (platform::Cp932ToUtf8(platform::Utf8ToCp932(character)) != character) {
                lost = at;
                break;
            }
            at += length;
        }
    }
    return bytes;
}

std::string DecodeFromFile(std::string_view bytes, Encoding encoding)
{
    if (encoding == Encoding::Cp932)
        return platform::Cp932ToUtf8(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) {
            text += "\xEF\xBF\xBD";
            ++at;
        } else {
            text.append(bytes.substr(at, length));
            at += length;
        }
    }
    return text;
}

uint32_t ColumnOfOffset(std::string_view line, size_t offset, Encoding encoding, ColumnUnit unit)
{
    std::string_view before = line.substr(0, offset);
    // An ASCII prefix, as most are, is its bytes in either unit.
    if (IsAscii(before))
        return static_cast<uint32_t>(before.size());
    uint32_t column = 0;
    for (size_t at = 0; at < line.size();) {
        Character character = NextCharacter(line, at, encoding, unit);
        if (at + character.Bytes > offset)
            break;
        at += character.Bytes;
        column += character.Width;
    }
    return column;
}

size_t OffsetOfColumn(std::string_view line, uint32_t column, Encoding encoding, ColumnUnit unit)
{
    size_t at = 0;
    uint32_t reached = 0;
    while (at < line.size()) {
        Character character = NextCharacter(line, at, encoding, unit);
        if (reached + character.Width > column)
            break;
        at += character.Bytes;
        reached += character.Width;
    }
    return at;
}

}  // namespace lsp
