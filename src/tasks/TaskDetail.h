#pragma once
// The task detail file beside a task file, and the notes and linked files it points to.

#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

// Sections of the task detail file: a node's linked file, and notes written in one line.
inline constexpr const char* LocationSection = "FileLocation";
inline constexpr const char* DetailSection = "詳細";
// The longest note value one read of the detail section shows.
inline constexpr size_t DetailValueLimit = 1023;

// The most of a linked or dropped file that the memo loads; a longer file shows its beginning.
inline constexpr size_t MemoLoadLimit = 8 * 1024 * 1024;

// The task file name with its extension replaced by ".txt"; ".txt" is appended when there is no
// extension or when it is ".txt" (in any case) already, so the detail file is never the task file.
std::string TaskDetailFileName(const std::string& taskFileName);

// The file a stored link names: a relative link is taken from the task file's folder.
std::string ResolveLink(const std::string& link, const std::string& taskFileName);

// False when the file exists but cannot be read as the detail file.
bool DetailFileUsable(const std::string& fileName);

// The linked file a node has without an entry: host folder + node text + ".txt". A separator or
// control character in the text, which no Windows file name holds, becomes "_", so the name
// stays a file of the host folder; so does a "/" after a lead byte, which it cannot end.
std::string DefaultLinkedFileName(std::string_view nodeText);

// The memo lines of a one-line note: the pieces before each "~", trimmed; what follows the last
// "~" is not shown.
std::vector<std::string> DetailNoteLines(std::string_view value);

// A linked file's bytes as the memo shows them: every lone CR or LF made CR LF.
std::string MemoTextOfFile(std::string_view bytes);

}  // namespace quorlin
