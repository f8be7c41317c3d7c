#include "platform/FileReplace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

bool Fail(std::string& errorText, const std::string& what, int error)
{
    errorText = what + ": " + std::strerror(error);
    return false;
}

}  // namespace

bool ReplaceFileContent(const std::string& fileName, std::string_view text, std::string& errorText)
{
    std::string target = fileName;
    struct stat info {};
    if (lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = realpath(target.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    bool exists = stat(target.c_str(), &info) == 0;
    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return Fail(errorText, "cannot create a file beside " + target, errno);
    }
    fchmod(fd, exists ? (info.st_mode & 07777) : (0666 & ~CurrentUmask()));
    // The rename alone makes the replacement atomic for a program that stops half-way; no fsync,
    // which would cost every settings update a disk flush.
    int error = WriteAll(fd, text) ? 0 : errno;
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporary.c_str());
        return Fail(errorText, "cannot write " + target, error);
    }
    return true;
}

}  // namespace platform
