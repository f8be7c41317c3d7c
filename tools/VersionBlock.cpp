#include "VersionBlock.h"

#include <cstdio>

namespace versionblock {

namespace {

void Put16(std::string& bytes, uint32_t value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

void Pad(std::string& bytes)
{
    while (bytes.size() % 4 != 0) {
        bytes += '\0';
    }
}

// UTF-8 to UTF-16 code units; malformed bytes are taken one by one as Latin-1.
std::u16string Utf16(const std::string& text)
{
    std::u16string units;
    for (size_t i = 0; i < text.size();) {
        auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
        uint32_t c = byte(i);
        size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        bool whole = i + extra < text.size();
        for (size_t k = 1; whole && k <= extra; ++k) {
            whole = (byte(i + k) & 0xC0) == 0x80;
        }
        if (extra == 0 || !whole) {
            units.push_back(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        c &= 0x3F >> extra;
        for (size_t k = 1; k <= extra; ++k) {
            c = (c << 6) | (byte(i + k) & 0x3F);
        }
        i += extra + 1;
        if (c >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(c));
        }
    }
    return units;
}

void PutText(std::string& bytes, const std::u16string& units)
{
    for (char16_t unit : units) {
        Put16(bytes, unit);
    }
    Put16(bytes, 0);
}

}  // namespace

std::string Write(const Node& node)
{
    std::string bytes(6, '\0');
    PutText(bytes, Utf16(node.Key));
    Pad(bytes);
    uint32_t valueLength = 0;
    if (node.Text && !node.Value.empty()) {
        std::u16string units = Utf16(node.Value);
        PutText(bytes, units);
        valueLength = static_cast<uint32_t>(units.size() + 1);
    } else if (!node.Text) {
        bytes += node.Value;
        valueLength = static_cast<uint32_t>(node.Value.size());
    }
    for (const Node& child : node.Children) {
        Pad(bytes);
        bytes += Write(child);
    }
    std::string header;
    Put16(header, static_cast<uint32_t>(bytes.size()));
    Put16(header, valueLength);
    Put16(header, node.Text ? 1 : 0);
    bytes.replace(0, 6, header);
    return bytes;
}

std::string FixedBytes(const FixedInfo& fixed)
{
    std::string bytes;
    Put32(bytes, 0xFEEF04BD);
    Put32(bytes, 0x00010000);
    Put32(bytes, fixed.FileVersion[0] << 16 | fixed.FileVersion[1]);
    Put32(bytes, fixed.FileVersion[2] << 16 | fixed.FileVersion[3]);
    Put32(bytes, fixed.ProductVersion[0] << 16 | fixed.ProductVersion[1]);
    Put32(bytes, fixed.ProductVersion[2] << 16 | fixed.ProductVersion[3]);
    for (uint32_t value : {fixed.FlagsMask, fixed.Flags, fixed.OS, fixed.Type, fixed.Subtype, 0u, 0u}) {
        Put32(bytes, value);
    }
    return bytes;
}

std::string TableKey(Translation translation)
{
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", translation.Language, translation.CodePage);
    return key;
}

Node VersionInfo(const FixedInfo& fixed, const std::vector<Table>& tables,
                 const std::vector<Translation>& translations)
{
    Node root{"VS_VERSION_INFO", false, FixedBytes(fixed), {}};
    Node stringInfo{"StringFileInfo", true, "", {}};
    for (const Table& table : tables) {
        Node node{table.Key, true, "", {}};
        for (const auto& [key, value] : table.Strings) {
            node.Children.push_back({key, true, value, {}});
        }
        stringInfo.Children.push_back(node);
    }
    root.Children.push_back(stringInfo);
    if (!translations.empty()) {
        std::string pairs;
        for (Translation translation : translations) {
            Put16(pairs, translation.Language);
            Put16(pairs, translation.CodePage);
        }
        root.Children.push_back({"VarFileInfo", true, "", {{"Translation", false, pairs, {}}}});
    }
    return root;
}

}  // namespace versionblock
