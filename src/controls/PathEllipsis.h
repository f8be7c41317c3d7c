#pragma once
// Shortens a file path for display by putting "..." in its middle, keeping the file name visible.

#include <functional>
#include <string>

namespace quorlin {

// path unchanged when measure(path) <= width; otherwise characters before the file name are
// replaced by "...", and when even "..." and the file name do not fit, the file name loses
// characters from its start. Two-byte characters are never cut; texts over 255 bytes are cut to
// 255 first.
std::string EllipsisPath(const std::string& path, int width,
                         const std::function<int(const std::string&)>& measure);

}  // namespace quorlin
