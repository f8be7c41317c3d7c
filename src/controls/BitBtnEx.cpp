#include "controls/BitBtnEx.h"

#include "toolkit/Form.h"

namespace quorlin {

TBitBtnEx::TBitBtnEx(tk::Component* owner) : tk::Button(owner)
{
}

void TBitBtnEx::SetKind(TBitBtnKind kind)
{
    kind_ = kind;
    ModalResult = kind == TBitBtnKind::bkOK ? tk::mrOk : kind == TBitBtnKind::bkCancel ? tk::mrCancel : tk::mrNone;
    Default = kind == TBitBtnKind::bkOK;
    Cancel = kind == TBitBtnKind::bkCancel;
}

void TBitBtnEx::Click()
{
    tk::Button::Click();
    if (kind_ != TBitBtnKind::bkClose) {
        return;
    }
    tk::Form* form = ParentForm();
    if (form && form->Visible() && form->ModalResult() == tk::mrNone) {
        form->Close();
    }
}

}  // namespace quorlin
