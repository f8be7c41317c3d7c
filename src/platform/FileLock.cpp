#include "platform/FileLock.h"

#include "platform/LinkTarget.h"
#include "platform/LocalBus.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct HeldLock {
    int fd = -1;
    int holders = 0;
};

struct Locks {
    std::mutex mutex;
    std::map<std::string, HeldLock> held;
};

Locks& ProcessLocks()
{
    static Locks locks;
    return locks;
}

// FNV-1a: the same file gets the same lock file in every process and every build.
uint64_t NameHash(const std::string& name)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// The lock file, never a link or a FIFO someone put in its place.
int OpenLockFile(const std::string& lockName)
{
    int fd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Waits for the lock. A process that already holds another file's lock waits a bounded time only,
// so two processes taking two files' locks in opposite orders cannot wait on each other for ever.
bool Acquire(int fd, bool holdsOthers)
{
    if (!holdsOthers) {
        int result = 0;
        while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        return result == 0;
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        ::usleep(10000);
    }
    return false;
}

// True while the lock file fd is still the one at lockName: the holder before may have removed it
// on release, leaving this process locking a file no one else can find.
bool StillInPlace(int fd, const std::string& lockName)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(lockName.c_str(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

int Lock(const std::string& lockName, bool holdsOthers)
{
    for (;;) {
        int fd = OpenLockFile(lockName);
        if (fd < 0) {
            return -1;
        }
        if (!Acquire(fd, holdsOthers)) {
            ::close(fd);
            return -1;
        }
        if (StillInPlace(fd, lockName)) {
            return fd;
        }
        ::close(fd);
    }
}

}  // namespace

std::string LockFileName(const std::string& fileName)
{
    std::string folder;
    std::string error;
    if (!PrivateBusFolder(folder, error) || !CheckPrivateFolder(folder + "/.locks", error)) {
        return std::string();
    }
    char name[24];
    std::snprintf(name, sizeof name, "%016llx.lock",
                  static_cast<unsigned long long>(NameHash(CanonicalName(FollowLinks(fileName).Path))));
    return folder + "/.locks/" + name;
}

FileLock::FileLock(const std::string& fileName) : lockName_(LockFileName(fileName))
{
    Locks& locks = ProcessLocks();
    std::lock_guard guard(locks.mutex);
    bool holdsOthers = !locks.held.empty();
    HeldLock& lock = locks.held[lockName_];
    if (lock.holders == 0 && !lockName_.empty()) {
        lock.fd = Lock(lockName_, holdsOthers);
    }
    ++lock.holders;
    held_ = lock.fd >= 0;
}

FileLock::~FileLock()
{
    Locks& locks = ProcessLocks();
    std::lock_guard guard(locks.mutex);
    auto found = locks.held.find(lockName_);
    if (--found->second.holders == 0) {
        // Removed while still held, so a process waiting on it finds it gone and makes a new one.
        if (found->second.fd >= 0) {
            if (StillInPlace(found->second.fd, lockName_)) {
                ::unlink(lockName_.c_str());
            }
            ::close(found->second.fd);
        }
        locks.held.erase(found);
    }
}

}  // namespace platform
