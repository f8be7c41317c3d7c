#include "version/VersionInfoList.h"

#include <cstdio>

#include "platform/FileVersionInfo.h"

namespace quorlin {

const char* const VersionInfoKeys[8] = {
    "\\CompanyName",    "\\FileDescription",  "\\FileVersion", "\\InternalName",
    "\\LegalCopyright", "\\OriginalFilename", "\\ProductName", "\\ProductVersion",
};

void ReadVersionInfoList(const std::string& fileName, std::vector<std::string>& list)
{
    uint32_t size = platform::GetFileVersionInfoSize(fileName);
    if (size == 0) {
        list.push_back("No Version Info");
        return;
    }
    std::string buffer(size, '\0');
    if (!platform::GetFileVersionInfo(fileName, size, buffer.data())) {
        return;
    }
    std::string value;
    uint32_t length = 0;
    platform::VerQueryValue(buffer, "\\VarFileInfo\\Translation", value, length);
    if (length == 0 || value.size() < 4) {
        return;
    }
    // Language in the low half, code page in the high half: printed language first.
    uint32_t translation = static_cast<unsigned char>(value[0]) | static_cast<unsigned char>(value[1]) << 8 |
                           static_cast<unsigned char>(value[2]) << 16 |
                           static_cast<uint32_t>(static_cast<unsigned char>(value[3])) << 24;
    char table[9];
    std::snprintf(table, sizeof table, "%04X%04X", translation & 0xFFFF, translation >> 16);
    list.clear();
    for (const char* key : VersionInfoKeys) {
        platform::VerQueryValue(buffer, std::string("\\StringFileInfo\\") + table + key, value, length);
        list.push_back(length > 0 && !value.empty() ? value : "None");
    }
}

}  // namespace quorlin
