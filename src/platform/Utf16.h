#pragma once
// UTF-16 code units to and from UTF-8, for the wide strings of form files and version resources. Unpaired surrogates and
// bad UTF-8 bytes become U+FFFD.

#include <string>
#include <string_view>

namespace platform {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace platform
