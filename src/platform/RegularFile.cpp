#include "platform/RegularFile.h"

#include "platform/FileLock.h"
#include "platform/FilePath.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string SpecialFileReason(mode_t mode)
{
    return S_ISDIR(mode) ? std::strerror(EISDIR) : "not a regular file";
}

mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    return 022;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t written = write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The six characters mkstemp puts in place of "XXXXXX".
bool IsTemporarySuffix(std::string_view suffix)
{
    if (suffix.size() != 6) {
        return false;
    }
    for (char c : suffix) {
        bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) {
            return false;
        }
    }
    return true;
}

}  // namespace

int OpenRegularFile(const std::string& fileName, int flags, std::string& reason)
{
    // A special file is not even opened where it can be told beforehand: opening some devices acts.
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        reason = SpecialFileReason(info.st_mode);
        return -1;
    }
    // Non-blocking, so a FIFO put in place since the test cannot make the open wait.
    int fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        int error = errno;
        bool special = ::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
        reason = special ? SpecialFileReason(info.st_mode) : std::strerror(error);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = SpecialFileReason(info.st_mode);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string UnreadableReason(const std::string& fileName)
{
    if (fileName.empty()) {
        return std::strerror(ENOENT);
    }
    std::string reason;
    int fd = OpenRegularFile(fileName, O_RDONLY, reason);
    if (fd >= 0) {
        ::close(fd);
    }
    return reason;
}

bool IsSpecialFile(const std::string& fileName)
{
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool ReplaceFile(const std::string& fileName, std::string_view text, std::string& error)
{
    struct stat info {};
    bool exists = ::lstat(fileName.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        error = fileName + ": " + SpecialFileReason(info.st_mode);
        return false;
    }
    mode_t mode = exists && S_ISREG(info.st_mode) ? info.st_mode & 07777 : 0666 & ~CurrentUmask();
    std::string temporary = fileName + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a file beside " + fileName + ": " + std::strerror(errno);
        return false;
    }
    fchmod(fd, mode);
    // The rename makes the replacement atomic for a program that stops half-way; no fsync, which
    // would cost every history update a disk flush.
    int failure = WriteAll(fd, text) ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), fileName.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        error = "cannot write " + fileName + ": " + std::strerror(failure);
        return false;
    }
    return true;
}

void RemoveStaleTemporaries(const std::string& fileName)
{
    std::string folder = ExtractFilePath(fileName);
    std::string prefix = ExtractFileName(fileName) + ".";
    DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!entries) {
        return;
    }
    FileLock lock(fileName);
    while (const dirent* entry = ::readdir(entries)) {
        std::string_view name = entry->d_name;
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix)
            && IsTemporarySuffix(name.substr(prefix.size()))) {
            ::unlink((folder + std::string(name)).c_str());
        }
    }
    ::closedir(entries);
}

}  // namespace platform
