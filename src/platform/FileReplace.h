#pragma once
// Replacing a file's content so that a program stopped at any moment leaves the old content or the
// new one, never a mix: the text goes to a temporary file beside it, which then takes its name.

#include <string>
#include <string_view>

namespace platform {

// A link is followed: the file it points at is replaced, the link stays. The file keeps its
// permissions; a new one gets the usual ones. False with the reason in errorText when the file
// could not be written; the old content is then untouched.
bool ReplaceFileContent(const std::string& fileName, std::string_view text, std::string& errorText);

}  // namespace platform
