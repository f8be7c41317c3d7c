#pragma once
// The desktop's notification area, where a program shows a small icon with a tip; clicks on the
// icon come back to the window named in the icon's record as its notification message. Hosts with
// a desktop install their own area; until then a headless one keeps the icons for anyone to look at.

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace platform {

// Mouse actions on an icon, as a notification carries them.
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;

// Requests and the parts of the record they carry.
enum class TrayRequest { Add, Modify, Delete };
constexpr uint32_t NIF_MESSAGE = 0x1;
constexpr uint32_t NIF_ICON = 0x2;
constexpr uint32_t NIF_TIP = 0x4;

// The icon the host program shows for itself.
constexpr intptr_t ApplicationIcon = 0;

// A window that hears of the clicks on its icons.
class TrayWindow {
public:
    virtual ~TrayWindow() = default;
    virtual void TrayMessage(uint32_t message, uint32_t iconId, uint32_t mouseAction) = 0;
};

struct NotifyIconData {
    uint32_t Size = 88;
    TrayWindow* Window = nullptr;
    uint32_t Id = 0;
    uint32_t Flags = 0;
    uint32_t CallbackMessage = 0;
    intptr_t Icon = ApplicationIcon;
    char Tip[64] = {};
};

// Copies at most 63 bytes of text into the record's tip, never half a two-byte character.
void SetTrayTip(NotifyIconData& data, const std::string& text);

class TrayArea {
public:
    virtual ~TrayArea() = default;
    // False when the area refused the request (or the desktop has none).
    virtual bool Notify(TrayRequest request, const NotifyIconData& data) = 0;
};

// The area of the desktop; a headless one until a host installs its own (nullptr restores it).
TrayArea& GetTrayArea();
void SetTrayArea(TrayArea* area);

// The notification area of a desktop nobody sees: it keeps the icons added and not deleted.
class HeadlessTrayArea : public TrayArea {
public:
    bool Notify(TrayRequest request, const NotifyIconData& data) override;
    // The icons shown, by window and identifier.
    const std::map<std::pair<TrayWindow*, uint32_t>, NotifyIconData>& Icons() const { return icons_; }

private:
    std::map<std::pair<TrayWindow*, uint32_t>, NotifyIconData> icons_;
};

HeadlessTrayArea& DefaultTrayArea();

// The identifier of a registered window message: the same for the same name (letter case ignored)
// for the life of the process, and never one of the system's own messages.
uint32_t RegisterWindowMessage(const std::string& name);

}  // namespace platform
