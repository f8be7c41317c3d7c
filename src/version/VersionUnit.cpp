#include "version/VersionUnit.h"

#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace quorlin {

namespace {

constexpr int DesignWidth = 264;
constexpr int DesignHeight = 180;

tk::Label* AddLabel(TVersionForm* form, tk::Control* parent, const char* name, int left, int top,
                    const char* caption)
{
    auto* label = new tk::Label(form);
    label->SetName(name);
    label->SetParent(parent);
    label->SetBounds(left, top, 0, 0);
    label->SetCaption(caption);
    return label;
}

}  // namespace

TVersionForm::TVersionForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("VersionForm");
    SetCaption("ﾊﾞｰｼﾞｮﾝ情報");
    SetBorderIcons(tk::biSystemMenu);
    SetSizeable(false);
    GetFont().Name = "ＭＳ Ｐゴシック";
    GetFont().Height = 15;
    SetClientSize(DesignWidth, DesignHeight);
    tk::Rect screen = tk::Application::Instance().GetDesktop().ScreenRect();
    SetBounds((screen.Width - Width()) / 2, (screen.Height - Height()) / 2, Width(), Height());

    Panel1 = new tk::Panel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(10, 4, 247, 135);
    Panel1->BevelInner = tk::Bevel::Raised;
    Panel1->BevelOuter = tk::Bevel::Lowered;

    ProductName = AddLabel(this, Panel1, "ProductName", 59, 17, "Quorlin 1.3");
    ProductName->GetFont().FontColor = tk::clBlue;
    BuildLabel = AddLabel(this, Panel1, "BuildLabel", 136, 38, "(Build 124)");
    MakerLabel = AddLabel(this, Panel1, "MakerLabel", 28, 76, "Copyright (C) Fallowmere");
    ContactLabel = AddLabel(this, Panel1, "ContactLabel", 53, 104, "Mail: quorlin@fallowmere.example");

    OKButton = new tk::Button(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetBounds(85, 142, 94, 31);
    OKButton->SetCaption("OK");
    OKButton->Default = true;
    OKButton->ModalResult = tk::mrOk;
    OKButton->SetTabStop(true);

    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");
    VersionInfoCompo1 = new TVersionInfoCompo(this);
    VersionInfoCompo1->SetName("VersionInfoCompo1");

    OnCreate = [this](tk::Component* sender) { FormCreate(sender); };
    SetActiveControl(OKButton);
    FinishCreate();
}

void TVersionForm::FormCreate(tk::Component*)
{
    BuildLabel->SetCaption("(Build " + VersionInfoCompo1->InfoText(2) + ")");
}

}  // namespace quorlin
