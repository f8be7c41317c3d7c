#pragma once
// Whether two names reach one file, whatever links, hard links or spellings lead there.

#include <string>

namespace platform {

// Two names of files that exist: the same file. Otherwise the same place once the folders that
// exist are resolved, so a name can be tested before the file is made.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace platform
