#include "version/VerUnit.h"

#include "platform/FilePath.h"
#include "platform/HostFolder.h"

namespace quorlin {

namespace {

constexpr tk::Color CaptionColor = tk::clBlack;
constexpr uint16_t KeySave = 0x74;  // F5

struct FieldDesign {
    const char* Name;
    const char* Label;
    int LabelTop;
    int Top;
    int TabOrder;
};

constexpr FieldDesign FieldDesigns[9] = {
    {"ProgramName", "プログラム名", 50, 45, 9}, {"Version", "バージョン", 87, 82, 1},
    {"FirstMaker", "作成者", 123, 118, 2},      {"FirstMakeDate", "作成日", 151, 146, 3},
    {"Modifier", "変更者", 186, 181, 4},        {"ModifyDate", "変更日", 212, 209, 5},
    {"Coment1", "コメント１", 249, 244, 6},     {"Coment2", "コメント２", 278, 273, 7},
    {"Coment3", "コメント３", 306, 302, 8},
};

tk::Label* AddCaption(TVerForm* form, const std::string& name, int left, int top, const char* caption)
{
    auto* label = new tk::Label(form);
    label->SetName(name);
    label->SetParent(form);
    label->SetBounds(left, top, 0, 0);
    label->SetCaption(caption);
    label->GetFont().Height = 15;
    label->GetFont().FontColor = CaptionColor;
    return label;
}

TBitBtnEx* AddButton(TVerForm* form, const char* name, TBitBtnKind kind, int left, const char* caption,
                     int tabOrder)
{
    auto* button = new TBitBtnEx(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetKind(kind);
    button->SetBounds(left, 341, 113, 37);
    button->SetCaption(caption);
    button->SetTabOrder(tabOrder);
    button->SetTabStop(true);
    return button;
}

}  // namespace

TVerForm::TVerForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("VerForm");
    SetCaption("ﾊﾞｰｼﾞｮﾝ情報");
    SetBorderIcons(tk::biSystemMenu);
    SetSizeable(false);
    GetFont().Name = "ＭＳ Ｐゴシック";
    GetFont().Height = 15;
    SetBounds(338, 147, Width(), Height());
    SetClientSize(373, 388);

    // Behind the fields, so that its edge shows as a frame around the focused one.
    FocusPanel = new tk::Panel(this);
    FocusPanel->SetName("FocusPanel");
    FocusPanel->SetParent(this);
    FocusPanel->BevelOuter = tk::Bevel::None;
    FocusPanel->SetColor(tk::clYellow);
    FocusPanel->SetTabOrder(10);

    ProjectName = new tk::Label(this);
    ProjectName->SetName("ProjectName");
    ProjectName->SetParent(this);
    ProjectName->SetBounds(117, 12, 0, 0);
    ProjectName->SetColor(tk::clWhite);
    ProjectName->GetFont().Height = 18;

    AddCaption(this, "Label1", 15, 16, "プロジェクト名");
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldDesign& design = FieldDesigns[i];
        AddCaption(this, "Label" + std::to_string(i + 2), 31, design.LabelTop, design.Label);
        TAEdit* field = new TAEdit(this);
        field->SetName(design.Name);
        field->SetParent(this);
        field->SetBounds(117, design.Top, i == 0 ? 244 : 241, 30);
        field->GetFont().Height = 22;
        field->SetTabOrder(design.TabOrder);
        field->SetTabStop(true);
        field->OnKeyDown = [this](tk::Component* sender, uint16_t& key, tk::ShiftState shift) {
            ProgramNameKeyDown(sender, key, shift);
        };
        field->OnEnter = [this](tk::Component* sender) { ModifyDateEnter(sender); };
        fields_[i] = field;
    }
    // Down and Enter go to the next field of the record, Up to the previous one.
    for (size_t i = 0; i < fields_.size(); ++i) {
        TXKeyNextControl& next = *fields_[i]->NextFocus();
        next.SetUpperCtrl(i > 0 ? fields_[i - 1] : nullptr);
        next.SetLowerCtrl(i + 1 < fields_.size() ? fields_[i + 1] : nullptr);
        next.SetRetCtrl(i + 1 < fields_.size() ? fields_[i + 1] : nullptr);
    }
    ProgramName = fields_[0];
    Version = fields_[1];
    FirstMaker = fields_[2];
    FirstMakeDate = fields_[3];
    Modifier = fields_[4];
    ModifyDate = fields_[5];
    Coment1 = fields_[6];
    Coment2 = fields_[7];
    Coment3 = fields_[8];

    ClosePanel = AddButton(this, "ClosePanel", TBitBtnKind::bkClose, 104, "閉じる(&C)", 0);
    ClosePanel->OnClick = [this](tk::Component* sender) { ClosePanelClick(sender); };
    BitBtnEx1 = AddButton(this, "BitBtnEx1", TBitBtnKind::bkCancel, 248, "ｷｬﾝｾﾙ", 11);

    SaveIni1 = new TSaveIni(this);
    SaveIni1->SetName("SaveIni1");
    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");

    SetActiveControl(ProgramName);
    FinishCreate();
}

void TVerForm::EditProjectVersion(const std::string& projectFileName)
{
    ProjectName->SetCaption(platform::ExtractFileName(projectFileName));
    SaveIni1->SetIniName(platform::HostFolder() + "Version.ini");
    SaveIni1->SetSection(ProjectName->Caption());
    SaveIni1->Load();
    ShowModal();
}

void TVerForm::ClosePanelClick(tk::Component*)
{
    SaveIni1->Save();
    Close();
}

void TVerForm::EscapePanelClick(tk::Component*)
{
    Close();
}

void TVerForm::ProgramNameKeyDown(tk::Component*, uint16_t& key, tk::ShiftState)
{
    if (key == KeySave) {
        key = 0;
        ClosePanelClick(this);
    } else if (key == tk::VK_ESCAPE) {
        key = 0;
        EscapePanelClick(this);
    }
}

void TVerForm::ModifyDateEnter(tk::Component* sender)
{
    auto* field = dynamic_cast<tk::Control*>(sender);
    if (!field) {
        return;
    }
    FocusPanel->SendToBack();
    FocusPanel->SetBounds(field->Left() - 3, field->Top() - 3, field->Width() + 6, field->Height() + 6);
    FocusPanel->SetColor(tk::clYellow);
}

}  // namespace quorlin
