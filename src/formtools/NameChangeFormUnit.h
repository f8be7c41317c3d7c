#pragma once
// The rename window: the components of the current unit's form by name, and the Name property of
// one of them set through the host's designer.

#include "formtools/BaseExpFormUnit.h"
#include "toolkit/Strings.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TNameChangeForm : public TBaseExpForm {
public:
    explicit TNameChangeForm(tk::Component* owner);

    tk::Label* Label1;
    tk::Label* Label2;
    tk::ListBox* CompoListBox;
    tk::Edit* PropNameEdit;
    tk::ListBox* PropListBox;
    tk::Button* Button1;
    tk::Button* PanelEx2;

    // The properties of the component selected in the designer when the window was opened; entry
    // k of both lists describes one property.
    tk::Strings PropTypes;
    tk::Strings PropNames;

    // One row of PropListBox per property: its name, " :" and its type word.
    void ShowProperties();
    void CompoListBoxClick(tk::Component* sender);
    void PropListBoxClick(tk::Component* sender);
    void Button1Click(tk::Component* sender);
};

}  // namespace quorlin
