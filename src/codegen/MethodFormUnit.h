#pragma once
// The modal window in which the user lists the methods of a class; on OK the tool window turns the
// table into method headings and empty bodies in its memo.

#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TComboBoxEx;
class TMRUEx;
class TRyCtrlGrid;
class TWinSave;

class TMethodForm : public tk::Form {
public:
    // The method names and parameter lists remembered, the newest last; nothing reads them back,
    // so a short list does.
    static constexpr size_t HistoryLimit = 100;

    explicit TMethodForm(tk::Component* owner);

    tk::Label* ClassNameLabel;
    TComboBoxEx* ClassNameList;
    TRyCtrlGrid* MethodGrid;
    tk::Button* OpenButton;
    tk::Button* SaveButton;
    tk::Button* InsertToUnitButton;
    tk::Button* CancelButton;

    TMRUEx* ClassIni;
    TMRUEx* MethodNameMRU;
    TMRUEx* ParamMRU;
    TWinSave* WinSave1;
    tk::OpenDialog* OpenDialog1;
    tk::SaveDialog* SaveDialog1;

    void FormCreate(tk::Component* sender);
    void OpenButtonClick(tk::Component* sender);
    void SaveButtonClick(tk::Component* sender);
    // Remembers the method names and parameter lists of the table.
    void InsertToUnitButtonClick(tk::Component* sender);
};

}  // namespace quorlin
