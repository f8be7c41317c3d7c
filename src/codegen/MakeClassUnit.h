#pragma once
// The modal window in which the user describes a class: its name, its base class and a table of
// properties. On OK it writes a unit file for the class when asked to; otherwise the tool window
// turns the description into a class definition in its memo.

#include <string>

#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class TComboBoxEx;
class TMRUEx;
class TRyCtrlGrid;
class TWinSave;
struct ClassDescription;

class TMakeClassForm : public tk::Form {
public:
    explicit TMakeClassForm(tk::Component* owner);
    ~TMakeClassForm() override;

    tk::PageControl* PageControl1;
    tk::TabSheet* PropertySheet;
    tk::Label* ClassNameLabel;
    TComboBoxEx* ClassName;
    tk::Label* InheritFromLabel;
    TComboBoxEx* InheritFrom;
    tk::Label* UnitMemoLabel;
    tk::Memo* UnitMemo;
    TRyCtrlGrid* PropGrid;
    tk::Button* OpenButton;
    tk::Button* SaveButton;
    tk::CheckBox* unitCheckBox;
    tk::CheckBox* ComentCheck;
    tk::ComboBox* ComentCombo;
    tk::Button* InsertToUnitButton;
    tk::Button* CancelButton;
    tk::TabSheet* OptionSheet;
    tk::Label* MethodsLabel;
    tk::CheckListBox* MethodCheckList;

    TMRUEx* ClassIni;
    TWinSave* WinSave1;
    tk::SaveDialog* SaveDialog;
    tk::OpenDialog* OpenDialog1;
    tk::SaveDialog* SaveDialog1;

    // The unit file written on OK; empty when none was.
    const std::string& UnitFileName() const { return unitFileName_; }
    // The class as the name boxes and the comment options describe it.
    ClassDescription Description() const;

    void FormCreate(tk::Component* sender);
    void FormDestroy(tk::Component* sender);
    void OpenButtonClick(tk::Component* sender);
    void SaveButtonClick(tk::Component* sender);
    void InsertToFileButtonClick(tk::Component* sender);

private:
    void CreatePropertyPage();
    void CreateOptionPage();

    std::string unitFileName_;
};

}  // namespace quorlin
