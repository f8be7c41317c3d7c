#pragma once
// The text form of a form file: objects, properties and values as people read them.

#include <string>
#include <string_view>

#include "FormData.h"

namespace forms {

// Reads one object from text (offsets count from the start of text; a leading byte-order mark is
// passed over). Strings in quotes keep their bytes: code page 932, or UTF-8 when utf8 is set.
bool ReadTextForm(std::string_view text, bool utf8, FormObject& root, FormError& error);

// How strings of code page 932 bytes are written: as stored (the bytes in quotes), or as the codes
// of their characters, so that the whole text is ASCII.
enum class TextStyle { Stored, Ascii };

// The object in the written style: two blanks a level, CR LF line ends.
std::string WriteTextForm(const FormObject& root, TextStyle style = TextStyle::Stored);

}  // namespace forms
