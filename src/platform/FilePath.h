#pragma once
// File-name pieces. Both '/' and '\' separate folders, so names written on either system work.

#include <string>
#include <string_view>

namespace platform {

constexpr char PathDelim = '/';

bool IsPathDelimiter(char c);
// Pieces are found character by character: the trail byte of a two-byte character may be 0x5C.
// The folder part with its trailing separator (or drive colon); empty when there is none.
std::string ExtractFilePath(std::string_view fileName);
std::string ExtractFileName(std::string_view fileName);
// From the last '.' after the last separator or ':', dot included; empty when there is none.
std::string ExtractFileExt(std::string_view fileName);
// Replaces that extension, or appends extension when there is none.
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
std::string IncludeTrailingPathDelimiter(std::string_view folder);
// True only for a regular file (links followed).
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& folder);
// The bytes of a regular file; false, text unchanged, when it cannot be read or is no regular file
// (a FIFO is refused at once, not waited on).
bool ReadWholeFile(const std::string& fileName, std::string& text);
// The same; reason says why the file could not be read. A file whose size changes while it is
// read, or whose bytes are not as many as its size, is not read.
bool ReadWholeFile(const std::string& fileName, std::string& text, std::string& reason);
// Reads fd until read() answers 0, however few bytes each call answers (at most 0x7ffff000 on
// Linux, and what a pipe holds); expected is the size to make room for at first.
bool ReadToEnd(int fd, size_t expected, std::string& content, std::string& reason);

}  // namespace platform
