#pragma once
// The dialog that edits the file a task node is linked to.

#include <string>

#include "controls/PanelEx.h"
#include "services/WinSave.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TDetailLocationForm : public tk::Form {
public:
    explicit TDetailLocationForm(tk::Component* owner);

    tk::Label* Label1;
    tk::Edit* Edit2;
    tk::Label* Label2;
    tk::Edit* Edit1;
    tk::Button* Button1;
    TPanelEx* PanelEx2;
    TPanelEx* PanelEx1;
    tk::OpenDialog* OpenDialog1;
    TWinSave* WinSave1;

    // The link the dialog returns: the edited one after accepting, the one it was given otherwise.
    std::string LinkFileName;

    // Shows the node's name and link and runs the dialog.
    void EditLink(const std::string& nodeName, const std::string& link);

    void Button1Click(tk::Component* sender);
    void PanelEx2Click(tk::Component* sender);
    void PanelEx1Click(tk::Component* sender);
    void Edit2KeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);
    void Edit1KeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);

private:
    void Accept();
    void Cancel();
    // F5 accepts and Esc cancels in both edit boxes; true when the key was one of them.
    bool CommonKey(uint16_t key);
};

}  // namespace quorlin
