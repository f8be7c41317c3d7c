#pragma once
// The control library's bitmap button. Its kind gives it a standard role: OK and Cancel close a
// dialog with their result (and answer Enter and Esc in it), Close closes its window after its
// click handler unless that closed it already.

#include "toolkit/StdCtrls.h"

namespace quorlin {

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkClose };

class TBitBtnEx : public tk::Button {
public:
    explicit TBitBtnEx(tk::Component* owner);

    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);

    void Click() override;

private:
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

}  // namespace quorlin
