// The version resource reader over any bytes, taken as a whole file (PE or ELF) and as a version
// block on its own, queried as the version reader queries it: a block found lies within the file
// and is whole, a missing value has length 0, a text's length counts its bytes and its zero, and
// no value is longer than the block it came from.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/VersionResource.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void Query(std::string_view block, const std::string& path, std::string& value, uint32_t& length)
{
    bool found = platform::QueryVersionValue(block, path, value, length);
    Check(found || (length == 0 && value.empty()));
    Check(value.size() <= block.size());
    Check(length == 0 || length == value.size() || length == value.size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string_view found = platform::FindVersionResource(bytes);
    Check(found.empty() || (found.data() >= bytes.data() && found.data() + found.size() <= bytes.data() + size));
    Check(found.empty() || platform::IsVersionBlock(found));
    for (std::string_view block : {found, bytes}) {
        std::string value;
        uint32_t length = 0;
        Query(block, "\\", value, length);
        Query(block, "\\VarFileInfo\\Translation", value, length);
        if (value.size() < 4)
            continue;
        char table[9];
        std::snprintf(table, sizeof table, "%02X%02X%02X%02X", static_cast<unsigned char>(value[1]),
                      static_cast<unsigned char>(value[0]), static_cast<unsigned char>(value[3]),
                      static_cast<unsigned char>(value[2]));
        for (const char* key : {"CompanyName", "FileVersion", "ProductVersion"})
            Query(block, std::string("\\StringFileInfo\\") + table + "\\" + key, value, length);
    }
    return 0;
}
