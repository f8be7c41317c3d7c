#pragma once
// Opening and replacing the files a user names: a FIFO, device or folder where a file is expected
// is refused with a reason, never waited on, read or written through.

#include <string>
#include <string_view>

namespace platform {

// Opens fileName with flags (O_RDONLY, O_WRONLY | O_CREAT ...) without waiting for the other end of
// a FIFO, and keeps it only when it is a regular file. Answers the descriptor, which blocks as
// usual; -1 with reason set ("Is a directory", "not a regular file" or the system's reason).
int OpenRegularFile(const std::string& fileName, int flags, std::string& reason);

// Empty when fileName is a regular file that can be opened for reading, else why not.
std::string UnreadableReason(const std::string& fileName);

// True when something other than a regular file stands at fileName (links followed).
bool IsSpecialFile(const std::string& fileName);

// Replaces fileName with text at once: a temporary file "<fileName>.XXXXXX" beside it is renamed
// over it, so no reader sees half a file and a crash leaves the old one whole. A link at the name
// is replaced, not followed; anything else but a regular file is refused. An existing file keeps
// its permissions; a new one gets 0666 less the umask. False with error set on failure.
bool ReplaceFile(const std::string& fileName, std::string_view text, std::string& error);

// Removes the temporary files ReplaceFile left beside fileName when a process stopped half-way. It
// takes FileLock(fileName) first, so every writer of such a file holds that lock while it replaces.
void RemoveStaleTemporaries(const std::string& fileName);

}  // namespace platform
