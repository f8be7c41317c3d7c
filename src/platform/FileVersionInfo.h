#pragma once
// The Windows version-information functions over files of this system: the version block of a
// PE32, PE32+ or (our own) ELF file, read and queried as GetFileVersionInfoSizeA,
// GetFileVersionInfoA and VerQueryValueA do.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Size in bytes of the file's version block; 0 when the file cannot be read or has none.
uint32_t GetFileVersionInfoSize(const std::string& fileName);
// Copies at most size bytes of the file's version block into data; false when there is none.
bool GetFileVersionInfo(const std::string& fileName, uint32_t size, void* data);
// The value at subBlock of a block read by GetFileVersionInfo (see QueryVersionValue); a length of
// 0 means that the value is missing.
bool VerQueryValue(std::string_view block, std::string_view subBlock, std::string& value, uint32_t& length);

// The file of the executable or shared library whose code or data holds address; empty if none.
std::string ModuleFileName(const void* address);

}  // namespace platform
