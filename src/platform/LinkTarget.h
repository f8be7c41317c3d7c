#pragma once
// Where a name leads once the symbolic links at it are followed: the file to read, replace or lock,
// or a descriptor this process has open (/dev/stdout, /dev/fd/N, /proc/self/fd/N), which is to be
// written as it is, never replaced.

#include <string>

namespace platform {

struct LinkTarget {
    // The name at the end of the links; folders on the way are left as they are named.
    std::string Path;
    // The descriptor of this process the name opens again, or -1.
    int Descriptor = -1;
    // Why the name leads nowhere usable (a loop of links, another process's descriptor), or empty.
    std::string Problem;
};

LinkTarget FollowLinks(const std::string& fileName);

// The full name of Path without links or dots in its folder part, for telling two names of one
// file apart from two files; the name as given when its folder cannot be resolved.
std::string CanonicalName(const std::string& fileName);

}  // namespace platform
