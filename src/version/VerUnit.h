#pragma once
// The version window: a project's version record (program name, version, author, dates, three
// comments) typed in by the programmer and kept in "Version.ini" in a section named after the
// project file.

#include <array>
#include <string>

#include "controls/AEdit.h"
#include "controls/BitBtnEx.h"
#include "services/SaveIni.h"
#include "services/WinSave.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TVerForm : public tk::Form {
public:
    explicit TVerForm(tk::Component* owner);

    tk::Label* ProjectName;
    // The record's fields, in the order of the record (and of the file).
    TAEdit* ProgramName;
    TAEdit* Version;
    TAEdit* FirstMaker;
    TAEdit* FirstMakeDate;
    TAEdit* Modifier;
    TAEdit* ModifyDate;
    TAEdit* Coment1;
    TAEdit* Coment2;
    TAEdit* Coment3;
    tk::Panel* FocusPanel;
    TBitBtnEx* ClosePanel;
    TBitBtnEx* BitBtnEx1;
    TSaveIni* SaveIni1;
    TWinSave* WinSave1;

    const std::array<TAEdit*, 9>& Fields() const { return fields_; }

    // Loads the record of the project and shows the window modally.
    void EditProjectVersion(const std::string& projectFileName);

    void ClosePanelClick(tk::Component* sender);
    void EscapePanelClick(tk::Component* sender);
    void ProgramNameKeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);
    void ModifyDateEnter(tk::Component* sender);

private:
    std::array<TAEdit*, 9> fields_{};
};

}  // namespace quorlin
