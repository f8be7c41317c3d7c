#pragma once
// The names a form holds (classes, objects, properties, identifier values): what both forms of the
// file can carry, so that a form read from either one can be written in the other.

#include <cstddef>
#include <string_view>

namespace forms {

constexpr size_t MaxNameLength = 255;  // the binary form keeps names in short strings

// Letters, digits and underscores, not starting with a digit, at most MaxNameLength characters.
bool IsFormIdentifier(std::string_view name);

// Identifiers joined by dots, at most MaxNameLength characters in all (Font.Name, Form1.Button1).
bool IsDottedIdentifier(std::string_view name);

// A dotted identifier whose first part is none of the words that open or close an object in the
// text form (object, inherited, inline, end), which a property there cannot begin with.
bool IsPropertyPath(std::string_view name);

}  // namespace forms
