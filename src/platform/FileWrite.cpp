#include "platform/FileWrite.h"

#include "platform/FileLock.h"
#include "platform/LinkTarget.h"
#include "platform/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Distinct enough that no file of a user's is taken for one of ours.
constexpr std::string_view TemporaryMark = ".quorlin-";
constexpr size_t TemporaryRandom = 6;  // the characters mkstemp puts in place of "XXXXXX"

struct Target {
    std::string path;  // the file replaced
    int descriptor = -1;
    bool exists = false;
    mode_t mode = 0;
    std::string temporary;  // written and not yet renamed in; after an exchange, the old content
    bool exchanged = false;
    bool renamed = false;
};

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

bool IsTemporaryRandom(std::string_view suffix)
{
    if (suffix.size() != TemporaryRandom) {
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

// The temporary files in a folder, by the name of the file each was made for.
using Temporaries = std::multimap<std::string, std::string>;

Temporaries TemporariesIn(const std::string& folder)
{
    Temporaries found;
    DIR* entries = ::opendir(folder.c_str());
    if (!entries) {
        return found;
    }
    while (const dirent* entry = ::readdir(entries)) {
        std::string_view name = entry->d_name;
        size_t mark = name.rfind(TemporaryMark);
        if (mark != std::string_view::npos && mark > 0 && IsTemporaryRandom(name.substr(mark + TemporaryMark.size()))) {
            found.emplace(std::string(name.substr(0, mark)), std::string(name));
        }
    }
    ::closedir(entries);
    return found;
}

std::pair<std::string, std::string> FolderAndName(const std::string& fileName)
{
    size_t slash = fileName.rfind('/');
    if (slash == std::string::npos) {
        return {"./", fileName};
    }
    return {fileName.substr(0, slash + 1), fileName.substr(slash + 1)};
}

// Removes those of name's temporaries in found that are this user's regular files; called with
// the file's lock held, so none of them is being written.
void RemoveTemporariesOf(const std::string& folder, const std::string& name, const Temporaries& found)
{
    auto [first, last] = found.equal_range(name);
    for (auto temporary = first; temporary != last; ++temporary) {
        std::string path = folder + temporary->second;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
            ::unlink(path.c_str());
        }
    }
}

// A folder is read once per process, so writing every file of a large folder costs one pass over
// it, not one per file; temporaries left there later are for the next process to remove.
void RemoveStaleOf(const std::string& fileName)
{
    static std::mutex mutex;
    static std::map<std::string, Temporaries> folders;
    auto [folder, name] = FolderAndName(fileName);
    std::lock_guard guard(mutex);
    auto found = folders.find(folder);
    if (found == folders.end()) {
        found = folders.emplace(folder, TemporariesIn(folder)).first;
    }
    RemoveTemporariesOf(folder, name, found->second);
    found->second.erase(name);
}

bool Resolve(const std::string& fileName, LinkAtName link, Target& target, std::string& error)
{
    target.path = fileName;
    if (link == LinkAtName::Follow) {
        LinkTarget followed = FollowLinks(fileName);
        if (!followed.Problem.empty()) {
            error = fileName + ": " + followed.Problem;
            return false;
        }
        target.path = followed.Path;
        target.descriptor = followed.Descriptor;
        if (target.descriptor >= 0) {
            return true;
        }
    }
    struct stat info {};
    target.exists = lstat(target.path.c_str(), &info) == 0;
    if (target.exists && !S_ISREG(info.st_mode) && !(link == LinkAtName::Replace && S_ISLNK(info.st_mode))) {
        error = target.path + ": " + SpecialFileReason(info.st_mode);
        return false;
    }
    target.mode = target.exists && S_ISREG(info.st_mode) ? (info.st_mode & 07777) : (0666 & ~CurrentUmask());
    return true;
}

bool WriteTemporary(Target& target, std::string_view bytes, std::string& error)
{
    std::string temporary = target.path + std::string(TemporaryMark) + std::string(TemporaryRandom, 'X');
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return Fail(error, target.path, errno);
    }
    fchmod(fd, target.mode);
    // No fsync: the rename alone keeps a program that stops half-way from leaving a torn file, and
    // a disk flush per write would cost every settings update dearly.
    int code = WriteAll(fd, bytes) ? 0 : errno;
    if (close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code != 0) {
        unlink(temporary.c_str());
        return Fail(error, target.path, code);
    }
    target.temporary = std::move(temporary);
    return true;
}

// With undo, an existing file is exchanged with its temporary where the file system can, so that
// the temporary keeps the old content until all files are in.
bool RenameIn(Target& target, bool undo)
{
    if (undo && target.exists
        && renameat2(AT_FDCWD, target.temporary.c_str(), AT_FDCWD, target.path.c_str(), RENAME_EXCHANGE) == 0) {
        target.exchanged = true;
        return true;
    }
    if (rename(target.temporary.c_str(), target.path.c_str()) != 0) {
        return false;
    }
    target.renamed = true;
    target.temporary.clear();
    return true;
}

void Undo(Target& target)
{
    if (target.exchanged) {
        renameat2(AT_FDCWD, target.temporary.c_str(), AT_FDCWD, target.path.c_str(), RENAME_EXCHANGE);
    } else if (target.renamed && !target.exists) {
        unlink(target.path.c_str());
    }
}

bool Write(const std::vector<FileContent>& files, LinkAtName link, std::string& error)
{
    std::vector<Target> targets(files.size());
    std::vector<std::unique_ptr<FileLock>> locks;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!Resolve(files[i].FileName, link, targets[i], error)) {
            return false;
        }
        if (targets[i].descriptor < 0) {
            locks.push_back(std::make_unique<FileLock>(targets[i].path));
            if (locks.back()->Held()) {
                RemoveStaleOf(targets[i].path);
            }
        }
    }
    bool written = true;
    for (size_t i = 0; i < files.size() && written; ++i) {
        if (targets[i].descriptor < 0) {
            written = WriteTemporary(targets[i], files[i].Bytes, error);
        }
    }
    // A descriptor cannot be taken back, so it is written before the first file is renamed in.
    for (size_t i = 0; i < files.size() && written; ++i) {
        if (targets[i].descriptor >= 0 && !WriteAll(targets[i].descriptor, files[i].Bytes)) {
            written = Fail(error, files[i].FileName, errno);
        }
    }
    bool undo = files.size() > 1;
    for (size_t i = 0; i < files.size() && written; ++i) {
        if (targets[i].descriptor < 0 && !RenameIn(targets[i], undo)) {
            written = Fail(error, targets[i].path, errno);
            for (size_t j = i; j-- > 0;) {
                Undo(targets[j]);
            }
        }
    }
    for (const Target& target : targets) {
        if (!target.temporary.empty()) {
            unlink(target.temporary.c_str());
        }
    }
    return written;
}

}  // namespace

bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error, LinkAtName link)
{
    return Write({{fileName, bytes}}, link, error);
}

std::string WriteCrLfLines(const std::string& fileName, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    std::string error;
    WriteFileReplacing(fileName, text, error);
    return error;
}

bool WriteFilesTogether(const std::vector<FileContent>& files, std::string& error)
{
    return Write(files, LinkAtName::Follow, error);
}

void RemoveStaleTemporaries(const std::string& fileName)
{
    FileLock lock(fileName);
    if (lock.Held()) {
        auto [folder, name] = FolderAndName(FollowLinks(fileName).Path);
        RemoveTemporariesOf(folder, name, TemporariesIn(folder));
    }
}

}  // namespace platform
