#pragma once
// The JSON documents of --json: one a line, texts in UTF-8.

#include <cstdio>

#include <nlohmann/json_fwd.hpp>

namespace cli {

// Writes the document on one line. Bytes that are no UTF-8 (a file name, say) become U+FFFD
// instead of ending the command.
void PrintJson(std::FILE* out, const nlohmann::ordered_json& document);

}  // namespace cli
