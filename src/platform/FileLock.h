#pragma once
// An advisory lock between processes for a read-change-write of one file: held on the lock file
// "<fileName>.lock" beside it. Holders of one process share it (the first takes it, the last
// releases it), so code that reads a file while its caller holds the lock does not wait on itself.

#include <string>

namespace platform {

class FileLock {
public:
    // Waits until no other process holds the lock. Without a usable lock file (a read-only
    // folder) nothing is locked.
    explicit FileLock(const std::string& fileName);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }

private:
    std::string lockName_;
    bool held_ = false;
};

}  // namespace platform
