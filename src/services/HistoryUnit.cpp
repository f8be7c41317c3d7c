#include "services/HistoryUnit.h"

namespace quorlin {

namespace {

constexpr const char* ProjectSection = "ProjectHistory";
constexpr const char* JumpSection = "MethodJumpHistory";

void SetBevels(tk::Panel* panel, tk::Bevel bevel)
{
    panel->BevelOuter = bevel;
    panel->BevelInner = bevel;
    panel->Repaint();
}

}  // namespace

THistoryForm::THistoryForm(tk::Component* owner, TMRUEx* projectMru, TMRUEx* jumpMru)
    : tk::Form(owner), projectMru_(projectMru), jumpMru_(jumpMru)
{
    SetName("HistoryForm");
    SetBorderIcons(tk::biSystemMenu);
    SetBounds(Left(), Top(), 580, 409);

    Panel1 = new tk::Panel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetHeight(35);
    Panel1->SetAlign(tk::Align::Bottom);
    Panel1->SetCaption("");

    HistoryList = new tk::ListBox(this);
    HistoryList->SetName("HistoryList");
    HistoryList->SetParent(this);
    HistoryList->SetAlign(tk::Align::Client);
    HistoryList->SetColor(tk::clWhite);
    HistoryList->GetFont().Height = 18;
    HistoryList->SetItemHeight(18);
    HistoryList->SetTabStop(true);
    HistoryList->OnKeyDown = [this](tk::Component* sender, uint16_t& key, tk::ShiftState shift) {
        HistoryListKeyDown(sender, key, shift);
    };
    HistoryList->OnDblClick = [this](tk::Component* sender) { HistoryListDblClick(sender); };

    auto makePanel = [this](const char* name, tk::Align align, int width, const char* caption) {
        TPanelEx* panel = new TPanelEx(this);
        panel->SetName(name);
        panel->SetParent(Panel1);
        panel->SetWidth(width);
        panel->SetAlign(align);
        panel->SetCaption(caption);
        return panel;
    };
    SortPanel = makePanel("SortPanel", tk::Align::Left, 151, "名前でソート［Ｆ１］");
    ClosePanel = makePanel("ClosePanel", tk::Align::Right, 155, "閉じる［ESCAPE］");
    OpenPanel = makePanel("OpenPanel", tk::Align::Client, 0, "");
    SortPanel->OnClick = [this](tk::Component* sender) { SortPanelClick(sender); };
    OpenPanel->OnClick = [this](tk::Component* sender) { OpenPanelClick(sender); };
    ClosePanel->OnClick = [this](tk::Component* sender) { ClosePanelClick(sender); };

    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");

    OnActivate = [this](tk::Component* sender) { FormActivate(sender); };
    OnShow = [this](tk::Component* sender) { FormShow(sender); };
    SetActiveControl(HistoryList);
    FinishCreate();
}

bool THistoryForm::LoadProjects()
{
    if (!Fill(projectMru_, ProjectSection)) {
        return false;
    }
    Kind = 0;
    SetCaption("プロジェクトの選択");
    OpenPanel->SetCaption("プロジェクトを開く［RETURN］");
    return true;
}

bool THistoryForm::LoadJumps()
{
    if (!Fill(jumpMru_, JumpSection)) {
        return false;
    }
    Kind = 1;
    SetCaption("ジャンプ履歴の選択");
    OpenPanel->SetCaption("選択位置にジャンプ［RETURN］");
    return true;
}

bool THistoryForm::Fill(TMRUEx* mru, const std::string& section)
{
    HistoryList->Items().Clear();
    if (mru) {
        mru->ReadItems(HistoryList->Items(), section);
    }
    if (HistoryList->Items().Empty()) {
        return false;
    }
    HistoryList->SetItemIndex(0);
    return true;
}

void THistoryForm::Refill()
{
    if (Kind == 0) {
        Fill(projectMru_, ProjectSection);
    } else {
        Fill(jumpMru_, JumpSection);
    }
}

void THistoryForm::FormActivate(tk::Component*)
{
    if (!HistoryList->Items().Empty()) {
        HistoryList->SetItemIndex(0);
    }
}

void THistoryForm::FormShow(tk::Component* sender)
{
    FormActivate(sender);
}

void THistoryForm::HistoryListKeyDown(tk::Component*, uint16_t& key, tk::ShiftState)
{
    switch (key) {
    case tk::VK_RETURN:
    case tk::VK_SPACE:
        Choose();
        break;
    case tk::VK_ESCAPE:
        Cancel();
        break;
    case tk::VK_F1:
        ToggleSort();
        break;
    default:
        return;
    }
    key = 0;
}

void THistoryForm::HistoryListDblClick(tk::Component*)
{
    Choose();
}

void THistoryForm::OpenPanelClick(tk::Component*)
{
    Choose();
}

void THistoryForm::ClosePanelClick(tk::Component*)
{
    Cancel();
}

void THistoryForm::SortPanelClick(tk::Component*)
{
    ToggleSort();
}

void THistoryForm::Choose()
{
    int index = HistoryList->ItemIndex();
    if (index != -1) {
        result_ = HistoryList->Items()[index];
    }
    SetModalResult(tk::mrOk);
}

void THistoryForm::Cancel()
{
    result_.clear();
    SetModalResult(tk::mrCancel);
}

void THistoryForm::ToggleSort()
{
    Sorted = !Sorted;
    if (Sorted) {
        Refill();
        HistoryList->SetSorted(true);
        HistoryList->SetItemIndex(0);
        SetBevels(SortPanel, tk::Bevel::Lowered);
    } else {
        HistoryList->SetSorted(false);
        Refill();
        SetBevels(SortPanel, tk::Bevel::Raised);
    }
    HistoryList->Repaint();
}

}  // namespace quorlin
