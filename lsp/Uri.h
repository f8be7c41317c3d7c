#pragma once
// file: URIs and the paths they name.

#include <string>
#include <string_view>

namespace lsp {

// The normalised path of a file: URI; empty for any other scheme or a malformed one.
std::string PathOfUri(std::string_view uri);
std::string UriOfPath(std::string_view path);

}  // namespace lsp
