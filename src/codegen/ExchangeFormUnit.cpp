#include "codegen/ExchangeFormUnit.h"

namespace quorlin {

namespace {

tk::Edit* AddLabelledEdit(tk::Form* form, const char* name, const char* labelName, const char* caption, int top,
                          int tabOrder, tk::Label*& label)
{
    label = new tk::Label(form);
    label->SetName(labelName);
    label->SetParent(form);
    label->SetCaption(caption);
    label->SetBounds(16, top + 4, 80, 13);
    auto* edit = new tk::Edit(form);
    edit->SetName(name);
    edit->SetParent(form);
    edit->SetBounds(104, top, 177, 21);
    edit->SetTabOrder(tabOrder);
    label->FocusControl = edit;
    return edit;
}

}  // namespace

TExchangeForm::TExchangeForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("ExchangeForm");
    SetCaption("左辺<=>右辺入替え");
    SetBorderIcons(tk::biSystemMenu);
    SetSizeable(false);
    SetBounds(300, 200, 306, 193);

    Label2 = new tk::Label(this);
    Label2->SetName("Label2");
    Label2->SetParent(this);
    Label2->SetCaption("選択行の文字列の左辺と右辺を入替えます。");
    Label2->SetBounds(8, 8, 282, 13);

    LeftPrefixEdit = AddLabelledEdit(this, "LeftPrefixEdit", "LeftPrefixLabel", "左辺Prefix", 32, 0, LeftPrefixLabel);
    SeparatorEdit = AddLabelledEdit(this, "SeparatorEdit", "SeparatorLabel", "区切り文字列", 60, 1, SeparatorLabel);
    SeparatorEdit->SetText(":=");
    RightPrefixEdit = AddLabelledEdit(this, "RightPrefixEdit", "RightPrefixLabel", "右辺Prefix", 88, 2, RightPrefixLabel);

    ClosePanel = new tk::Button(this);
    ClosePanel->SetName("ClosePanel");
    ClosePanel->SetParent(this);
    ClosePanel->SetCaption("OK");
    ClosePanel->SetBounds(120, 124, 75, 25);
    ClosePanel->ModalResult = tk::mrOk;
    ClosePanel->Default = true;
    ClosePanel->SetTabOrder(3);

    BitBtnEx1 = new tk::Button(this);
    BitBtnEx1->SetName("BitBtnEx1");
    BitBtnEx1->SetParent(this);
    BitBtnEx1->SetCaption("キャンセル");
    BitBtnEx1->SetBounds(206, 124, 75, 25);
    BitBtnEx1->ModalResult = tk::mrCancel;
    BitBtnEx1->Cancel = true;
    BitBtnEx1->SetTabOrder(4);

    FinishCreate();
    SetActiveControl(SeparatorEdit);
}

}  // namespace quorlin
