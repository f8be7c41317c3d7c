#include "codegen/MakeClassUnit.h"

#include "codegen/ClassSource.h"
#include "controls/ComboBoxEx.h"
#include "controls/RyCtrlGrid.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "services/MruEx.h"
#include "services/WinSave.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

template <class T>
T* Place(tk::Form* form, tk::Control* parent, const char* name, int left, int top, int width, int height)
{
    T* control = new T(form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

tk::Label* PlaceLabel(tk::Form* form, tk::Control* parent, const char* name, const char* caption, int left,
                      int top, tk::Control* focusControl)
{
    tk::Label* label = Place<tk::Label>(form, parent, name, left, top, 120, 13);
    label->SetCaption(caption);
    label->FocusControl = focusControl;
    return label;
}

}  // namespace

TMakeClassForm::TMakeClassForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("MakeClassForm");
    SetCaption("クラス定義挿入");
    SetBorderIcons(tk::biSystemMenu);
    SetBounds(180, 100, 752, 553);

    PageControl1 = Place<tk::PageControl>(this, this, "PageControl1", 0, 0, 0, 0);
    PageControl1->SetAlign(tk::Align::Client);
    CreatePropertyPage();
    CreateOptionPage();
    PageControl1->SetActivePage(PropertySheet);

    ClassIni = new TMRUEx(this);
    ClassIni->SetName("ClassIni");
    ClassIni->SetIniName("Class.ini");
    ClassIni->SetSection("class");
    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");

    SaveDialog = new tk::SaveDialog(this);
    SaveDialog->SetName("SaveDialog");
    SaveDialog->Filter = "Pascal Unit(*.pas)|*.pas";
    SaveDialog->DefaultExt = "*.pas";
    OpenDialog1 = new tk::OpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    SaveDialog1 = new tk::SaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    for (tk::FileDialog* dialog : {static_cast<tk::FileDialog*>(OpenDialog1), static_cast<tk::FileDialog*>(SaveDialog1)}) {
        dialog->Filter = "プロパティ定義(*.prp)|*.prp";
        dialog->DefaultExt = "prp";
    }

    OnCreate = [this](tk::Component* sender) { FormCreate(sender); };
    OnDestroy = [this](tk::Component* sender) { FormDestroy(sender); };
    OpenButton->OnClick = [this](tk::Component* sender) { OpenButtonClick(sender); };
    SaveButton->OnClick = [this](tk::Component* sender) { SaveButtonClick(sender); };
    InsertToUnitButton->OnClick = [this](tk::Component* sender) { InsertToFileButtonClick(sender); };
    SetActiveControl(ClassName);
    FinishCreate();
}

TMakeClassForm::~TMakeClassForm()
{
    RaiseDestroy();
}

void TMakeClassForm::CreatePropertyPage()
{
    PropertySheet = new tk::TabSheet(this);
    PropertySheet->SetName("PropertySheet");
    PropertySheet->SetCaption("プロパティ");
    PropertySheet->SetPageControl(PageControl1);

    ClassName = Place<TComboBoxEx>(this, PropertySheet, "ClassName", 8, 24, 209, 21);
    ClassNameLabel = PlaceLabel(this, PropertySheet, "ClassNameLabel", "クラス名", 8, 8, ClassName);
    InheritFrom = Place<TComboBoxEx>(this, PropertySheet, "InheritFrom", 225, 24, 209, 21);
    InheritFromLabel = PlaceLabel(this, PropertySheet, "InheritFromLabel", "上位クラス", 225, 8, InheritFrom);
    UnitMemo = Place<tk::Memo>(this, PropertySheet, "UnitMemo", 442, 24, 285, 57);
    UnitMemo->SetScrollBars(tk::ScrollStyle::Vertical);
    UnitMemoLabel = PlaceLabel(this, PropertySheet, "UnitMemoLabel", "ユニットコメント", 442, 8, UnitMemo);

    PropGrid = Place<TRyCtrlGrid>(this, PropertySheet, "PropGrid", 8, 89, 719, 352);
    PropGrid->SetColumns(PropertyColumns());

    OpenButton = Place<tk::Button>(this, PropertySheet, "OpenButton", 8, 451, 65, 25);
    OpenButton->SetCaption("開く");
    SaveButton = Place<tk::Button>(this, PropertySheet, "SaveButton", 79, 451, 65, 25);
    SaveButton->SetCaption("保存");
    unitCheckBox = Place<tk::CheckBox>(this, PropertySheet, "unitCheckBox", 156, 455, 185, 17);
    unitCheckBox->SetCaption("ユニットファイルを作成する");
    ComentCheck = Place<tk::CheckBox>(this, PropertySheet, "ComentCheck", 347, 455, 113, 17);
    ComentCheck->SetCaption("コメントをつける");
    ComentCombo = Place<tk::ComboBox>(this, PropertySheet, "ComentCombo", 463, 453, 77, 21);
    ComentCombo->SetStyle(tk::ComboStyle::DropDownList);
    ComentCombo->Items().Assign({"//", "(* *)", "{  }"});

    InsertToUnitButton = Place<tk::Button>(this, PropertySheet, "InsertToUnitButton", 571, 451, 75, 25);
    InsertToUnitButton->SetCaption("OK");
    InsertToUnitButton->ModalResult = tk::mrOk;
    InsertToUnitButton->Default = true;
    CancelButton = Place<tk::Button>(this, PropertySheet, "CancelButton", 652, 451, 75, 25);
    CancelButton->SetCaption("キャンセル");
    CancelButton->ModalResult = tk::mrCancel;
    CancelButton->Cancel = true;

    int order = 0;
    for (tk::Control* control : std::initializer_list<tk::Control*>{
             ClassName, InheritFrom, UnitMemo, PropGrid, OpenButton, SaveButton, unitCheckBox, ComentCheck,
             ComentCombo, InsertToUnitButton, CancelButton}) {
        control->SetTabOrder(order++);
        control->SetTabStop(true);
    }
}

void TMakeClassForm::CreateOptionPage()
{
    OptionSheet = new tk::TabSheet(this);
    OptionSheet->SetName("OptionSheet");
    OptionSheet->SetCaption("オプション");
    OptionSheet->SetPageControl(PageControl1);

    MethodCheckList = Place<tk::CheckListBox>(this, OptionSheet, "MethodCheckList", 8, 24, 209, 97);
    MethodCheckList->Items().Assign({"SaveToFile", "SaveToStream", "LoadFromFile", "LoadFromStream"});
    MethodCheckList->SetTabStop(true);
    MethodsLabel = PlaceLabel(this, OptionSheet, "MethodsLabel", "追加メソッド", 8, 8, MethodCheckList);
}

ClassDescription TMakeClassForm::Description() const
{
    return {ClassName->Text(), InheritFrom->Text(), ComentCheck->Checked(), ComentCombo->ItemIndex()};
}

void TMakeClassForm::FormCreate(tk::Component*)
{
    ComentCombo->SetItemIndex(0);
    unitFileName_.clear();
    ClassIni->ReadItems(ClassName->Items());
    ClassIni->ReadItems(InheritFrom->Items());
}

void TMakeClassForm::FormDestroy(tk::Component*)
{
    for (TComboBoxEx* box : {ClassName, InheritFrom}) {
        std::string key;
        ClassIni->AppendItem(box->Text(), key);
    }
}

void TMakeClassForm::OpenButtonClick(tk::Component*)
{
    if (OpenDialog1->Execute())
        PropGrid->LoadFromFile(OpenDialog1->FileName);
}

void TMakeClassForm::SaveButtonClick(tk::Component*)
{
    if (SaveDialog1->Execute() && !PropGrid->SaveToFile(SaveDialog1->FileName))
        tk::ShowMessage(SaveDialog1->FileName + " に書き込めません。");
}

void TMakeClassForm::InsertToFileButtonClick(tk::Component*)
{
    if (!unitCheckBox->Checked())
        return;
    SaveDialog->FileName = ClassName->Text() + ".pas";
    if (!SaveDialog->Execute())
        return;
    std::string fileName = SaveDialog->FileName;
    std::string unitName = platform::ChangeFileExt(platform::ExtractFileName(fileName), "");
    std::string error = platform::WriteCrLfLines(
        fileName, ClassUnitLines(unitName, *PropGrid, Description(), UnitMemo->Lines().Items()));
    if (!error.empty()) {
        tk::ShowMessage(error);
        return;
    }
    unitFileName_ = fileName;
}

}  // namespace quorlin
