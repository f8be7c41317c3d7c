#include "codegen/MethodFormUnit.h"

#include "codegen/MethodSource.h"
#include "controls/ComboBoxEx.h"
#include "controls/RyCtrlGrid.h"
#include "services/MruEx.h"
#include "services/WinSave.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

TMRUEx* NewMru(tk::Component* owner, const char* name, const char* iniName, const char* section)
{
    auto* mru = new TMRUEx(owner);
    mru->SetName(name);
    mru->SetIniName(iniName);
    mru->SetSection(section);
    return mru;
}

tk::Button* NewButton(tk::Form* form, const char* name, const char* caption, int left, int top)
{
    auto* button = new tk::Button(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetCaption(caption);
    button->SetBounds(left, top, 75, 25);
    return button;
}

}  // namespace

TMethodForm::TMethodForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("MethodForm");
    SetCaption("MethodForm");
    SetBorderIcons(tk::biSystemMenu);
    SetBounds(150, 140, 913, 462);

    ClassNameList = new TComboBoxEx(this);
    ClassNameList->SetName("ClassNameList");
    ClassNameList->SetParent(this);
    ClassNameList->SetBounds(8, 24, 233, 21);
    ClassNameLabel = new tk::Label(this);
    ClassNameLabel->SetName("ClassNameLabel");
    ClassNameLabel->SetParent(this);
    ClassNameLabel->SetCaption("クラス名");
    ClassNameLabel->SetBounds(8, 8, 120, 13);
    ClassNameLabel->FocusControl = ClassNameList;

    MethodGrid = new TRyCtrlGrid(this);
    MethodGrid->SetName("MethodGrid");
    MethodGrid->SetParent(this);
    MethodGrid->SetBounds(8, 53, 889, 327);
    MethodGrid->SetColumns(MethodColumns());
    MethodGrid->SetDataRowCount(4);

    OpenButton = NewButton(this, "OpenButton", "開く", 8, 392);
    SaveButton = NewButton(this, "SaveButton", "保存", 89, 392);
    InsertToUnitButton = NewButton(this, "InsertToUnitButton", "OK", 741, 392);
    InsertToUnitButton->ModalResult = tk::mrOk;
    InsertToUnitButton->Default = true;
    CancelButton = NewButton(this, "CancelButton", "キャンセル", 822, 392);
    CancelButton->ModalResult = tk::mrCancel;
    CancelButton->Cancel = true;
    int order = 0;
    for (tk::Control* control : std::initializer_list<tk::Control*>{
             ClassNameList, MethodGrid, OpenButton, SaveButton, InsertToUnitButton, CancelButton}) {
        control->SetTabOrder(order++);
        control->SetTabStop(true);
    }

    ClassIni = NewMru(this, "ClassIni", "Class.ini", "class");
    MethodNameMRU = NewMru(this, "MethodNameMRU", "Quorlin.Dat", "MethodName");
    ParamMRU = NewMru(this, "ParamMRU", "Quorlin.Dat", "Parameter");
    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");
    OpenDialog1 = new tk::OpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    SaveDialog1 = new tk::SaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    for (tk::FileDialog* dialog : {static_cast<tk::FileDialog*>(OpenDialog1), static_cast<tk::FileDialog*>(SaveDialog1)}) {
        dialog->Filter = "メソッド定義(*.met)|*.met";
        dialog->DefaultExt = "met";
    }

    OnCreate = [this](tk::Component* sender) { FormCreate(sender); };
    OpenButton->OnClick = [this](tk::Component* sender) { OpenButtonClick(sender); };
    SaveButton->OnClick = [this](tk::Component* sender) { SaveButtonClick(sender); };
    InsertToUnitButton->OnClick = [this](tk::Component* sender) { InsertToUnitButtonClick(sender); };
    SetActiveControl(ClassNameList);
    FinishCreate();
}

void TMethodForm::FormCreate(tk::Component*)
{
    ClassIni->ReadItems(ClassNameList->Items());
}

void TMethodForm::OpenButtonClick(tk::Component*)
{
    if (OpenDialog1->Execute())
        MethodGrid->LoadFromFile(OpenDialog1->FileName);
}

void TMethodForm::SaveButtonClick(tk::Component*)
{
    if (SaveDialog1->Execute() && !MethodGrid->SaveToFile(SaveDialog1->FileName))
        tk::ShowMessage(SaveDialog1->FileName + " に書き込めません。");
}

void TMethodForm::InsertToUnitButtonClick(tk::Component*)
{
    std::vector<std::string> names;
    std::vector<std::string> parameters;
    for (int row = 0; row < MethodGrid->DataRowCount(); ++row) {
        names.push_back(MethodGrid->FieldText("FunctionName", row));
        parameters.push_back(MethodGrid->FieldText("Parameter", row));
    }
    MethodNameMRU->AppendItems(names, HistoryLimit);
    ParamMRU->AppendItems(parameters, HistoryLimit);
}

}  // namespace quorlin
