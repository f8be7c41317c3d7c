#include "formtools/UnitSelectFormUnit.h"

namespace quorlin {

TUnitSelectForm::TUnitSelectForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("UnitSelectForm");
    SetCaption("ユニット選択");
    SetBorderIcons(tk::biSystemMenu);
    SetBounds(250, 180, 420, 360);

    Label1 = new tk::Label(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("ユニット一覧");
    Label1->SetBounds(8, 8, 120, 13);

    UnitListBox = new tk::ListBox(this);
    UnitListBox->SetName("UnitListBox");
    UnitListBox->SetParent(this);
    UnitListBox->SetBounds(8, 24, 396, 260);
    UnitListBox->SetMultiSelect(true);
    UnitListBox->SetTabOrder(0);
    UnitListBox->SetTabStop(true);
    Label1->FocusControl = UnitListBox;

    OKButton = new tk::Button(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetCaption("OK");
    OKButton->SetBounds(240, 296, 75, 25);
    OKButton->ModalResult = tk::mrOk;
    OKButton->Default = true;
    OKButton->SetTabOrder(1);
    OKButton->SetTabStop(true);

    CancelButton = new tk::Button(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetParent(this);
    CancelButton->SetCaption("キャンセル");
    CancelButton->SetBounds(328, 296, 75, 25);
    CancelButton->ModalResult = tk::mrCancel;
    CancelButton->Cancel = true;
    CancelButton->SetTabOrder(2);
    CancelButton->SetTabStop(true);

    FinishCreate();
}

}  // namespace quorlin
