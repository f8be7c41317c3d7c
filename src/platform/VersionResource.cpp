#include "platform/VersionResource.h"

#include "platform/Cp932.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <optional>

namespace platform {

namespace {

// Little-endian reads that answer nothing when the value does not lie wholly within bytes.
std::optional<uint64_t> ReadLE(std::string_view bytes, uint64_t offset, unsigned size)
{
    if (offset > bytes.size() || bytes.size() - offset < size) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (unsigned i = size; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

std::optional<uint32_t> Read16(std::string_view bytes, uint64_t offset)
{
    auto value = ReadLE(bytes, offset, 2);
    return value ? std::optional<uint32_t>(static_cast<uint32_t>(*value)) : std::nullopt;
}

std::optional<uint32_t> Read32(std::string_view bytes, uint64_t offset)
{
    auto value = ReadLE(bytes, offset, 4);
    return value ? std::optional<uint32_t>(static_cast<uint32_t>(*value)) : std::nullopt;
}

// bytes[offset, offset + length), or nothing when that does not lie within bytes.
std::optional<std::string_view> Slice(std::string_view bytes, uint64_t offset, uint64_t length)
{
    if (offset > bytes.size() || bytes.size() - offset < length) {
        return std::nullopt;
    }
    return bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(length));
}

// --- PE files -------------------------------------------------------------------------------

constexpr uint32_t ResourceTypeVersion = 16;
constexpr uint32_t VersionResourceId = 1;
constexpr uint32_t HighBit = 0x80000000u;

struct PeImage {
    std::string_view file;
    uint64_t sectionTable = 0;
    uint32_t sectionCount = 0;

    // The file bytes from rva to the end of the section holding it on disk, at most length.
    std::optional<std::string_view> Map(uint32_t rva, uint32_t length) const
    {
        for (uint32_t i = 0; i < sectionCount; ++i) {
            uint64_t header = sectionTable + 40ull * i;
            auto address = Read32(file, header + 12);
            auto rawSize = Read32(file, header + 16);
            auto rawPointer = Read32(file, header + 20);
            if (!address || !rawSize || !rawPointer) {
                return std::nullopt;
            }
            if (rva >= *address && rva - *address < *rawSize) {
                uint64_t inSection = rva - *address;
                uint64_t available = std::min<uint64_t>(*rawSize - inSection, length);
                uint64_t start = *rawPointer + inSection;
                if (start > file.size()) {
                    return std::nullopt;
                }
                return file.substr(start, std::min<uint64_t>(available, file.size() - start));
            }
        }
        return std::nullopt;
    }
};

// A directory entry's target: the offset from the directory root, and whether it is a directory.
struct ResourceEntry {
    uint32_t offset = 0;
    bool directory = false;
};

// The entry of the directory at offset whose ID is id; with id unset, the language-neutral entry
// (ID 0) or else the first one.
std::optional<ResourceEntry> FindEntry(std::string_view root, uint32_t offset, std::optional<uint32_t> id)
{
    auto named = Read16(root, offset + 12ull);
    auto ids = Read16(root, offset + 14ull);
    if (!named || !ids) {
        return std::nullopt;
    }
    uint32_t count = *named + *ids;
    if (!Slice(root, offset + 16ull, 8ull * count)) {
        return std::nullopt;
    }
    std::optional<ResourceEntry> chosen;
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t entry = offset + 16ull + 8ull * i;
        uint32_t name = *Read32(root, entry);
        uint32_t target = *Read32(root, entry + 4);
        ResourceEntry found{target & ~HighBit, (target & HighBit) != 0};
        bool numeric = (name & HighBit) == 0;
        if (id) {
            if (numeric && name == *id) {
                return found;
            }
        } else if (numeric && name == 0) {
            return found;
        } else if (!chosen) {
            chosen = found;
        }
    }
    return chosen;
}

std::string_view FindInPe(std::string_view file)
{
    auto peOffset = Read32(file, 0x3C);
    if (!peOffset || file.substr(0, 2) != "MZ") {
        return {};
    }
    auto signature = Slice(file, *peOffset, 4);
    if (!signature || *signature != std::string_view("PE\0\0", 4)) {
        return {};  // 16-bit and other executables are not read
    }
    uint64_t coff = *peOffset + 4ull;
    auto sectionCount = Read16(file, coff + 2);
    auto optionalSize = Read16(file, coff + 16);
    if (!sectionCount || !optionalSize) {
        return {};
    }
    uint64_t optional = coff + 20;
    auto optionalHeader = Slice(file, optional, *optionalSize);
    auto magic = optionalHeader ? Read16(*optionalHeader, 0) : std::nullopt;
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) {
        return {};
    }
    bool plus = *magic == 0x20B;
    auto directoryCount = Read32(*optionalHeader, plus ? 108 : 92);
    auto resourceRva = Read32(*optionalHeader, plus ? 128 : 112);
    auto resourceSize = Read32(*optionalHeader, plus ? 132 : 116);
    if (!directoryCount || *directoryCount < 3 || !resourceRva || !resourceSize || *resourceSize == 0) {
        return {};
    }
    PeImage image{file, optional + *optionalSize, *sectionCount};
    if (!Slice(file, image.sectionTable, 40ull * image.sectionCount)) {
        return {};
    }
    auto root = image.Map(*resourceRva, *resourceSize);
    if (!root) {
        return {};
    }
    auto types = FindEntry(*root, 0, ResourceTypeVersion);
    if (!types || !types->directory) {
        return {};
    }
    auto names = FindEntry(*root, types->offset, VersionResourceId);
    if (!names || !names->directory) {
        return {};
    }
    auto language = FindEntry(*root, names->offset, std::nullopt);
    if (!language || language->directory) {
        return {};
    }
    auto dataRva = Read32(*root, language->offset);
    auto dataSize = Read32(*root, language->offset + 4ull);
    if (!dataRva || !dataSize) {
        return {};
    }
    auto data = image.Map(*dataRva, *dataSize);
    return data && data->size() == *dataSize ? *data : std::string_view();
}

// --- ELF files ------------------------------------------------------------------------------

std::string_view FindInElf(std::string_view file)
{
    if (file.substr(0, 4) != "\x7F" "ELF" || file.size() < 6 || file[5] != 1) {
        return {};  // only little-endian files
    }
    bool wide = file[4] == 2;
    if (!wide && file[4] != 1) {
        return {};
    }
    auto tableOffset = ReadLE(file, wide ? 0x28 : 0x20, wide ? 8 : 4);
    auto entrySize = Read16(file, wide ? 0x3A : 0x2E);
    auto count = Read16(file, wide ? 0x3C : 0x30);
    auto namesIndex = Read16(file, wide ? 0x3E : 0x32);
    unsigned minimumEntry = wide ? 64 : 40;
    if (!tableOffset || !entrySize || !count || !namesIndex || *entrySize < minimumEntry ||
        *namesIndex >= *count || !Slice(file, *tableOffset, uint64_t(*entrySize) * *count)) {
        return {};
    }
    // Offset and size of section i's bytes in the file; nothing for a section without any.
    auto sectionBytes = [&](uint32_t i) -> std::optional<std::string_view> {
        uint64_t header = *tableOffset + uint64_t(*entrySize) * i;
        constexpr uint32_t NoBits = 8;
        if (*Read32(file, header + 4) == NoBits) {
            return std::nullopt;
        }
        auto offset = ReadLE(file, header + (wide ? 24 : 16), wide ? 8 : 4);
        auto size = ReadLE(file, header + (wide ? 32 : 20), wide ? 8 : 4);
        return Slice(file, *offset, *size);
    };
    auto names = sectionBytes(*namesIndex);
    if (!names) {
        return {};
    }
    for (uint32_t i = 0; i < *count; ++i) {
        uint32_t nameOffset = *Read32(file, *tableOffset + uint64_t(*entrySize) * i);
        if (nameOffset >= names->size()) {
            continue;
        }
        std::string_view name = names->substr(nameOffset);
        name = name.substr(0, name.find('\0'));
        if (name == VersionSectionName) {
            auto bytes = sectionBytes(i);
            return bytes ? *bytes : std::string_view();
        }
    }
    return {};
}

// --- VS_VERSIONINFO nodes -------------------------------------------------------------------

uint64_t AlignUp(uint64_t offset)
{
    return (offset + 3) & ~uint64_t(3);
}

struct Node {
    std::u16string key;
    bool text = false;
    uint32_t valueLength = 0;  // as stored
    std::string_view value;
    std::string_view children;
    uint64_t extent = 0;  // bytes from the node's start to where its next sibling may start
};

// The node at the start of bytes, which end where its parent ends. Its length may count the
// padding after it or not; a length beyond the bytes left by more than that padding is damage.
std::optional<Node> ParseNode(std::string_view bytes)
{
    auto length = Read16(bytes, 0);
    auto valueLength = Read16(bytes, 2);
    auto type = Read16(bytes, 4);
    if (!length || !valueLength || !type || *length < 6) {
        return std::nullopt;
    }
    uint64_t size = *length;
    if (size > bytes.size()) {
        if (size - bytes.size() > 3) {
            return std::nullopt;
        }
        size = bytes.size();
    }
    std::string_view own = bytes.substr(0, size);
    Node node;
    node.extent = AlignUp(*length);
    uint64_t offset = 6;
    for (;; offset += 2) {
        auto unit = Read16(own, offset);
        if (!unit) {
            return std::nullopt;  // a key without its terminating zero
        }
        if (*unit == 0) {
            break;
        }
        node.key.push_back(static_cast<char16_t>(*unit));
    }
    offset = AlignUp(offset + 2);
    node.text = *type == 1;
    node.valueLength = *valueLength;
    uint64_t left = offset < own.size() ? own.size() - offset : 0;
    uint64_t valueBytes = node.text ? 2ull * *valueLength : *valueLength;
    if (valueBytes > left) {
        if (!node.text) {
            return std::nullopt;
        }
        // Some tools count a text's bytes, not its characters: it still ends at its zero.
        valueBytes = left;
    }
    node.value = own.substr(std::min<uint64_t>(offset, own.size()), valueBytes);
    uint64_t childrenStart = AlignUp(offset + valueBytes);
    node.children = childrenStart < own.size() ? own.substr(childrenStart) : std::string_view();
    return node;
}

char16_t FoldAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameKey(const std::u16string& key, std::string_view part)
{
    if (key.size() != part.size()) {
        return false;
    }
    for (size_t i = 0; i < key.size(); ++i) {
        if (FoldAscii(key[i]) != FoldAscii(static_cast<unsigned char>(part[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<Node> FindChild(const Node& parent, std::string_view key)
{
    std::string_view rest = parent.children;
    while (!rest.empty()) {
        auto child = ParseNode(rest);
        if (!child) {
            return std::nullopt;
        }
        if (SameKey(child->key, key)) {
            return child;
        }
        if (child->extent >= rest.size()) {
            break;
        }
        rest.remove_prefix(child->extent);
    }
    return std::nullopt;
}

// UTF-16 code units up to the first zero, as code page 932 through UTF-8.
std::string TextToCp932(std::string_view bytes)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t c = static_cast<char16_t>(*Read16(bytes, i));
        if (c == 0) {
            break;
        }
        text += c;
    }
    return Utf8ToCp932(Utf16ToUtf8(text));
}

}  // namespace

std::string_view FindVersionResource(std::string_view file)
{
    std::string_view block = file.substr(0, 2) == "MZ" ? FindInPe(file) : FindInElf(file);
    return IsVersionBlock(block) ? block : std::string_view();
}

bool IsVersionBlock(std::string_view block)
{
    auto root = ParseNode(block);
    return root && SameKey(root->key, "VS_VERSION_INFO");
}

bool QueryVersionValue(std::string_view block, std::string_view path, std::string& value,
                       uint32_t& length)
{
    value.clear();
    length = 0;
    auto node = ParseNode(block);
    if (!node) {
        return false;
    }
    while (!path.empty()) {
        size_t separator = path.find('\\');
        std::string_view part = path.substr(0, separator);
        path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
        if (part.empty()) {
            continue;
        }
        node = FindChild(*node, part);
        if (!node) {
            return false;
        }
    }
    if (node->text) {
        value = TextToCp932(node->value);
        length = node->valueLength == 0 ? 0 : static_cast<uint32_t>(value.size() + 1);
    } else {
        value.assign(node->value);
        length = static_cast<uint32_t>(value.size());
    }
    return true;
}

}  // namespace platform
