#pragma once
// Opening the files a user names: a FIFO, device or folder where a file is expected is refused
// with a reason, never waited on or read.

#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform {

// Opens fileName with flags (O_RDONLY, O_WRONLY | O_CREAT ...) without waiting for the other end of
// a FIFO, and keeps it only when it is a regular file. Answers the descriptor (reads and writes of
// a regular file wait as usual, O_NONBLOCK or not); -1 with reason set ("Is a directory", "not a regular file" or the system's reason).
// size, when given, receives the file's size at the opening.
int OpenRegularFile(const std::string& fileName, int flags, std::string& reason, off_t* size = nullptr);

// Empty when fileName is a regular file that can be opened for reading, else why not.
std::string UnreadableReason(const std::string& fileName);

// True when something other than a regular file stands at fileName (links followed).
bool IsSpecialFile(const std::string& fileName);

// Why a file of this type (st_mode) is refused: "Is a directory" or "not a regular file".
std::string SpecialFileReason(unsigned mode);

}  // namespace platform
