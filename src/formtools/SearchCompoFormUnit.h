#pragma once
// The modal window that asks for the class name the component search looks for.

#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TSearchCompoForm : public tk::Form {
public:
    explicit TSearchCompoForm(tk::Component* owner);

    tk::Label* Label1;
    tk::Edit* ClassNameEdit;
    tk::Button* PanelEx1;
    tk::Button* PanelEx2;
};

}  // namespace quorlin
