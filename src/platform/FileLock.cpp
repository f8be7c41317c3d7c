#include "platform/FileLock.h"

#include <cerrno>
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

// The lock file, never a link or a FIFO someone put in its place.
int OpenLockFile(const std::string& lockName)
{
    int fd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
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

}  // namespace

FileLock::FileLock(const std::string& fileName) : lockName_(fileName + ".lock")
{
    Locks& locks = ProcessLocks();
    std::lock_guard guard(locks.mutex);
    bool holdsOthers = !locks.held.empty();
    HeldLock& lock = locks.held[lockName_];
    if (lock.holders == 0) {
        lock.fd = OpenLockFile(lockName_);
        if (lock.fd >= 0 && !Acquire(lock.fd, holdsOthers)) {
            ::close(lock.fd);
            lock.fd = -1;
        }
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
        // Closing the descriptor releases the lock; the lock file stays for the next holder.
        if (found->second.fd >= 0) {
            ::close(found->second.fd);
        }
        locks.held.erase(found);
    }
}

}  // namespace platform
