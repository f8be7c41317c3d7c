#pragma once
// The about box: the add-in's name, its build as the file version of the add-in library's own
// version resource, and its maker.

#include "services/WinSave.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"
#include "version/VersionInfoCompo.h"

namespace quorlin {

class TVersionForm : public tk::Form {
public:
    explicit TVersionForm(tk::Component* owner);

    tk::Panel* Panel1;
    tk::Label* ProductName;
    tk::Label* BuildLabel;
    tk::Label* MakerLabel;
    tk::Label* ContactLabel;
    tk::Button* OKButton;
    TWinSave* WinSave1;
    TVersionInfoCompo* VersionInfoCompo1;

    void FormCreate(tk::Component* sender);
};

}  // namespace quorlin
