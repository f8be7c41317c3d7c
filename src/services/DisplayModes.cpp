// The tool window's three sizes, the menu bar switch and the focus frame.

#include "controls/ComboBoxEx.h"
#include "host/Globals.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

namespace {

struct ModeKeys {
    const char* Width;
    const char* Height;
};

constexpr ModeKeys ModeSizeKeys[] = {
    {"MinWidth", "MinHeight"},
    {"ListWidth", "ListHeight"},
    {"NormalWidth", "NormalHeight"},
};

}  // namespace

void TCodeForm::ApplyDisplayMode(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    // Asked for every unit chosen: the parse is kept while the file is unchanged.
    auto settings = platform::IniFile::ReadOnly(platform::InHostFolder("Quorlin.Dat"));
    const ModeKeys& keys = ModeSizeKeys[mode];
    int width = settings->ReadInteger("画面サイズ", keys.Width, Width());
    int height = settings->ReadInteger("画面サイズ", keys.Height, Height());
    SetWidth(width);
    SetHeight(height);
}

void TCodeForm::NormalItemClick(tk::Component* sender)
{
    if (CodeForm && sender)
        ApplyDisplayMode(sender->Tag());
}

void TCodeForm::CaptionDoubleClick()
{
    if (!CodeForm)
        return;
    static constexpr uint8_t NextMode[] = {2, 0, 1};
    recordedMode_ = recordedMode_ < 3 ? NextMode[recordedMode_] : recordedMode_;
    ApplyDisplayMode(recordedMode_);
}

bool TCodeForm::CaptionRightButtonDown(tk::Point screen)
{
    CtrlMenu->Popup(screen.X, screen.Y);
    return true;
}

void TCodeForm::FocusWindow()
{
    if (Visible())
        BringToFront();
}

void TCodeForm::MenuDisplayClick(tk::Component*)
{
    if (!CodeForm)
        return;
    bool show = !MenuDisplay->Checked();
    MenuDisplay->SetChecked(show);
    for (tk::MenuItem* item : {FileMenu, EditMenu, DispMenu, InsertCodeMenu, CodeWindowMenu, UpdateMenu, Help1}) {
        item->SetVisible(show);
        if (item != Help1)
            item->SetEnabled(show);
    }
}

void TCodeForm::Memo1Enter(tk::Component* sender)
{
    if (CodeForm)
        PlaceFocusFrame(dynamic_cast<tk::Control*>(sender));
}

void TCodeForm::PlaceFocusFrame(tk::Control* control)
{
    if (!control || dynamic_cast<tk::TreeView*>(control) || !control->Parent())
        return;
    FocusPanel->SetParent(control->Parent());
    FocusPanel->SendToBack();
    FocusPanel->SetLeft(control->Left() - 2);
    FocusPanel->SetTop(control->Top() - 2);
    FocusPanel->SetHeight(control->Height() + 4);
    FocusPanel->SetWidth(control->Width() + 4);
    FocusPanel->SetColor(tk::RGB(255, 255, 0));
}

void TCodeForm::UnitComboExit(tk::Component*)
{
    if (CodeForm)
        FocusPanel->SetColor(tk::clBtnFace);
}

void TCodeForm::FormResize(tk::Component*)
{
    if (!CodeForm)
        return;
    MethodCombo->SetWidth(Panel1->Width() - UnitCombo->Width() - 10);
    PlaceFocusFrame(ActiveControl());
    PaintCaption();
}

}  // namespace quorlin
