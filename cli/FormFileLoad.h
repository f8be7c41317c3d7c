#pragma once
// A form file read from disk as the designer reads it, shared by the form command and the
// language server so that both say the same of a file they cannot read.

#include <string>

#include "refhost/forms/FormFile.h"

namespace cli {

struct FormLoadError {
    std::string Message;                // "FILE: reason", as the command prints it after "quorlin: "
    size_t Offset = forms::NoOffset;    // where the reader found the bytes damaged
};

bool LoadFormFile(const std::string& fileName, forms::FormFile& form, FormLoadError& error);

}  // namespace cli
