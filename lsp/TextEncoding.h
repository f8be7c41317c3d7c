#pragma once
// A unit's encoding and the conversions between its bytes and the client's text: a file is code
// page 932 unless it is valid UTF-8 (with or without a byte order mark). Clients see UTF-8; columns
// go to them in UTF-16 code units or UTF-8 bytes, whichever was agreed on.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lsp {

enum class Encoding { Utf8, Cp932 };
enum class ColumnUnit { Utf16, Utf8 };

struct FileEncoding {
    Encoding Kind = Encoding::Utf8;
    bool Bom = false;  // UTF-8 only: the file starts with EF BB BF
};

inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsAscii(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
FileEncoding DetectEncoding(std::string_view bytes);

// The file's bytes of the client's text. When a character has no form in the file's encoding it
// becomes '?' and lost receives its offset in text (the first one); else lost is npos.
std::string EncodeForFile(std::string_view text, FileEncoding encoding, size_t& lost);
// The code page 932 bytes of a piece of the client's text, byte order mark and all; lost as above.
std::string EncodeCp932(std::string_view text, size_t& lost);
// The client's text of bytes in that encoding (no byte order mark expected); bytes valid in neither
// encoding become U+FFFD.
std::string DecodeFromFile(std::string_view bytes, Encoding encoding);

// The client's column of a byte offset into one line of the file's bytes, and back. Offsets inside a
// character count as its start; columns past the line's end give its end.
uint32_t ColumnOfOffset(std::string_view line, size_t offset, Encoding encoding, ColumnUnit unit);
size_t OffsetOfColumn(std::string_view line, uint32_t column, Encoding encoding, ColumnUnit unit);

}  // namespace lsp
