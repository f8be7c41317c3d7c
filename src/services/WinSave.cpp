#include "services/WinSave.h"

#include "platform/FilePath.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace quorlin {

TWinSave::TWinSave(tk::Component* owner)
    : tk::Component(owner), form_(dynamic_cast<tk::Form*>(owner))
{
}

TWinSave::~TWinSave()
{
    if (hooked_ && form_) {
        form_->OnShow = std::move(previousShow_);
        form_->OnClose = std::move(previousClose_);
    }
}

void TWinSave::Loaded()
{
    tk::Component::Loaded();
    fileName_ = platform::ExtractFilePath(iniName_).empty() ? platform::HostFolder() + iniName_
                                                            : iniName_;
    if (!form_ || !auto_ || hooked_) {
        return;
    }
    previousShow_ = form_->OnShow;
    previousClose_ = form_->OnClose;
    form_->OnShow = [this](tk::Component* sender) { FormShow(sender); };
    form_->OnClose = [this](tk::Component* sender, tk::CloseAction& action) {
        FormClose(sender, action);
    };
    hooked_ = true;
}

std::string TWinSave::Section() const
{
    std::string title = tk::Application::Instance().Title();
    return platform::HostExeName() + platform::ExtractFileName(title) + (form_ ? form_->Name() : std::string());
}

void TWinSave::FormShow(tk::Component* sender)
{
    if (previousShow_) {
        previousShow_(sender);
    }
    int left = form_->Left();
    int top = form_->Top();
    int width = form_->Width();
    int height = form_->Height();
    if (enabled_) {
        auto ini = platform::IniFile::ReadOnly(fileName_);
        std::string section = Section();
        left = ini->ReadInteger(section, "Left", left);
        top = ini->ReadInteger(section, "Top", top);
        width = ini->ReadInteger(section, "Width", width);
        height = ini->ReadInteger(section, "Height", height);
    }
    tk::Rect screen = tk::Application::Instance().GetDesktop().ScreenRect();
    if (top + height > screen.Height) {
        top = screen.Height - height;
    }
    if (left + width > screen.Width) {
        left = screen.Width - width;
    }
    form_->SetBounds(left, top, width, height);
}

void TWinSave::FormClose(tk::Component* sender, tk::CloseAction& action)
{
    tk::Rect normal = form_->NormalBounds();
    {
        platform::IniFile ini(fileName_);
        std::string section = Section();
        ini.WriteInteger(section, "Left", normal.Left);
        ini.WriteInteger(section, "Top", normal.Top);
        ini.WriteInteger(section, "Width", normal.Width);
        ini.WriteInteger(section, "Height", normal.Height);
    }
    if (previousClose_) {
        previousClose_(sender, action);
    }
}

}  // namespace quorlin
