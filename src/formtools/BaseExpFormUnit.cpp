#include "formtools/BaseExpFormUnit.h"

namespace quorlin {

TBaseExpForm::TBaseExpForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("BaseExpForm");
    SetCaption("BaseExpForm");
    SetBounds(381, 300, 578, 397);
    SetFormToolsFont(*this);
}

TBaseExpForm::~TBaseExpForm()
{
    FormDestroy(this);
}

void TBaseExpForm::FormDestroy(tk::Component*)
{
    CompInterface.Reset();
}

void SetFormToolsFont(tk::Form& form)
{
    form.GetFont().Name = "ＭＳ Ｐゴシック";
    form.GetFont().Height = 15;
}

}  // namespace quorlin
