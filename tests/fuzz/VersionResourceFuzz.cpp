// The version resource reader over any bytes: taken as a whole file (PE or ELF) and as a version
// block on its own, queried as the version reader queries it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/VersionResource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (std::string_view block : {platform::FindVersionResource(bytes), bytes}) {
        platform::IsVersionBlock(block);
        std::string value;
        uint32_t length = 0;
        platform::QueryVersionValue(block, "\\", value, length);
        if (!platform::QueryVersionValue(block, "\\VarFileInfo\\Translation", value, length) || value.size() < 4)
            continue;
        char table[9];
        std::snprintf(table, sizeof table, "%02X%02X%02X%02X", static_cast<unsigned char>(value[1]),
                      static_cast<unsigned char>(value[0]), static_cast<unsigned char>(value[3]),
                      static_cast<unsigned char>(value[2]));
        for (const char* key : {"CompanyName", "FileVersion", "ProductVersion"})
            platform::QueryVersionValue(block, std::string("\\StringFileInfo\\") + table + "\\" + key, value, length);
    }
    return 0;
}
