#include "platform/FilePath.h"

#include "platform/Cp932.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Offset of the last character that is one of delimiters, or npos. Walked character by
// character, because the trail byte of a two-byte character may be 0x5C ('\').
size_t LastDelimiter(std::string_view s, std::string_view delimiters)
{
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(s[i]))) {
            ++i;
        } else if (delimiters.find(s[i]) != std::string_view::npos) {
            found = i;
        }
    }
    return found;
}

constexpr std::string_view FolderDelimiters = "/\\:";
constexpr std::string_view ExtDelimiters = "/\\:.";

size_t ExtStart(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, ExtDelimiters);
    return i != std::string_view::npos && fileName[i] == '.' ? i : std::string_view::npos;
}

}  // namespace

bool IsPathDelimiter(char c)
{
    return c == '/' || c == '\\';
}

std::string ExtractFilePath(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, FolderDelimiters);
    return i == std::string_view::npos ? std::string() : std::string(fileName.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view fileName)
{
    size_t i = LastDelimiter(fileName, FolderDelimiters);
    return std::string(i == std::string_view::npos ? fileName : fileName.substr(i + 1));
}

std::string ExtractFileExt(std::string_view fileName)
{
    size_t i = ExtStart(fileName);
    return i == std::string_view::npos ? std::string() : std::string(fileName.substr(i));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension)
{
    size_t i = ExtStart(fileName);
    std::string result(i == std::string_view::npos ? fileName : fileName.substr(0, i));
    result += extension;
    return result;
}

std::string IncludeTrailingPathDelimiter(std::string_view folder)
{
    std::string result(folder);
    size_t last = LastDelimiter(folder, "/\\");
    if (result.empty() || last != result.size() - 1) {
        result += PathDelim;
    }
    return result;
}

bool FileExists(const std::string& fileName)
{
    struct stat info {};
    return stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& folder)
{
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ReadWholeFile(const std::string& fileName, std::string& text)
{
    std::string reason;
    return ReadWholeFile(fileName, text, reason);
}

bool ReadToEnd(int fd, size_t expected, std::string& content, std::string& reason)
{
    // One byte beyond what is expected, so the read that meets the end needs no larger buffer.
    std::string bytes(expected + 1, '\0');
    size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            bytes.resize(bytes.size() + std::max<size_t>(bytes.size() / 2, 4096));
        }
        ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            reason = std::strerror(errno);
            return false;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    content = std::move(bytes);
    return true;
}

bool ReadWholeFile(const std::string& fileName, std::string& text, std::string& reason)
{
    off_t size = 0;
    int fd = OpenRegularFile(fileName, O_RDONLY, reason, &size);
    if (fd < 0) {
        return false;
    }
    std::string content;
    bool read = ReadToEnd(fd, static_cast<size_t>(size), content, reason);
    // A file written meanwhile would be read as some mixture of its old and new bytes.
    struct stat after {};
    bool changed = read && (::fstat(fd, &after) != 0 || after.st_size != size
                            || content.size() != static_cast<size_t>(size));
    ::close(fd);
    if (changed) {
        reason = "the file changed while it was read";
    }
    if (!read || changed) {
        return false;
    }
    text = std::move(content);
    return true;
}

}  // namespace platform
