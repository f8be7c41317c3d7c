#include "platform/LinkTarget.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// As the kernel allows when it follows links itself.
constexpr int MaxLinks = 40;

// Only '/' separates folders here: these are names the system resolves.
std::string FolderOf(const std::string& fileName)
{
    size_t slash = fileName.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

std::string BaseOf(const std::string& fileName)
{
    size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

bool AllDigits(const std::string& text)
{
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string RealFolder(const std::string& folder)
{
    char* resolved = realpath(folder.c_str(), nullptr);
    if (!resolved) {
        return std::string();
    }
    std::string result = resolved;
    std::free(resolved);
    return result;
}

// The process whose descriptor folder this is ("/proc/PID/fd" or "/proc/PID/task/TID/fd"), or 0.
long DescriptorFolderOwner(const std::string& realFolder)
{
    const std::string proc = "/proc/";
    if (realFolder.rfind(proc, 0) != 0 || realFolder.size() < proc.size() + 4
        || realFolder.compare(realFolder.size() - 3, 3, "/fd") != 0) {
        return 0;
    }
    std::string inner = realFolder.substr(proc.size(), realFolder.size() - proc.size() - 3);
    size_t task = inner.find("/task/");
    std::string pid = inner.substr(0, task);
    if (!AllDigits(pid) || (task != std::string::npos && !AllDigits(inner.substr(task + 6)))) {
        return 0;
    }
    return std::strtol(pid.c_str(), nullptr, 10);
}

}  // namespace

LinkTarget FollowLinks(const std::string& fileName)
{
    LinkTarget target;
    target.Path = fileName;
    for (int links = 0;; ++links) {
        std::string folder = FolderOf(target.Path);
        std::string base = BaseOf(target.Path);
        if (long owner = AllDigits(base) ? DescriptorFolderOwner(RealFolder(folder)) : 0) {
            if (owner == getpid()) {
                target.Descriptor = std::atoi(base.c_str());
            } else {
                target.Problem = "an open file of another process";
            }
            return target;
        }
        struct stat info {};
        if (lstat(target.Path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target;
        }
        if (links == MaxLinks) {
            target.Problem = std::strerror(ELOOP);
            return target;
        }
        std::string link(PATH_MAX, '\0');
        ssize_t size = readlink(target.Path.c_str(), link.data(), link.size());
        if (size < 0) {
            target.Problem = std::strerror(errno);
            return target;
        }
        link.resize(static_cast<size_t>(size));
        target.Path = link.starts_with('/') ? link : (folder == "/" ? "" : folder) + "/" + link;
    }
}

std::string CanonicalName(const std::string& fileName)
{
    std::string folder = RealFolder(FolderOf(fileName));
    if (folder.empty()) {
        return fileName;
    }
    return (folder == "/" ? "" : folder) + "/" + BaseOf(fileName);
}

}  // namespace platform
