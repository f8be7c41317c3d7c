#pragma once
// Version resources (the VS_VERSIONINFO block of Windows): found in the resources of a PE32 or
// PE32+ file, or in the ".rsrc.version" section of an ELF file of ours, and looked up by path as
// VerQueryValueA looks them up. Every offset and length read is checked against the bytes it lies
// in: a damaged file has no version block, a damaged node holds no value.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The ELF section our own binaries keep their version block in.
inline constexpr std::string_view VersionSectionName = ".rsrc.version";

// The version block among the bytes of a whole file; empty when the file has none, is damaged,
// or is a 16-bit program (whose resources are not read).
std::string_view FindVersionResource(std::string_view file);

// True when block starts with a whole root node named VS_VERSION_INFO.
bool IsVersionBlock(std::string_view block);

// The value at a path such as "\StringFileInfo\041104B0\FileVersion": parts separated by '\',
// empty parts skipped, each matching a child's key in full without regard to case; "\" is the
// root's fixed part. A text is converted to code page 932 and ends at its first zero; length is
// then its size in bytes with the terminating zero, or 0 for a text stored with no characters. A
// binary value is given as stored with its size. False, length 0, when the path names nothing.
bool QueryVersionValue(std::string_view block, std::string_view path, std::string& value,
                       uint32_t& length);

}  // namespace platform
