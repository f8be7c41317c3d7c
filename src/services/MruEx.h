#pragma once
// Most-recently-used lists and single values kept in a section of an ini file. Nothing is held in
// memory: every operation opens the file, works and closes it, so components may share a file.

#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Strings.h"

namespace quorlin {

class TMRUEx : public tk::Component {
public:
    explicit TMRUEx(tk::Component* owner);

    const std::string& IniName() const { return iniPath_; }
    // A non-empty name without folder part is taken from the host folder.
    void SetIniName(std::string name);
    const std::string& Section() const { return section_; }
    void SetSection(std::string section) { section_ = std::move(section); }

    // Puts value at the top of the list in section, removing an older copy.
    void AddItem(const std::string& section, const std::string& value);
    // Adds value under the next free key unless the list holds it; key receives the key count.
    void AppendItem(const std::string& value, std::string& key);
    // Appends each non-empty value the list does not hold, in one read and one write of the file;
    // past limit entries the oldest go, and the rest are numbered from "0" again.
    void AppendItems(const std::vector<std::string>& values, size_t limit);
    // Append the entries, in file order, to list (which is not emptied).
    void ReadItems(tk::Strings& list);
    void ReadItems(tk::Strings& list, const std::string& section);
    std::string ReadItem(int index);
    int Count();
    int IndexOf(const std::string& value);
    // Writes the entries under "0", "1", ...; keys past the last entry stay.
    void WriteItems(const tk::Strings& list);
    void ReadSections(tk::Strings& list);
    std::string ReadValue(const std::string& ident);
    int ReadNumber(const std::string& ident, int defaultValue);
    void WriteValue(const std::string& ident, const std::string& value);

private:
    std::string iniPath_;
    std::string section_;
};

}  // namespace quorlin
