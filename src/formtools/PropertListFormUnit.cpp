#include "formtools/PropertListFormUnit.h"

#include <memory>

#include "controls/MemoEx.h"
#include "formtools/BaseExpFormUnit.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

TPropertyListForm::TPropertyListForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("PropertyListForm");
    SetCaption("プロパティリスト");
    SetBounds(200, 111, 283, 100);
    SetFormToolsFont(*this);

    Panel1 = new tk::Panel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(8, 8, 169, 55);
    Panel1->BevelOuter = tk::Bevel::Lowered;

    RadioName = new tk::RadioButton(this);
    RadioName->SetName("RadioName");
    RadioName->SetParent(Panel1);
    RadioName->SetCaption("プロパティ名のみ");
    RadioName->SetBounds(8, 8, 150, 17);
    RadioName->SetChecked(true);
    RadioName->SetTabStop(true);

    RadioType = new tk::RadioButton(this);
    RadioType->SetName("RadioType");
    RadioType->SetParent(Panel1);
    RadioType->SetCaption("プロパティ名＋型名");
    RadioType->SetBounds(8, 32, 150, 17);

    PanelEx2 = new tk::Button(this);
    PanelEx2->SetName("PanelEx2");
    PanelEx2->SetParent(this);
    PanelEx2->SetCaption("OK");
    PanelEx2->SetBounds(184, 23, 81, 36);
    PanelEx2->ModalResult = tk::mrOk;
    PanelEx2->Default = true;
    PanelEx2->SetTabStop(true);

    FinishCreate();
}

void TCodeForm::PropertyListMenuItemClick(tk::Component*)
{
    if (!CodeForm)
        return;
    tk::Strings propNames;
    tk::Strings propTypes;
    ListSelectedProperties(propTypes, propNames);
    auto choice = std::make_unique<TPropertyListForm>(this);
    // Closed by its close box, the window counts as confirmed all the same.
    choice->ShowModal();
    std::vector<std::string> lines;
    for (int k = 0; k < propNames.Count() && k < propTypes.Count(); ++k)
        lines.push_back(choice->RadioName->Checked() ? std::string(propNames[k])
                                                     : std::string(propNames[k]).append(" :").append(propTypes[k]));
    Memo1->Lines().AddStrings(std::move(lines));
}

}  // namespace quorlin
