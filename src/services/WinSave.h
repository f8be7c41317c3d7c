#pragma once
// Remembers where its window was and how large, in an ini file, and puts the window there again
// each time it is shown. The owner must be the window itself.

#include <string>

#include "toolkit/Component.h"
#include "toolkit/Form.h"

namespace quorlin {

class TWinSave : public tk::Component {
public:
    explicit TWinSave(tk::Component* owner);
    ~TWinSave() override;

    const std::string& IniName() const { return iniName_; }
    void SetIniName(std::string name) { iniName_ = std::move(name); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Auto() const { return auto_; }
    void SetAuto(bool value) { auto_ = value; }
    // The resolved file, set once the window is loaded.
    const std::string& FileName() const { return fileName_; }
    // The host's executable name, the application title and the window's name. Made when it is
    // used, not when the window is loaded: the window's creation may set the title after that.
    std::string Section() const;

    void Loaded() override;

private:
    void FormShow(tk::Component* sender);
    void FormClose(tk::Component* sender, tk::CloseAction& action);

    std::string iniName_ = "SysForm.ini";
    bool enabled_ = true;
    bool auto_ = true;
    tk::Form* form_ = nullptr;
    std::string fileName_;
    bool hooked_ = false;
    tk::NotifyEvent previousShow_;
    tk::CloseEvent previousClose_;
};

}  // namespace quorlin
