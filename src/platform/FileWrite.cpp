#include "platform/FileWrite.h"

#include "platform/RegularFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

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

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool Fail(std::string& error, const std::string& what, int code)
{
    error = what + ": " + std::strerror(code);
    return false;
}

}  // namespace

bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error,
                        LinkAtName link)
{
    std::string target = fileName;
    struct stat info {};
    bool exists = lstat(target.c_str(), &info) == 0;
    if (exists && S_ISLNK(info.st_mode) && link == LinkAtName::Follow) {
        if (char* resolved = realpath(target.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
        exists = lstat(target.c_str(), &info) == 0;
    }
    if (exists && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        error = target + ": " + SpecialFileReason(info.st_mode);
        return false;
    }
    bool keepMode = exists && S_ISREG(info.st_mode);
    std::string temporary = target + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return Fail(error, "cannot create a file beside " + target, errno);
    }
    fchmod(fd, keepMode ? (info.st_mode & 07777) : (0666 & ~CurrentUmask()));
    // No fsync: the rename alone keeps a program that stops half-way from leaving a torn file, and
    // a disk flush per write would cost every settings update dearly.
    int code = WriteAll(fd, bytes) ? 0 : errno;
    if (close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code == 0 && rename(temporary.c_str(), target.c_str()) != 0) {
        code = errno;
    }
    if (code != 0) {
        unlink(temporary.c_str());
        return Fail(error, "cannot write " + target, code);
    }
    return true;
}

}  // namespace platform
