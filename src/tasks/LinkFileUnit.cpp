#include "tasks/LinkFileUnit.h"

namespace quorlin {

TDetailLocationForm::TDetailLocationForm(tk::Component* owner) : tk::Form(owner)
{
    using namespace std::placeholders;
    SetName("DetailLocationForm");
    SetCaption("リンク先の設定");
    SetBorderIcons(0);
    SetSizeable(false);
    SetClientSize(226, 162);

    auto makeLabel = [this](const char* name, const char* caption, int top) {
        auto* label = new tk::Label(this);
        label->SetName(name);
        label->SetParent(this);
        label->SetCaption(caption);
        label->SetBounds(8, top, 120, 12);
        return label;
    };
    auto makeEdit = [this](const char* name, int top, int width, int tabOrder) {
        auto* edit = new tk::Edit(this);
        edit->SetName(name);
        edit->SetParent(this);
        edit->SetBounds(8, top, width, 21);
        edit->SetTabOrder(tabOrder);
        return edit;
    };
    Label1 = makeLabel("Label1", "ノード名", 8);
    Edit2 = makeEdit("Edit2", 24, 210, 0);
    Label2 = makeLabel("Label2", "リンク先ファイル", 56);
    Edit1 = makeEdit("Edit1", 72, 184, 1);

    Button1 = new tk::Button(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetCaption("・・・");
    Button1->SetBounds(194, 72, 24, 21);
    Button1->SetTabOrder(2);

    auto makePanel = [this](const char* name, const char* caption, int left) {
        auto* panel = new TPanelEx(this);
        panel->SetName(name);
        panel->SetParent(this);
        panel->SetCaption(caption);
        panel->SetBounds(left, 120, 100, 30);
        return panel;
    };
    PanelEx2 = makePanel("PanelEx2", "閉じる(&C)", 8);
    PanelEx1 = makePanel("PanelEx1", "ｷｬﾝｾﾙ", 118);

    OpenDialog1 = new tk::OpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");

    Button1->OnClick = std::bind(&TDetailLocationForm::Button1Click, this, _1);
    PanelEx2->OnClick = std::bind(&TDetailLocationForm::PanelEx2Click, this, _1);
    PanelEx1->OnClick = std::bind(&TDetailLocationForm::PanelEx1Click, this, _1);
    Edit2->OnKeyDown = std::bind(&TDetailLocationForm::Edit2KeyDown, this, _1, _2, _3);
    Edit1->OnKeyDown = std::bind(&TDetailLocationForm::Edit1KeyDown, this, _1, _2, _3);
    SetActiveControl(Edit1);
    FinishCreate();
}

void TDetailLocationForm::EditLink(const std::string& nodeName, const std::string& link)
{
    Edit2->SetText(nodeName);
    Edit1->SetText(link);
    LinkFileName = link;
    ShowModal();
}

void TDetailLocationForm::Button1Click(tk::Component*)
{
    if (OpenDialog1->Execute())
        Edit1->SetText(OpenDialog1->FileName);
}

void TDetailLocationForm::PanelEx2Click(tk::Component*)
{
    Accept();
}

void TDetailLocationForm::PanelEx1Click(tk::Component*)
{
    Cancel();
}

void TDetailLocationForm::Accept()
{
    LinkFileName = Edit1->Text();
    SetModalResult(tk::mrOk);
}

void TDetailLocationForm::Cancel()
{
    SetModalResult(tk::mrCancel);
}

bool TDetailLocationForm::CommonKey(uint16_t key)
{
    if (key == tk::VK_F5) {
        Accept();
        return true;
    }
    if (key == tk::VK_ESCAPE) {
        Cancel();
        return true;
    }
    return false;
}

void TDetailLocationForm::Edit2KeyDown(tk::Component*, uint16_t& key, tk::ShiftState)
{
    if (CommonKey(key)) {
        key = 0;
    } else if (key == tk::VK_RIGHT && Edit2->SelStart() >= static_cast<int>(Edit2->Text().size()) &&
               Edit2->SelLength() == 0) {
        Edit1->SetFocus();
        key = 0;
    }
}

void TDetailLocationForm::Edit1KeyDown(tk::Component*, uint16_t& key, tk::ShiftState)
{
    if (CommonKey(key)) {
        key = 0;
    } else if (key == tk::VK_LEFT && Edit1->SelStart() == 0 && Edit1->SelLength() == 0) {
        Edit2->SetFocus();
        key = 0;
    }
}

}  // namespace quorlin
