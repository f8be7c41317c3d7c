#include "formtools/NameChangeFormUnit.h"

#include <memory>

#include "formtools/RyFormUnit.h"
#include "host/Globals.h"
#include "platform/Cp932.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

TNameChangeForm::TNameChangeForm(tk::Component* owner) : TBaseExpForm(owner)
{
    SetName("NameChangeForm");
    SetCaption("Nameプロパティ設定");
    SetBounds(208, 223, 364, 458);

    Label1 = new tk::Label(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("コンポーネント一覧");
    Label1->SetBounds(32, 8, 120, 15);

    Label2 = new tk::Label(this);
    Label2->SetName("Label2");
    Label2->SetParent(this);
    Label2->SetCaption("プロパティ一覧");
    Label2->SetBounds(192, 8, 105, 15);

    CompoListBox = new tk::ListBox(this);
    CompoListBox->SetName("CompoListBox");
    CompoListBox->SetParent(this);
    CompoListBox->SetBounds(16, 26, 153, 349);
    CompoListBox->SetTabOrder(0);
    CompoListBox->SetTabStop(true);
    CompoListBox->OnClick = [this](tk::Component* sender) { CompoListBoxClick(sender); };

    PropNameEdit = new tk::Edit(this);
    PropNameEdit->SetName("PropNameEdit");
    PropNameEdit->SetParent(this);
    PropNameEdit->SetBounds(184, 26, 153, 23);
    PropNameEdit->SetTabOrder(4);
    PropNameEdit->SetTabStop(true);

    PropListBox = new tk::ListBox(this);
    PropListBox->SetName("PropListBox");
    PropListBox->SetParent(this);
    PropListBox->SetBounds(184, 50, 153, 324);
    PropListBox->SetTabOrder(1);
    PropListBox->SetTabStop(true);
    PropListBox->OnClick = [this](tk::Component* sender) { PropListBoxClick(sender); };

    Button1 = new tk::Button(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetCaption("設定");
    Button1->SetBounds(32, 384, 81, 36);
    Button1->SetTabOrder(3);
    Button1->SetTabStop(true);
    Button1->OnClick = [this](tk::Component* sender) { Button1Click(sender); };

    PanelEx2 = new tk::Button(this);
    PanelEx2->SetName("PanelEx2");
    PanelEx2->SetParent(this);
    PanelEx2->SetCaption("OK");
    PanelEx2->SetBounds(256, 387, 81, 36);
    PanelEx2->ModalResult = tk::mrOk;
    PanelEx2->SetTabOrder(2);
    PanelEx2->SetTabStop(true);

    FinishCreate();
}

void TNameChangeForm::ShowProperties()
{
    for (int k = 0; k < PropNames.Count() && k < PropTypes.Count(); ++k)
        PropListBox->Items().Add(std::string(PropNames[k]).append(" :").append(PropTypes[k]));
}

void TNameChangeForm::CompoListBoxClick(tk::Component*)
{
    int index = CompoListBox->ItemIndex();
    if (index < 0 || !FormInterface)
        return;
    CompInterface.Reset();
    CompInterface.Reset(FormInterface->FindComponent(std::string(CompoListBox->Items()[index])));
    if (!CompInterface) {
        tk::ShowMessage("Component not Found");
        return;
    }
    CompInterface->Focus();
    BringToFront();
}

void TNameChangeForm::PropListBoxClick(tk::Component*)
{
    int index = PropListBox->ItemIndex();
    if (index >= 0)
        PropNameEdit->SetText(platform::Trim(PropListBox->Items()[index]));
}

void TNameChangeForm::Button1Click(tk::Component*)
{
    std::string newName = PropNameEdit->Text();
    if (newName.empty() || !CompInterface)
        return;
    hostapi::TPropValue value;
    value.Text = newName;
    if (!CompInterface->SetPropByName("Name", value)) {
        tk::ShowMessage("Failed to Rename Component");
        return;
    }
    int index = CompoListBox->ItemIndex();
    if (index >= 0)
        CompoListBox->Items().Set(index, newName);
}

void TCodeForm::ChaneNameMenuItemClick(tk::Component*)
{
    if (!CodeForm)
        return;
    TRyFormInt formInt;
    hostapi::HostRef<hostapi::TIFormInterface> form = formInt.OpenFormInterface();
    if (!form)
        return;
    auto nameForm = std::make_unique<TNameChangeForm>(this);
    hostapi::HostRef<hostapi::TIComponentInterface> formComponent(form->GetFormComponent());
    if (formComponent) {
        for (int i = 0; i < formComponent->GetComponentCount(); ++i) {
            hostapi::HostRef<hostapi::TIComponentInterface> component(formComponent->GetComponent(i));
            hostapi::TPropValue name;
            if (component && component->GetPropValueByName("Name", name))
                nameForm->CompoListBox->Items().Add(name.Text);
        }
    }
    ListSelectedProperties(nameForm->PropTypes, nameForm->PropNames);
    nameForm->FormInterface = form.Get();
    nameForm->ShowProperties();
    nameForm->ShowModal();
    // The form's component first, then the window with the component it chose, then the form.
    formComponent.Reset();
    nameForm.reset();
}

}  // namespace quorlin
