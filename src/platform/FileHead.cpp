#include "platform/FileHead.h"

#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool ReadFileHead(const std::string& fileName, size_t limit, std::string& head, bool& whole, uint64_t& size,
                  std::string& reason)
{
    off_t opened = 0;
    int fd = OpenRegularFile(fileName, O_RDONLY, reason, &opened);
    if (fd < 0) {
        return false;
    }
    // One byte past the limit tells a file that ends there from one that goes on. The buffer
    // follows what arrives, not the size stated, which a sparse file may put at terabytes.
    std::string bytes;
    size_t wanted = limit + 1;
    bool ok = true;
    while (bytes.size() < wanted) {
        size_t done = bytes.size();
        bytes.resize(std::min(wanted, std::max<size_t>(done * 2, 64 * 1024)));
        ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            bytes.resize(done);
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            if (!ok) {
                reason = std::strerror(errno);
            }
            bytes.resize(done);
            break;
        }
        bytes.resize(done + static_cast<size_t>(got));
    }
    ::close(fd);
    if (!ok) {
        return false;
    }
    whole = bytes.size() <= limit;
    bytes.resize(std::min(bytes.size(), limit));
    head = std::move(bytes);
    size = static_cast<uint64_t>(opened);
    return true;
}

}  // namespace platform
