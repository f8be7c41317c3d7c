#pragma once
// Whole files written so that a reader sees either the old content or the new, never a mixture.

#include <string>
#include <string_view>

namespace platform {

// Writes bytes to a temporary file beside fileName and renames it over fileName; a link is
// followed and the file it points at replaced. An existing file keeps its permissions, a new one
// gets the usual ones. False with the reason in error when the file cannot be written; the old
// content is then left as it was.
bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error);

}  // namespace platform
