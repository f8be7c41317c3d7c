#include "formtools/SearchCompoFormUnit.h"

#include "formtools/BaseExpFormUnit.h"

namespace quorlin {

TSearchCompoForm::TSearchCompoForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("SearchCompoForm");
    SetCaption("コンポーネント検索");
    SetBounds(200, 110, 238, 160);
    SetFormToolsFont(*this);

    Label1 = new tk::Label(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("検索するクラス名");
    Label1->SetBounds(16, 16, 120, 15);

    ClassNameEdit = new tk::Edit(this);
    ClassNameEdit->SetName("ClassNameEdit");
    ClassNameEdit->SetParent(this);
    ClassNameEdit->SetBounds(16, 40, 193, 23);
    ClassNameEdit->SetTabOrder(0);
    ClassNameEdit->SetTabStop(true);

    // The buttons only close the window with their result.
    PanelEx1 = new tk::Button(this);
    PanelEx1->SetName("PanelEx1");
    PanelEx1->SetParent(this);
    PanelEx1->SetCaption("ｷｬﾝｾﾙ");
    PanelEx1->SetBounds(120, 79, 81, 36);
    PanelEx1->ModalResult = tk::mrCancel;
    PanelEx1->Cancel = true;
    PanelEx1->SetTabOrder(1);
    PanelEx1->SetTabStop(true);

    PanelEx2 = new tk::Button(this);
    PanelEx2->SetName("PanelEx2");
    PanelEx2->SetParent(this);
    PanelEx2->SetCaption("OK");
    PanelEx2->SetBounds(24, 79, 81, 36);
    PanelEx2->ModalResult = tk::mrOk;
    PanelEx2->Default = true;
    PanelEx2->SetTabOrder(2);
    PanelEx2->SetTabStop(true);

    FinishCreate();
}

}  // namespace quorlin
