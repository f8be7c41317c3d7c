#pragma once
// The modal window in which the user picks the open units to close.

#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TUnitSelectForm : public tk::Form {
public:
    explicit TUnitSelectForm(tk::Component* owner);

    tk::Label* Label1;
    tk::ListBox* UnitListBox;
    tk::Button* OKButton;
    tk::Button* CancelButton;
};

}  // namespace quorlin
