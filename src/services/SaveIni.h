#pragma once
// Stores and restores the texts of its window's single-line edit boxes in an ini file, one key per
// box named after it; a text comes back as it was typed, blanks and quotes included.

#include <functional>
#include <string>

#include "toolkit/Component.h"

namespace quorlin {

// Called for each box before its text is saved or loaded; may change the key name or the value,
// or refuse by clearing accept.
using TBeforeSave = std::function<void(std::string& name, std::string& value, bool& accept)>;

class TSaveIni : public tk::Component {
public:
    explicit TSaveIni(tk::Component* owner);

    const std::string& IniName() const { return iniName_; }
    // A non-empty name without folder part is taken from the host folder.
    void SetIniName(std::string name);
    // The owner's Name unless set otherwise.
    const std::string& Section() const { return section_; }
    void SetSection(std::string section) { section_ = std::move(section); }

    bool Save();
    bool Load();

    void Loaded() override;

    TBeforeSave BeforeSave;
    TBeforeSave BeforeLoad;

private:
    std::string iniName_;
    std::string section_;
};

}  // namespace quorlin
