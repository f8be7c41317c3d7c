#pragma once
// The control library's one-line edit box: the arrow keys, Enter and Esc hand the focus to its
// neighbours (Left and Right only from the ends of the text).

#include <memory>

#include "controls/NextCtrl.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TAEdit : public tk::Edit {
public:
    explicit TAEdit(tk::Component* owner);
    ~TAEdit() override;

    TXKeyNextControl* NextFocus() const { return nextFocus_.get(); }

protected:
    // The OnKeyDown handler first; a key it leaves may move the focus, and is then used up.
    void KeyDown(uint16_t& key, tk::ShiftState shift) override;

private:
    std::unique_ptr<TXKeyNextControl> nextFocus_;
};

}  // namespace quorlin
