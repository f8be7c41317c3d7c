#include "services/MruEx.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/FilePath.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"

namespace quorlin {

namespace {

std::vector<std::string> ReadValues(const platform::IniFile& ini, const std::string& section,
                                    const std::vector<std::string>& keys)
{
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string& key : keys) {
        values.push_back(ini.ReadString(section, key, ""));
    }
    return values;
}

}  // namespace

TMRUEx::TMRUEx(tk::Component* owner) : tk::Component(owner)
{
}

void TMRUEx::SetIniName(std::string name)
{
    if (!name.empty() && platform::ExtractFilePath(name).empty()) {
        name = platform::HostFolder() + name;
    }
    iniPath_ = std::move(name);
}

void TMRUEx::AddItem(const std::string& section, const std::string& value)
{
    if (iniPath_.empty() || section.empty() || value.empty()) {
        return;
    }
    platform::IniFile ini(iniPath_);
    std::vector<std::string> keys = ini.ReadSection(section);
    if (keys.empty()) {
        ini.WriteString(section, "0", value);
        return;
    }
    std::vector<std::string> list = ReadValues(ini, section, keys);
    if (list.front() == value) {
        return;
    }
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == value) {
            list.erase(it);
            break;
        }
    }
    list.insert(list.begin(), value);
    for (size_t i = 0; i < list.size(); ++i) {
        ini.WriteString(section, std::to_string(i), list[i]);
    }
}

void TMRUEx::AppendItem(const std::string& value, std::string& key)
{
    // A nameless section would be written as a header "[]" that no one reads back.
    if (iniPath_.empty() || section_.empty()) {
        return;
    }
    platform::IniFile ini(iniPath_);
    std::vector<std::string> keys = ini.ReadSection(section_);
    key = std::to_string(keys.size());
    if (value.empty()) {
        return;
    }
    for (const std::string& existing : ReadValues(ini, section_, keys)) {
        if (existing == value) {
            return;
        }
    }
    ini.WriteString(section_, key, value);
}

void TMRUEx::AppendItems(const std::vector<std::string>& values, size_t limit)
{
    if (iniPath_.empty() || section_.empty()) {
        return;
    }
    platform::IniFile ini(iniPath_);
    std::vector<std::string> keys = ini.ReadSection(section_);
    std::vector<std::string> list = ReadValues(ini, section_, keys);
    std::unordered_set<std::string> stored(list.begin(), list.end());
    size_t kept = list.size();
    for (const std::string& value : values) {
        if (!value.empty() && stored.insert(value).second) {
            list.push_back(value);
        }
    }
    if (list.size() <= limit) {
        for (size_t i = kept; i < list.size(); ++i) {
            ini.WriteString(section_, std::to_string(i), list[i]);
        }
        return;
    }
    for (const std::string& key : keys) {
        ini.DeleteKey(section_, key);
    }
    size_t first = list.size() - limit;
    for (size_t i = first; i < list.size(); ++i) {
        ini.WriteString(section_, std::to_string(i - first), list[i]);
    }
}

void TMRUEx::ReadItems(tk::Strings& list)
{
    ReadItems(list, section_);
}

void TMRUEx::ReadItems(tk::Strings& list, const std::string& section)
{
    if (iniPath_.empty() || section.empty()) {
        return;
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    for (const std::string& value : ReadValues(*ini, section, ini->ReadSection(section))) {
        list.Add(value);
    }
}

std::string TMRUEx::ReadItem(int index)
{
    if (iniPath_.empty()) {
        return {};
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    return ini->ReadString(section_, std::to_string(index), "");
}

int TMRUEx::Count()
{
    if (iniPath_.empty()) {
        return 0;
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    return static_cast<int>(ini->ReadSection(section_).size());
}

int TMRUEx::IndexOf(const std::string& value)
{
    if (iniPath_.empty()) {
        return -1;
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    std::vector<std::string> values = ReadValues(*ini, section_, ini->ReadSection(section_));
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TMRUEx::WriteItems(const tk::Strings& list)
{
    if (iniPath_.empty() || section_.empty() || list.Empty()) {
        return;
    }
    platform::IniFile ini(iniPath_);
    for (int i = 0; i < list.Count(); ++i) {
        ini.WriteString(section_, std::to_string(i), std::string(list[i]));
    }
}

void TMRUEx::ReadSections(tk::Strings& list)
{
    if (iniPath_.empty()) {
        return;
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    for (const std::string& section : ini->ReadSections()) {
        list.Add(section);
    }
}

std::string TMRUEx::ReadValue(const std::string& ident)
{
    if (iniPath_.empty() || section_.empty()) {
        return {};
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    return ini->ReadString(section_, ident, "");
}

int TMRUEx::ReadNumber(const std::string& ident, int defaultValue)
{
    if (iniPath_.empty() || section_.empty()) {
        return defaultValue;
    }
    auto ini = platform::IniFile::ReadOnly(iniPath_);
    return ini->ReadInteger(section_, ident, defaultValue);
}

void TMRUEx::WriteValue(const std::string& ident, const std::string& value)
{
    if (iniPath_.empty() || section_.empty() || ident.empty()) {
        return;
    }
    platform::IniFile ini(iniPath_);
    ini.WriteString(section_, ident, value);
}

}  // namespace quorlin
