// Makes the add-in library's version resource from its description (an ini file): a C++ source
// that puts the version block into the ".rsrc.version" section of the binary it is linked into.
//
//     quorlin-make-version-resource DESCRIPTION.ini OUTPUT.cpp

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "VersionBlock.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "platform/IniFile.h"
#include "platform/VersionResource.h"

namespace {

class Description {
public:
    explicit Description(const std::string& fileName) : ini_(platform::IniFile::ReadOnly(fileName))
    {
        if (!platform::FileExists(fileName))
            throw std::runtime_error(fileName + ": cannot read");
        version_ = ini_->ReadString("Fixed", "Version", "");
    }

    std::string Text(const std::string& section, const std::string& key) const
    {
        std::string value = ini_->ReadString(section, key, "");
        for (size_t at; (at = value.find("{Version}")) != std::string::npos;)
            value.replace(at, 9, version_);
        return value;
    }

    uint32_t Number(const std::string& section, const std::string& key) const
    {
        std::string text = Text(section, key);
        char* end = nullptr;
        unsigned long value = std::strtoul(text.c_str(), &end, 0);
        if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul)
            throw std::runtime_error("[" + section + "] " + key + ": not a number: " + text);
        return static_cast<uint32_t>(value);
    }

    // "1.3.0.128" as its four parts.
    void FourPart(const std::string& key, uint32_t (&parts)[4]) const
    {
        std::string text = Text("Fixed", key);
        size_t start = 0;
        for (int i = 0; i < 4; ++i) {
            size_t end = text.find('.', start);
            if ((end == std::string::npos) != (i == 3))
                throw std::runtime_error("[Fixed] " + key + ": not four numbers: " + text);
            std::string part = text.substr(start, end == std::string::npos ? end : end - start);
            char* stop = nullptr;
            unsigned long value = std::strtoul(part.c_str(), &stop, 10);
            if (part.empty() || *stop != '\0' || value > 0xFFFF)
                throw std::runtime_error("[Fixed] " + key + ": not four numbers: " + text);
            parts[i] = static_cast<uint32_t>(value);
            start = end + 1;
        }
    }

    std::vector<std::string> Keys(const std::string& section) const { return ini_->ReadSection(section); }

private:
    std::shared_ptr<const platform::IniFile> ini_;
    std::string version_;
};

std::string MakeBlock(const Description& description)
{
    versionblock::FixedInfo fixed;
    description.FourPart("FileVersion", fixed.FileVersion);
    description.FourPart("ProductVersion", fixed.ProductVersion);
    fixed.FlagsMask = description.Number("Fixed", "FileFlagsMask");
    fixed.Flags = description.Number("Fixed", "FileFlags");
    fixed.OS = description.Number("Fixed", "FileOS");
    fixed.Type = description.Number("Fixed", "FileType");
    versionblock::Translation translation{static_cast<uint16_t>(description.Number("Translation", "Language")),
                                          static_cast<uint16_t>(description.Number("Translation", "CodePage"))};
    versionblock::Table table{versionblock::TableKey(translation), {}};
    for (const std::string& key : description.Keys("Strings"))
        table.Strings.emplace_back(key, description.Text("Strings", key));
    std::string block = versionblock::Write(versionblock::VersionInfo(fixed, {table}, {translation}));
    if (block.size() > 0xFFFF)
        throw std::runtime_error("the version block is larger than 64 KiB");
    return block;
}

std::string Source(const std::string& block, const std::string& descriptionName)
{
    std::string text = "// Made from " + descriptionName + " by quorlin-make-version-resource; do not edit.\n"
                       "alignas(4) __attribute__((used, section(\"" + std::string(platform::VersionSectionName) +
                       "\"))) static const unsigned char VersionResource[] = {";
    for (size_t i = 0; i < block.size(); ++i) {
        char byte[16];
        std::snprintf(byte, sizeof byte, "%s0x%02X", i % 16 == 0 ? "\n    " : " ",
                      static_cast<unsigned char>(block[i]));
        text += byte;
        text += ',';
    }
    return text + "\n};\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: quorlin-make-version-resource DESCRIPTION.ini OUTPUT.cpp\n");
        return 2;
    }
    try {
        std::string source = Source(MakeBlock(Description(argv[1])), platform::ExtractFileName(argv[1]));
        std::string error;
        if (!platform::WriteFileReplacing(argv[2], source, error))
            throw std::runtime_error(error);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorlin-make-version-resource: %s\n", error.what());
        return 1;
    }
    return 0;
}
