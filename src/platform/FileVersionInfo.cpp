#include "platform/FileVersionInfo.h"

#include "platform/FilePath.h"
#include "platform/VersionResource.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

namespace platform {

namespace {

// The version block of a file, in file (which keeps the bytes it lies in).
std::string_view ReadVersionBlock(const std::string& fileName, std::string& file)
{
    if (!ReadWholeFile(fileName, file)) {
        return {};
    }
    return FindVersionResource(file);
}

}  // namespace

uint32_t GetFileVersionInfoSize(const std::string& fileName)
{
    std::string file;
    return static_cast<uint32_t>(std::min<size_t>(ReadVersionBlock(fileName, file).size(), UINT32_MAX));
}

bool GetFileVersionInfo(const std::string& fileName, uint32_t size, void* data)
{
    std::string file;
    std::string_view block = ReadVersionBlock(fileName, file);
    if (block.empty()) {
        return false;
    }
    std::memcpy(data, block.data(), std::min<size_t>(size, block.size()));
    return true;
}

bool VerQueryValue(std::string_view block, std::string_view subBlock, std::string& value, uint32_t& length)
{
    return QueryVersionValue(block, subBlock, value, length);
}

std::string ModuleFileName(const void* address)
{
    Dl_info info{};
    link_map* module = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) || !module) {
        return std::string();
    }
    if (module->l_name && *module->l_name) {
        return module->l_name;
    }
    // The main program has no name of its own in the loader's list.
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

}  // namespace platform
