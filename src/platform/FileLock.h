#pragma once
// An advisory lock between processes for a read-change-write of one file. The lock file lives in
// the user's private folder, named after the file's full path (links at the name followed, as the
// writer follows them), so nothing is ever left beside a user's file; the last holder removes it.
// Holders of one process share it (the first takes it, the last releases it), so code that reads
// a file while its caller holds the lock does not wait on itself. Only writers lock: a reader sees
// the old file or the new one, as files are replaced whole.

#include <string>

namespace platform {

class FileLock {
public:
    // Waits until no other process holds the lock. Without a usable lock file (no private folder,
    // something else at the lock file's place) nothing is locked.
    explicit FileLock(const std::string& fileName);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }

private:
    std::string lockName_;
    bool held_ = false;
};

// The lock file of fileName; empty when the user has no usable private folder.
std::string LockFileName(const std::string& fileName);

}  // namespace platform
