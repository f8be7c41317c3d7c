#pragma once
// The host program: its folder, where the add-in keeps its data files, and its file name.

#include <string>

namespace platform {

// The folder of the running executable with a trailing separator, unless a host set another.
std::string HostFolder();
// A trailing separator is added when missing; an empty folder restores the default.
void SetHostFolder(const std::string& folder);
// The file name (without folder) of the running executable, unless a host set another.
std::string HostExeName();
// An empty name restores the default.
void SetHostExeName(const std::string& name);
// A name without folder part resolved against HostFolder(); other names unchanged.
std::string InHostFolder(const std::string& fileName);

}  // namespace platform
