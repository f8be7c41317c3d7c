#pragma once
// quorlin form: a form file read as the host's designer reads it, shown as a component tree or in
// the text form. It needs no add-in.

#include <cstdio>

#include "CliOptions.h"

namespace cli {

int ShowForm(const CliOptions& options, std::FILE* out);

}  // namespace cli
