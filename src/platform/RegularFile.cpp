#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string SpecialFileReason(unsigned mode)
{
    return S_ISDIR(mode) ? std::strerror(EISDIR) : "not a regular file";
}

int OpenRegularFile(const std::string& fileName, int flags, std::string& reason, off_t* size)
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
    if (size) {
        *size = info.st_size;
    }
    // O_NONBLOCK stays: it changes nothing for a regular file.
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

}  // namespace platform
