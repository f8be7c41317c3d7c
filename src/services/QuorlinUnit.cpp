#include "services/QuorlinUnit.h"

#include <stdexcept>

#include "controls/ComboBoxEx.h"
#include "controls/MemoEx.h"
#include "host/Globals.h"
#include "platform/FilePath.h"
#include "platform/HostFolder.h"
#include "platform/IniFile.h"
#include "platform/FileWrite.h"
#include "platform/TrayArea.h"
#include "services/DataFolder.h"
#include "services/DateText.h"
#include "services/MessageCtrl.h"
#include "services/MruEx.h"
#include "services/TrayFace.h"
#include "services/WinSave.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

constexpr const char* ApplicationTitle = "Quorlin 1.3";
constexpr const char* SizeSection = "画面サイズ";

tk::MenuItem* AddMenuItem(tk::Component* owner, tk::MenuItem* parent, const char* name,
                          const char* caption, tk::ShortCut shortCut = 0)
{
    auto* item = new tk::MenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

tk::MenuItem* AddSeparator(tk::Component* owner, tk::MenuItem* parent, const char* name)
{
    return AddMenuItem(owner, parent, name, "-");
}

}  // namespace

TCodeForm::TCodeForm(tk::Component* owner) : tk::Form(owner)
{
    SetName("CodeForm");
    SetCaption(ApplicationTitle);
    SetBorderIcons(tk::biSystemMenu);
    SetBounds(200, 120, 729, 477);
    CreateLayout();
    CreateMainMenu();
    CreateCtrlMenu();
    CreateTaskParts();
    WireEvents();
    WireTaskEvents();
    FinishCreate();
}

TCodeForm::~TCodeForm()
{
    if (CodeForm == this)
        CodeForm = nullptr;
}

void TCodeForm::CreateLayout()
{
    Panel1 = new tk::Panel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetHeight(37);
    Panel1->SetAlign(tk::Align::Top);

    FocusPanel = new tk::Panel(this);
    FocusPanel->SetName("FocusPanel");
    FocusPanel->SetParent(Panel1);
    FocusPanel->BevelOuter = tk::Bevel::None;
    FocusPanel->SetBounds(3, 5, 414, 25);
    FocusPanel->SetColor(tk::clBtnFace);

    UnitCombo = new TComboBoxEx(this);
    UnitCombo->SetName("UnitCombo");
    UnitCombo->SetParent(Panel1);
    UnitCombo->SetBounds(5, 7, 410, 21);
    UnitCombo->SetStyle(tk::ComboStyle::OwnerDrawVariable);
    UnitCombo->SetDispStyle(TDispStyle::dsFilePath);
    UnitCombo->SetSorted(true);
    UnitCombo->SetDropDownCount(30);
    UnitCombo->SetTabOrder(0);
    UnitCombo->SetTabStop(true);

    MethodCombo = new TComboBoxEx(this);
    MethodCombo->SetName("MethodCombo");
    MethodCombo->SetParent(Panel1);
    MethodCombo->SetBounds(418, 6, 447, 21);
    MethodCombo->SetStyle(tk::ComboStyle::DropDownList);
    MethodCombo->SetSorted(true);
    MethodCombo->SetDropDownCount(30);
    MethodCombo->SetTabOrder(1);
    MethodCombo->SetTabStop(true);

    Panel2 = new tk::Panel(this);
    Panel2->SetName("Panel2");
    Panel2->SetParent(this);
    Panel2->SetAlign(tk::Align::Client);

    TreeView1 = new TTreeViewEx(this);
    TreeView1->SetName("TreeView1");
    TreeView1->SetParent(Panel2);
    TreeView1->SetWidth(89);
    TreeView1->SetAlign(tk::Align::Left);
    TreeView1->SetTabOrder(0);
    TreeView1->SetTabStop(true);

    SplitPanel1 = new tk::Splitter(this);
    SplitPanel1->SetName("SplitPanel1");
    SplitPanel1->SetParent(Panel2);
    SplitPanel1->SetBounds(89, 0, 3, Panel2->Height());
    SplitPanel1->SetAlign(tk::Align::Left);

    Memo1 = new TMemoEx(this);
    Memo1->SetName("Memo1");
    Memo1->SetParent(Panel2);
    Memo1->SetAlign(tk::Align::Client);
    Memo1->SetTabOrder(1);
    Memo1->SetTabStop(true);

    SaveDialog1 = new tk::SaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->Filter = "タスクファイル|*.Ini";
    SaveDialog1->DefaultExt = "ini";

    ProjectMRU = new TMRUEx(this);
    ProjectMRU->SetName("ProjectMRU");
    ProjectMRU->SetIniName("Quorlin.Dat");
    JumpMRU = new TMRUEx(this);
    JumpMRU->SetName("JumpMRU");
    JumpMRU->SetIniName("Quorlin.Jmp");
    NewMRU = new TMRUEx(this);
    NewMRU->SetName("NewMRU");
    NewMRU->SetIniName("CodeIni.Ini");
    NewMRU->SetSection("Prev");

    WinSave1 = new TWinSave(this);
    WinSave1->SetName("WinSave1");

    MessageCtrl1 = new TMessageCtrl(this);
    MessageCtrl1->SetName("MessageCtrl1");
    MessageCtrl1->SetGroup("Quorlin");
    TrayFace1 = new TTrayFace(this);
    TrayFace1->SetName("TrayFace1");
    TrayFace1->SetTips("Quorlin");
    TrayFace1->SetICON(platform::ApplicationIcon);
}

void TCodeForm::CreateMainMenu()
{
    MainMenu1 = new tk::MainMenu(this);
    MainMenu1->SetName("MainMenu1");
    tk::MenuItem* bar = MainMenu1->Items();

    FileMenu = AddMenuItem(this, bar, "FileMenu", "ﾌｧｲﾙ(&F)");
    ProjectHistoryMenu = AddMenuItem(this, FileMenu, "ProjectHistoryMenu", "ﾌﾟﾛｼﾞｪｸﾄを開く");
    K5 = AddMenuItem(this, FileMenu, "K5", "関数一覧作成(&K)");
    AddSeparator(this, FileMenu, "N2");
    New1 = AddMenuItem(this, FileMenu, "New1", "新規作成(&N)");
    K1 = AddMenuItem(this, FileMenu, "K1", "開く(&O)");
    Save1 = AddMenuItem(this, FileMenu, "Save1", "上書き保存(&S)");
    SaveAs1 = AddMenuItem(this, FileMenu, "SaveAs1", "名前を付けて保存(&A)");
    Close1 = AddMenuItem(this, FileMenu, "Close1", "閉じる(&C)");

    EditMenu = AddMenuItem(this, bar, "EditMenu", "編集(&E)");
    ChaneNameMenuItem = AddMenuItem(this, EditMenu, "ChaneNameMenuItem", "Nameプロパティ変更");
    AddSeparator(this, EditMenu, "N3");
    N1 = AddMenuItem(this, EditMenu, "N1", "コンポーネント検索");
    AddSeparator(this, EditMenu, "N4");
    FullCollapse1 = AddMenuItem(this, EditMenu, "FullCollapse1", "FullCollapse");
    FullExpand1 = AddMenuItem(this, EditMenu, "FullExpand1", "FullExpand");
    AddSeparator(this, EditMenu, "N5");
    JumpMethodMenu = AddMenuItem(this, EditMenu, "JumpMethodMenu", "ジャンプ");
    JumpHistoryMenu = AddMenuItem(this, EditMenu, "JumpHistoryMenu", "ジャンプ履歴の選択");
    AddSeparator(this, EditMenu, "N6");
    MethodSortMenu = AddMenuItem(this, EditMenu, "MethodSortMenu", "関数リストのソート");
    MethodNoSort = AddMenuItem(this, MethodSortMenu, "MethodNoSort", "しない");
    MethodSort = AddMenuItem(this, MethodSortMenu, "MethodSort", "する");
    AddSeparator(this, EditMenu, "N7");
    MenuModifyLink = AddMenuItem(this, EditMenu, "MenuModifyLink", "リンク先変更");
    AddSeparator(this, EditMenu, "N8");
    ClearMemoItem = AddMenuItem(this, EditMenu, "ClearMemoItem", "メモの消去");
    SaveMemoItem = AddMenuItem(this, EditMenu, "SaveMemoItem", "メモの保存");

    DispMenu = AddMenuItem(this, bar, "DispMenu", "表示(&V)");
    OpenAll = AddMenuItem(this, DispMenu, "OpenAll", "ユニットをすべて開く");
    CloseUnitMenuItem = AddMenuItem(this, DispMenu, "CloseUnitMenuItem", "ユニットを閉じる");
    AddSeparator(this, DispMenu, "N9");
    PropertyListMenuItem = AddMenuItem(this, DispMenu, "PropertyListMenuItem", "プロパティ一覧");
    CompoDisplayMenu = AddMenuItem(this, DispMenu, "CompoDisplayMenu", "コンポーネント一覧");
    AddSeparator(this, DispMenu, "N11");
    VerMenu = AddMenuItem(this, DispMenu, "VerMenu", "ﾊﾞｰｼﾞｮﾝ情報");
    K2 = AddMenuItem(this, DispMenu, "K2", "最小化");
    K4 = AddMenuItem(this, DispMenu, "K4", "関数ﾘｽﾄ");
    K6 = AddMenuItem(this, DispMenu, "K6", "標準");
    MenuVerDisp = AddMenuItem(this, DispMenu, "MenuVerDisp", "保存時にﾊﾞｰｼﾞｮﾝ情報を入力");

    InsertCodeMenu = AddMenuItem(this, bar, "InsertCodeMenu", "挿入(F6)", tk::VK_F6);
    K8 = AddMenuItem(this, InsertCodeMenu, "K8", "コード挿入");
    InsertClass = AddMenuItem(this, InsertCodeMenu, "InsertClass", "プロパティ定義");
    MethodMenuItem = AddMenuItem(this, InsertCodeMenu, "MethodMenuItem", "メソッド定義");
    ExchangeMenuItem = AddMenuItem(this, InsertCodeMenu, "ExchangeMenuItem", "選択行の左右入替え");
    AddSeparator(this, InsertCodeMenu, "N12");
    N10 = AddMenuItem(this, InsertCodeMenu, "N10", "データベースインターフェース");
    RyCtrlGridMenuItem = AddMenuItem(this, InsertCodeMenu, "RyCtrlGridMenuItem", "RyCtrlGridインターフェース");
    TRyDimItemMenu = AddMenuItem(this, InsertCodeMenu, "TRyDimItemMenu", "TRyDimItemServer");

    UpdateMenu = AddMenuItem(this, bar, "UpdateMenu", "更新");
    CodeWindowMenu = AddMenuItem(this, bar, "CodeWindowMenu", "Unit(F12)", tk::VK_F12);
    Help1 = AddMenuItem(this, bar, "Help1", "ヘルプ");
    VersionMenu = AddMenuItem(this, Help1, "VersionMenu", "バージョン情報");

    K2->SetTag(0);
    K4->SetTag(1);
    K6->SetTag(2);
    MethodNoSort->SetChecked(true);
    SetMenu(MainMenu1);
}

void TCodeForm::CreateCtrlMenu()
{
    CtrlMenu = new tk::PopupMenu(this);
    CtrlMenu->SetName("CtrlMenu");
    tk::MenuItem* root = CtrlMenu->Items();
    ProjectCtrlMenu = AddMenuItem(this, root, "ProjectCtrlMenu", "ﾌﾟﾛｼﾞｪｸﾄを開く");
    MinItem = AddMenuItem(this, root, "MinItem", "最小化");
    ListOnlyItem = AddMenuItem(this, root, "ListOnlyItem", "関数ﾘｽﾄ");
    NormalItem = AddMenuItem(this, root, "NormalItem", "標準");
    JumpCtrMenu = AddMenuItem(this, root, "JumpCtrMenu", "ジャンプ履歴");
    MenuDisplay = AddMenuItem(this, root, "MenuDisplay", "メニュー表示");
    UpDateCtrlMenu = AddMenuItem(this, root, "UpDateCtrlMenu", "リスト更新");
    VerCtrlMenu = AddMenuItem(this, root, "VerCtrlMenu", "ﾊﾞｰｼﾞｮﾝ情報");

    MinItem->SetTag(0);
    ListOnlyItem->SetTag(1);
    NormalItem->SetTag(2);
    MenuDisplay->SetChecked(true);
    UnitCombo->SetPopupMenu(CtrlMenu);
    MethodCombo->SetPopupMenu(CtrlMenu);
}

void TCodeForm::WireEvents()
{
    using namespace std::placeholders;
    auto notify = [this](void (TCodeForm::*handler)(tk::Component*)) {
        return tk::NotifyEvent(std::bind(handler, this, _1));
    };

    OnCreate = notify(&TCodeForm::FormCreate);
    OnResize = notify(&TCodeForm::FormResize);
    OnActivate = [this](tk::Component*) { DrawCaptionDate(); };
    OnDeactivate = [this](tk::Component*) { DrawCaptionDate(); };
    OnClose = [this](tk::Component* sender, tk::CloseAction& action) { FormClose(sender, action); };

    UnitCombo->OnClick = notify(&TCodeForm::UnitComboClick);
    UnitCombo->OnDblClick = notify(&TCodeForm::UnitComboClick);
    MethodCombo->OnSelect = notify(&TCodeForm::MethodComboSelect);
    for (TComboBoxEx* combo : {UnitCombo, MethodCombo}) {
        combo->OnKeyDown = [this](tk::Component* sender, uint16_t& key, tk::ShiftState shift) {
            FileEditKeyDown(sender, key, shift);
        };
    }
    for (tk::Control* control : {static_cast<tk::Control*>(UnitCombo), static_cast<tk::Control*>(MethodCombo),
                                 static_cast<tk::Control*>(Memo1)}) {
        control->OnEnter = notify(&TCodeForm::Memo1Enter);
        control->OnExit = notify(&TCodeForm::UnitComboExit);
    }

    ProjectHistoryMenu->OnClick = notify(&TCodeForm::ProjectHistoryMenuClick);
    ProjectCtrlMenu->OnClick = notify(&TCodeForm::ProjectHistoryMenuClick);
    K5->OnClick = notify(&TCodeForm::K5Click);
    JumpMethodMenu->OnClick = notify(&TCodeForm::MethodComboSelect);
    JumpHistoryMenu->OnClick = notify(&TCodeForm::JumpHistoryMenuClick);
    JumpCtrMenu->OnClick = notify(&TCodeForm::JumpHistoryMenuClick);
    MethodNoSort->OnClick = notify(&TCodeForm::MethodNoSortClick);
    MethodSort->OnClick = notify(&TCodeForm::MethodNoSortClick);
    OpenAll->OnClick = notify(&TCodeForm::OpenAllClick);
    CloseUnitMenuItem->OnClick = notify(&TCodeForm::CloseUnitMenuItemClick);
    for (tk::MenuItem* item : {K2, K4, K6, MinItem, ListOnlyItem, NormalItem})
        item->OnClick = notify(&TCodeForm::NormalItemClick);
    MenuDisplay->OnClick = notify(&TCodeForm::MenuDisplayClick);
    UpdateMenu->OnClick = notify(&TCodeForm::UpdateMenuClick);
    UpDateCtrlMenu->OnClick = notify(&TCodeForm::UpdateMenuClick);
    CodeWindowMenu->OnClick = notify(&TCodeForm::CodeWindowMenuClick);
    InsertClass->OnClick = notify(&TCodeForm::InsertClassClick);
    MethodMenuItem->OnClick = notify(&TCodeForm::MethodMenuItemClick);
    VerMenu->OnClick = notify(&TCodeForm::VerMenuClick);
    VerCtrlMenu->OnClick = notify(&TCodeForm::VerMenuClick);
    MenuVerDisp->OnClick = notify(&TCodeForm::MenuVerDispClick);
    VersionMenu->OnClick = notify(&TCodeForm::VersionMenuClick);
    ChaneNameMenuItem->OnClick = notify(&TCodeForm::ChaneNameMenuItemClick);
    N1->OnClick = notify(&TCodeForm::N1Click);
    PropertyListMenuItem->OnClick = notify(&TCodeForm::PropertyListMenuItemClick);
    CompoDisplayMenu->OnClick = notify(&TCodeForm::CompoDisplayMenuClick);
    N10->OnClick = notify(&TCodeForm::N10Click);
    RyCtrlGridMenuItem->OnClick = notify(&TCodeForm::RyCtrlGridMenuItemClick);
    TRyDimItemMenu->OnClick = notify(&TCodeForm::TRyDimItemMenuClick);
    K8->OnClick = notify(&TCodeForm::InsertButtonClick);
    ExchangeMenuItem->OnClick = notify(&TCodeForm::ExchangeMenuItemClick);
    MessageCtrl1->OnReceiveMessage = [this](const std::string& from, const std::string& command,
                                            const std::string& kind) {
        MessageCtrl1ReceiveMessage(from, command, kind);
    };
    TrayFace1->OnClick = [this](tk::Component* sender, tk::MouseButton button, tk::ShiftState shift, int x, int y) {
        TrayFace1Click(sender, button, shift, x, y);
    };
}

void TCodeForm::FormCreate(tk::Component*)
{
    ShortDateFormat = "yyyy/mm/dd";
    TaskFileName = "NoName";
    recordedMode_ = 1;
    hooks_.Install(this);
    tk::Application::Instance().SetTitle(ApplicationTitle);
    DrawCaptionDate();
    PrepareDataFolder();
    {
        platform::IniFile settings(platform::InHostFolder("Quorlin.Dat"));
        settings.EraseSection("MethodJumpHistory");
        if (settings.ReadInteger(SizeSection, "MinWidth", 0) == 0) {
            settings.WriteInteger(SizeSection, "MinWidth", 326);
            settings.WriteInteger(SizeSection, "MinHeight", 27);
            settings.WriteInteger(SizeSection, "ListWidth", 664);
            settings.WriteInteger(SizeSection, "ListHeight", 88);
            settings.WriteInteger(SizeSection, "NormalWidth", 664);
            settings.WriteInteger(SizeSection, "NormalHeight", 326);
        }
    }
    std::string previous = NewMRU->ReadValue("PrevFileName");
    if (!previous.empty() && platform::FileExists(previous))
        OpenTaskFile(previous);
    TreeView1->SetWidth(NewMRU->ReadNumber("TreeWidth", 90));
    CreateJumpHistoryFile();
}

void TCodeForm::CreateJumpHistoryFile()
{
    // A new empty file replaces what stands at the name, a link included, so no other file is
    // emptied through it.
    std::string fileName = platform::InHostFolder("Quorlin.Jmp");
    std::string error;
    if (!platform::WriteFileReplacing(fileName, "", error, platform::LinkAtName::Replace))
        throw std::runtime_error("Cannot create file: " + error);
}

void TCodeForm::FormClose(tk::Component*, tk::CloseAction& action)
{
    action = tk::CloseAction::Hide;
    Release();
    if (CodeForm == this)
        CodeForm = nullptr;
    SaveMemoChanges();
    NewMRU->WriteValue("PrevFileName", TaskFileName);
    NewMRU->WriteValue("TreeWidth", std::to_string(TreeView1->Width()));
}

}  // namespace quorlin
