#pragma once
// The beginning of a file that may be too large to hold whole, such as a text a user links to.

#include <cstdint>
#include <string>

namespace platform {

// Reads at most limit bytes from the start of a regular file into head, and its size at the
// opening into size; whole tells whether the file ended within the limit. A FIFO, device or folder
// is refused without waiting: false with the reason, head unchanged.
bool ReadFileHead(const std::string& fileName, size_t limit, std::string& head, bool& whole, uint64_t& size,
                  std::string& reason);

}  // namespace platform
