#pragma once
// The modal window that asks for the separator between the two sides of the assignments to swap.

#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TExchangeForm : public tk::Form {
public:
    explicit TExchangeForm(tk::Component* owner);

    tk::Label* Label2;
    tk::Label* LeftPrefixLabel;
    tk::Edit* LeftPrefixEdit;
    tk::Label* SeparatorLabel;
    tk::Edit* SeparatorEdit;
    tk::Label* RightPrefixLabel;
    tk::Edit* RightPrefixEdit;
    tk::Button* ClosePanel;
    tk::Button* BitBtnEx1;
};

}  // namespace quorlin
