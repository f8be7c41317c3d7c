#pragma once
// Whole files written so that a reader sees either the old content or the new, never a mixture.

#include <string>
#include <string_view>

namespace platform {

// What becomes of a symbolic link standing at the name written: the file it points at is replaced,
// or the link itself (so that no other file can be reached through it).
enum class LinkAtName { Follow, Replace };

// Writes bytes to a temporary file "<name>.XXXXXX" beside the file and renames it over the file.
// Anything but a regular file (a folder, a FIFO, a device) is refused and left as it is. An
// existing file keeps its permissions, a new one gets the usual ones. False with the reason in
// error when the file cannot be written; the old content is then left as it was.
bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error,
                        LinkAtName link = LinkAtName::Follow);

}  // namespace platform
