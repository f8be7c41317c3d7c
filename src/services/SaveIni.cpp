#include "services/SaveIni.h"

#include "platform/FilePath.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

namespace {

// Single-line edit boxes only: a memo is a CustomEdit too, but not an Edit.
tk::Edit* AsEditBox(tk::Component* component)
{
    return dynamic_cast<tk::Edit*>(component);
}

}  // namespace

TSaveIni::TSaveIni(tk::Component* owner) : tk::Component(owner)
{
}

void TSaveIni::SetIniName(std::string name)
{
    if (!name.empty() && platform::ExtractFilePath(name).empty()) {
        name = platform::HostFolder() + name;
    }
    iniName_ = std::move(name);
}

void TSaveIni::Loaded()
{
    tk::Component::Loaded();
    if (section_.empty() && Owner()) {
        section_ = Owner()->Name();
    }
}

bool TSaveIni::Save()
{
    tk::Component* owner = Owner();
    if (!owner || iniName_.empty() || section_.empty()) {
        return true;
    }
    platform::IniFile ini(iniName_);
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        tk::Edit* edit = AsEditBox(owner->Components(i));
        if (!edit) {
            continue;
        }
        std::string name = edit->Name();
        std::string value = edit->Text();
        bool accept = true;
        if (BeforeSave) {
            BeforeSave(name, value, accept);
        }
        if (accept && !name.empty()) {
            ini.WriteExactString(section_, name, value);
        }
    }
    return true;
}

bool TSaveIni::Load()
{
    tk::Component* owner = Owner();
    if (!owner || iniName_.empty() || section_.empty()) {
        return true;
    }
    auto ini = platform::IniFile::ReadOnly(iniName_);
    for (const std::string& key : ini->ReadSection(section_)) {
        tk::Edit* edit = AsEditBox(owner->FindComponent(key));
        if (!edit) {
            continue;
        }
        std::string name = edit->Name();
        std::string value = ini->ReadString(section_, key, "");
        bool accept = true;
        if (BeforeLoad) {
            BeforeLoad(name, value, accept);
        }
        if (accept) {
            edit->SetText(value);
        }
    }
    return true;
}

}  // namespace quorlin
