#include "Catalogue.h"

#include <algorithm>
#include <filesystem>

#include "platform/Cp932.h"
#include "platform/FilePath.h"

namespace refhost {

extern const char BuiltinCatalogue[];

namespace {

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ')
            ++at;
        size_t start = at;
        while (at < text.size() && static_cast<unsigned char>(text[at]) > ' ')
            ++at;
        if (at > start)
            words.push_back(text.substr(start, at - start));
    }
    return words;
}

// "keyword NAME: rest" -> NAME and rest; false without the colon.
bool SplitHead(std::string_view line, size_t keywordLength, std::string& name, std::string_view& rest)
{
    size_t colon = line.find(':', keywordLength);
    if (colon == std::string_view::npos)
        return false;
    name = platform::Trim(line.substr(keywordLength, colon - keywordLength));
    rest = line.substr(colon + 1);
    return !name.empty();
}

}  // namespace

Catalogue Catalogue::Installed(const std::string& folder)
{
    Catalogue catalogue;
    std::string error;
    catalogue.Add(BuiltinCatalogue, error);
    if (folder.empty() || !platform::DirectoryExists(folder))
        return catalogue;
    std::vector<std::string> files;
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failed)) {
        if (entry.path().extension() == ".cat")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        std::string text;
        if (platform::ReadWholeFile(file, text))
            catalogue.Add(text, error);
    }
    return catalogue;
}

bool Catalogue::Add(std::string_view text, std::string& error)
{
    ClassEntry* current = nullptr;
    int lineNumber = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string_view trimmed = platform::TrimView(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        std::string name;
        std::string_view rest;
        bool indented = static_cast<unsigned char>(line[0]) <= ' ';
        if (!indented && trimmed.starts_with("package ") && SplitHead(trimmed, 8, name, rest)) {
            auto package = std::find_if(packages_.begin(), packages_.end(),
                                        [&](const CataloguePackage& p) { return platform::SameText(p.Name, name); });
            if (package == packages_.end())
                package = packages_.insert(packages_.end(), CataloguePackage{name, {}});
            for (std::string_view word : Words(rest))
                package->Classes.emplace_back(word);
            current = nullptr;
        } else if (!indented && trimmed.starts_with("class ") && SplitHead(trimmed, 6, name, rest)) {
            ClassEntry& entry = classes_[platform::UpperCase(name)];
            entry = ClassEntry{name, platform::Trim(rest), {}};
            current = &entry;
        } else if (!indented && trimmed.starts_with("enum ") && SplitHead(trimmed, 5, name, rest)) {
            auto& values = enums_[platform::UpperCase(name)];
            values.clear();
            for (std::string_view word : Words(rest))
                values.emplace_back(word);
            current = nullptr;
        } else if (indented && current) {
            std::string_view declaration = trimmed;
            std::string defaultText;
            if (size_t equals = trimmed.find('='); equals != std::string_view::npos) {
                declaration = trimmed.substr(0, equals);
                defaultText = platform::Trim(trimmed.substr(equals + 1));
            }
            std::vector<std::string_view> words = Words(declaration);
            int code = words.size() == 3 ? std::atoi(std::string(words[1]).c_str()) : -1;
            if (code < hostapi::ptUnknown || code > hostapi::ptVariant) {
                error = "line " + std::to_string(lineNumber) + ": property expected";
                return false;
            }
            current->Own.push_back({std::string(words[0]), static_cast<hostapi::TPropertyType>(code),
                                    std::string(words[2]), defaultText});
        } else {
            error = "line " + std::to_string(lineNumber) + ": package, class or enum expected";
            return false;
        }
    }
    return true;
}

const Catalogue::ClassEntry* Catalogue::Find(const std::string& className) const
{
    auto found = classes_.find(platform::UpperCase(className));
    return found == classes_.end() ? nullptr : &found->second;
}

bool Catalogue::HasClass(const std::string& className) const { return Find(className) != nullptr; }

std::vector<PublishedProperty> Catalogue::Properties(const std::string& className) const
{
    std::vector<const ClassEntry*> chain;
    for (const ClassEntry* entry = Find(className); entry && chain.size() < 64; entry = Find(entry->Parent))
        chain.push_back(entry);
    std::vector<PublishedProperty> properties;
    for (auto entry = chain.rbegin(); entry != chain.rend(); ++entry) {
        for (const PublishedProperty& own : (*entry)->Own) {
            auto same = std::find_if(properties.begin(), properties.end(),
                                     [&](const PublishedProperty& p) { return platform::SameText(p.Name, own.Name); });
            if (same == properties.end())
                properties.push_back(own);
            else
                *same = own;
        }
    }
    return properties;
}

bool Catalogue::InheritsFrom(const std::string& className, const std::string& ancestor) const
{
    if (platform::SameText(className, ancestor))
        return true;
    int steps = 0;
    for (const ClassEntry* entry = Find(className); entry && steps < 64; entry = Find(entry->Parent), ++steps) {
        if (platform::SameText(entry->Parent, ancestor))
            return true;
    }
    return false;
}

const std::vector<std::string>* Catalogue::EnumValues(const std::string& typeName) const
{
    auto found = enums_.find(platform::UpperCase(typeName));
    return found == enums_.end() ? nullptr : &found->second;
}

}  // namespace refhost
