#include "platform/SameFile.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace platform {

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat infoA {};
    struct stat infoB {};
    bool existsA = ::stat(a.c_str(), &infoA) == 0;
    bool existsB = ::stat(b.c_str(), &infoB) == 0;
    if (existsA && existsB) {
        return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    }
    if (existsA != existsB) {
        return false;
    }
    std::error_code error;
    std::filesystem::path placeA = std::filesystem::weakly_canonical(a, error);
    if (error) {
        return false;
    }
    std::filesystem::path placeB = std::filesystem::weakly_canonical(b, error);
    return !error && placeA == placeB;
}

}  // namespace platform
