#pragma once
// The binary form of a form file: the "TPF0" object stream.

#include <string>
#include <string_view>

#include "FormData.h"

namespace forms {

// Reads the stream that starts at offset start of bytes and ends at offset end (exclusive); every
// offset recorded and reported counts from the start of bytes. The stream must fill the range.
bool ReadBinaryForm(std::string_view bytes, size_t start, size_t end, FormObject& root, FormError& error);

// The stream of root, "TPF0" included; integers in the smallest width that holds them.
std::string WriteBinaryForm(const FormObject& root);

}  // namespace forms
