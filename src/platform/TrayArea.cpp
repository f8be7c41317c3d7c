#include "platform/TrayArea.h"

#include <cstring>

#include "platform/Cp932.h"

namespace platform {

namespace {

TrayArea* installedArea = nullptr;

}  // namespace

void SetTrayTip(NotifyIconData& data, const std::string& text)
{
    size_t size = 0;
    // Cut before a two-byte character that would not fit whole.
    while (size < text.size()) {
        size_t next = size + (IsLeadByte(static_cast<unsigned char>(text[size])) ? 2 : 1);
        if (next > sizeof(data.Tip) - 1 || next > text.size())
            break;
        size = next;
    }
    std::memcpy(data.Tip, text.data(), size);
    data.Tip[size] = '\0';
}

TrayArea& GetTrayArea()
{
    return installedArea ? *installedArea : DefaultTrayArea();
}

void SetTrayArea(TrayArea* area)
{
    installedArea = area;
}

HeadlessTrayArea& DefaultTrayArea()
{
    static HeadlessTrayArea area;
    return area;
}

bool HeadlessTrayArea::Notify(TrayRequest request, const NotifyIconData& data)
{
    auto key = std::make_pair(data.Window, data.Id);
    auto found = icons_.find(key);
    switch (request) {
    case TrayRequest::Add:
        if (found != icons_.end())
            return false;
        icons_[key] = data;
        return true;
    case TrayRequest::Modify:
        if (found == icons_.end())
            return false;
        if (data.Flags & NIF_MESSAGE)
            found->second.CallbackMessage = data.CallbackMessage;
        if (data.Flags & NIF_ICON)
            found->second.Icon = data.Icon;
        if (data.Flags & NIF_TIP)
            std::memcpy(found->second.Tip, data.Tip, sizeof(data.Tip));
        return true;
    case TrayRequest::Delete:
        return icons_.erase(key) != 0;
    }
    return false;
}

uint32_t RegisterWindowMessage(const std::string& name)
{
    static std::map<std::string, uint32_t> registered;
    static uint32_t next = 0xC000;
    std::string key = UpperCase(name);
    auto found = registered.find(key);
    if (found != registered.end())
        return found->second;
    return registered[key] = next++;
}

}  // namespace platform
