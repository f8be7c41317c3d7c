#pragma once
// The program's icon in the desktop's notification area, with a tip; clicks on it raise OnClick
// (left or right button down) and OnDblClick (left double click). The icon is shown from the
// owner's creation until the component goes.

#include <cstdint>
#include <string>

#include "platform/TrayArea.h"
#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace quorlin {

class TTrayFace : public tk::Component, private platform::TrayWindow {
public:
    explicit TTrayFace(tk::Component* owner);
    ~TTrayFace() override;

    const std::string& Tips() const { return tips_; }
    void SetTips(std::string tips) { tips_ = std::move(tips); }
    intptr_t ICON() const { return icon_; }
    // Once the icon is shown, the area hears of the change with the tip only.
    void SetICON(intptr_t icon);
    tk::MouseEvent OnClick;
    tk::MouseEvent OnDblClick;

    void Loaded() override;
    // The record given to the notification area.
    const platform::NotifyIconData& IconData() const { return data_; }

private:
    void TrayMessage(uint32_t message, uint32_t iconId, uint32_t mouseAction) override;

    std::string tips_;
    intptr_t icon_ = platform::ApplicationIcon;
    platform::NotifyIconData data_;
    bool shown_ = false;
};

}  // namespace quorlin
