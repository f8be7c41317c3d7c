#pragma once
// Writes version blocks (VS_VERSIONINFO) node by node: the build makes the add-in library's version
// resource with it, and tests make resources of every shape, damaged ones included.

#include <cstdint>
#include <string>
#include <vector>

namespace versionblock {

struct Node {
    std::string Key;    // UTF-8
    bool Text = false;  // Value is UTF-8 text, written as UTF-16 with its zero; else bytes as given
    std::string Value;
    std::vector<Node> Children;
};

// The node's bytes: length, value length (characters with the zero for a text, 0 for an empty
// one; bytes otherwise),
// type, key, padding, value, padding, then the children each starting on a 4-byte boundary. The
// length leaves out the padding after the last byte.
std::string Write(const Node& node);

struct FixedInfo {
    uint32_t FileVersion[4] = {};
    uint32_t ProductVersion[4] = {};
    uint32_t FlagsMask = 0;
    uint32_t Flags = 0;
    uint32_t OS = 0;
    uint32_t Type = 0;
    uint32_t Subtype = 0;
};

// The 52 bytes of VS_FIXEDFILEINFO.
std::string FixedBytes(const FixedInfo& fixed);

struct Translation {
    uint16_t Language = 0;
    uint16_t CodePage = 0;
};

// A whole block: the fixed part, one string table per entry of tables (keyed by its eight hex
// digits, as given) and a translation list, left out when translations is empty.
struct Table {
    std::string Key;
    std::vector<std::pair<std::string, std::string>> Strings;
};
Node VersionInfo(const FixedInfo& fixed, const std::vector<Table>& tables,
                 const std::vector<Translation>& translations);

// "041104B0" for language 0x0411 and code page 0x04B0.
std::string TableKey(Translation translation);

}  // namespace versionblock
