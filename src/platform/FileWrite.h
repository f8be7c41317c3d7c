#pragma once
// The one way files are written: whole, so that a reader sees either the old content or the new,
// never a mixture, and never over anything that is not a regular file.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What becomes of a symbolic link standing at the name written: the file it points at is replaced,
// or the link itself (so that no other file can be reached through it).
enum class LinkAtName { Follow, Replace };

// Writes bytes to a temporary file "<name>.quorlin-XXXXXX" beside the file and renames it over the
// file, holding the file's lock (FileLock) meanwhile. Followed links lead to the file replaced; a
// descriptor of this process named through a link (/dev/stdout, /dev/fd/N, /proc/self/fd/N) is
// written where it stands instead, as the shell opened it (appending after >>), never replaced.
// Anything but a regular file (a folder, a FIFO, a device, a socket) is refused and left as it
// is. An existing file keeps its permissions, a new one gets the usual ones. Temporary files of
// the same name that a writer stopped half-way left behind are removed first (those there when
// this process first wrote into the folder). False with the reason in error when the file cannot
// be written; the old content is then left as it was.
bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error,
                        LinkAtName link = LinkAtName::Follow);

// The lines, each ended by CR LF, written as WriteFileReplacing does; answers an empty text, or
// what went wrong.
std::string WriteCrLfLines(const std::string& fileName, const std::vector<std::string>& lines);

// One file's new content among several written together.
struct FileContent {
    std::string FileName;
    std::string_view Bytes;
};

// Writes the files as WriteFileReplacing does, so that they change together: every one is written
// to its temporary file before any is renamed in, and when one cannot be renamed in, those renamed
// in before get their old content back. A process stopped on the way leaves them all as they were
// unless it stops between the renames themselves.
bool WriteFilesTogether(const std::vector<FileContent>& files, std::string& error);

// Removes the temporary files this user's writers left beside fileName when they stopped
// half-way, reading the folder anew. Only while the file's lock can be held, so no writer at work
// loses its file.
void RemoveStaleTemporaries(const std::string& fileName);

}  // namespace platform
