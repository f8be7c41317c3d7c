#include "FormFileLoad.h"

#include <cerrno>
#include <cstring>

#include "platform/FilePath.h"

namespace cli {

bool LoadFormFile(const std::string& fileName, forms::FormFile& form, FormLoadError& error)
{
    std::string bytes;
    bool folder = platform::DirectoryExists(fileName);
    if (folder || !platform::ReadWholeFile(fileName, bytes)) {
        error.Message = fileName + ": " + std::strerror(folder ? EISDIR : errno ? errno : ENOENT);
        return false;
    }
    forms::FormError damage;
    if (!forms::ReadFormFile(std::move(bytes), form, damage)) {
        error.Message = forms::DescribeFormError(fileName, damage);
        error.Offset = damage.Offset;
        return false;
    }
    return true;
}

}  // namespace cli
