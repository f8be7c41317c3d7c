#pragma once
// The modal choice of how the property list writes its lines: names alone, or names with their
// type words.

#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TPropertyListForm : public tk::Form {
public:
    explicit TPropertyListForm(tk::Component* owner);

    tk::Panel* Panel1;
    tk::RadioButton* RadioName;
    tk::RadioButton* RadioType;
    tk::Button* PanelEx2;
};

}  // namespace quorlin
