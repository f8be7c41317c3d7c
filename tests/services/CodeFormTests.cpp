#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"
#include "controls/MemoEx.h"
#include "platform/IniFile.h"
#include "services/DateText.h"
#include "services/MruEx.h"
#include "services/WinSave.h"
#include "toolkit/Form.h"

namespace {

using Lines = std::vector<std::string>;

// Records what the tool window draws over its caption.
class CaptionDesktop : public tk::ScriptedDesktop {
public:
    struct Drawn {
        tk::Point At;
        std::string Text;
        bool Active;
    };
    void DrawCaptionText(tk::Form&, tk::Point at, const std::string& text, bool active) override
    {
        drawn.push_back({at, text, active});
    }
    std::vector<Drawn> drawn;
};

class CodeFormTest : public ToolWindowFixture {
protected:
    std::string SettingsFile() const { return folder.Path() + "/Quorlin.Dat"; }

    // Menu entries as "Name=Caption", separators as "-".
    static Lines Entries(const tk::MenuItem& menu)
    {
        Lines entries;
        for (int i = 0; i < menu.Count(); ++i) {
            const tk::MenuItem* item = menu.Items(i);
            entries.push_back(item->IsLine() ? "-" : item->Name() + "=" + item->Caption());
        }
        return entries;
    }
};

TEST_F(CodeFormTest, LayoutAndComponents)
{
    quorlin::TCodeForm& form = CreateForm();
    EXPECT_EQ(tk::Application::Instance().Title(), "Quorlin 1.3");
    EXPECT_EQ(form.Bounds().Width, 729);
    EXPECT_EQ(form.Menu(), form.MainMenu1);

    // The aligned parts as the toolkit lays them out.
    EXPECT_EQ(form.Panel1->Bounds(), (tk::Rect{0, 0, form.ClientWidth(), 37}));
    EXPECT_EQ(form.Panel2->Top(), 37);
    EXPECT_EQ(form.Panel2->Height(), form.ClientHeight() - 37);
    EXPECT_EQ(form.TreeView1->Width(), 90);  // "TreeWidth" missing: its default
    EXPECT_EQ(form.SplitPanel1->Left(), 90);
    EXPECT_EQ(form.SplitPanel1->Width(), 3);
    EXPECT_EQ(form.SplitPanel1->Neighbour(), form.TreeView1);
    EXPECT_EQ(form.Memo1->Left(), 93);
    EXPECT_EQ(form.Memo1->Width(), form.Panel2->Width() - 93);

    EXPECT_EQ(form.UnitCombo->Style(), tk::ComboStyle::OwnerDrawVariable);
    EXPECT_EQ(form.UnitCombo->DispStyle(), quorlin::TDispStyle::dsFilePath);
    EXPECT_EQ(form.MethodCombo->Style(), tk::ComboStyle::DropDownList);
    for (quorlin::TComboBoxEx* combo : {form.UnitCombo, form.MethodCombo}) {
        EXPECT_TRUE(combo->Sorted());
        EXPECT_EQ(combo->DropDownCount(), 30);
        EXPECT_EQ(combo->GetPopupMenu(), form.CtrlMenu);
    }
    EXPECT_EQ(form.ProjectMRU->IniName(), folder.Path() + "/Quorlin.Dat");
    EXPECT_EQ(form.JumpMRU->IniName(), folder.Path() + "/Quorlin.Jmp");
    EXPECT_EQ(form.NewMRU->IniName(), folder.Path() + "/CodeIni.Ini");
    EXPECT_EQ(form.WinSave1->Section().substr(form.WinSave1->Section().size() - 8), "CodeForm");
}

TEST_F(CodeFormTest, MenusWithNamesCaptionsShortcutsAndSeparators)
{
    quorlin::TCodeForm& form = CreateForm();
    EXPECT_EQ(Entries(*form.MainMenu1->Items()),
              (Lines{"FileMenu=ﾌｧｲﾙ(&F)", "EditMenu=編集(&E)", "DispMenu=表示(&V)", "InsertCodeMenu=挿入(F6)",
                     "UpdateMenu=更新", "CodeWindowMenu=Unit(F12)", "Help1=ヘルプ"}));
    EXPECT_EQ(form.InsertCodeMenu->GetShortCut(), tk::VK_F6);
    EXPECT_EQ(form.CodeWindowMenu->GetShortCut(), tk::VK_F12);
    EXPECT_EQ(Entries(*form.FileMenu),
              (Lines{"ProjectHistoryMenu=ﾌﾟﾛｼﾞｪｸﾄを開く", "K5=関数一覧作成(&K)", "-", "New1=新規作成(&N)", "K1=開く(&O)",
                     "Save1=上書き保存(&S)", "SaveAs1=名前を付けて保存(&A)", "Close1=閉じる(&C)"}));
    EXPECT_EQ(Entries(*form.EditMenu),
              (Lines{"ChaneNameMenuItem=Nameプロパティ変更", "-", "N1=コンポーネント検索", "-",
                     "FullCollapse1=FullCollapse", "FullExpand1=FullExpand", "-", "JumpMethodMenu=ジャンプ",
                     "JumpHistoryMenu=ジャンプ履歴の選択", "-", "MethodSortMenu=関数リストのソート", "-",
                     "MenuModifyLink=リンク先変更", "-", "ClearMemoItem=メモの消去", "SaveMemoItem=メモの保存"}));
    EXPECT_EQ(Entries(*form.MethodSortMenu), (Lines{"MethodNoSort=しない", "MethodSort=する"}));
    EXPECT_EQ(Entries(*form.DispMenu),
              (Lines{"OpenAll=ユニットをすべて開く", "CloseUnitMenuItem=ユニットを閉じる", "-",
                     "PropertyListMenuItem=プロパティ一覧", "CompoDisplayMenu=コンポーネント一覧", "-",
                     "VerMenu=ﾊﾞｰｼﾞｮﾝ情報", "K2=最小化", "K4=関数ﾘｽﾄ", "K6=標準",
                     "MenuVerDisp=保存時にﾊﾞｰｼﾞｮﾝ情報を入力"}));
    EXPECT_EQ(Entries(*form.InsertCodeMenu),
              (Lines{"K8=コード挿入", "InsertClass=プロパティ定義", "MethodMenuItem=メソッド定義",
                     "ExchangeMenuItem=選択行の左右入替え", "-", "N10=データベースインターフェース",
                     "RyCtrlGridMenuItem=RyCtrlGridインターフェース", "TRyDimItemMenu=TRyDimItemServer"}));
    EXPECT_EQ(Entries(*form.Help1), (Lines{"VersionMenu=バージョン情報"}));
    EXPECT_EQ(Entries(*form.CtrlMenu->Items()),
              (Lines{"ProjectCtrlMenu=ﾌﾟﾛｼﾞｪｸﾄを開く", "MinItem=最小化", "ListOnlyItem=関数ﾘｽﾄ", "NormalItem=標準",
                     "JumpCtrMenu=ジャンプ履歴", "MenuDisplay=メニュー表示", "UpDateCtrlMenu=リスト更新",
                     "VerCtrlMenu=ﾊﾞｰｼﾞｮﾝ情報"}));
    EXPECT_TRUE(form.MenuDisplay->Checked());
    EXPECT_FALSE(form.MenuVerDisp->Checked());
}

TEST_F(CodeFormTest, CreationWritesDefaultSizesAndEmptiesTheJumpHistory)
{
    {
        platform::IniFile settings(SettingsFile());
        settings.WriteString("MethodJumpHistory", "0", "Old;");
        settings.WriteInteger("画面サイズ", "MinWidth", 0);
        settings.WriteInteger("画面サイズ", "ListWidth", 999);
        settings.WriteString("ProjectHistory", "0", "/p/Keep.dpr");
    }
    WriteFile("Quorlin.Jmp", "[MethodJumpHistory]\r\n0=Stale;\r\n");
    std::string taskFile = WriteFile("Tasks.Ini", "");
    {
        platform::IniFile list(folder.Path() + "/CodeIni.Ini");
        list.WriteString("Prev", "PrevFileName", taskFile);
        list.WriteInteger("Prev", "TreeWidth", 140);
    }
    quorlin::TCodeForm& form = CreateForm();
    {
        platform::IniFile settings(SettingsFile());
        EXPECT_FALSE(settings.SectionExists("MethodJumpHistory"));
        EXPECT_EQ(settings.ReadInteger("画面サイズ", "MinWidth", -1), 326);
        EXPECT_EQ(settings.ReadInteger("画面サイズ", "MinHeight", -1), 27);
        EXPECT_EQ(settings.ReadInteger("画面サイズ", "ListWidth", -1), 664);  // rewritten with the rest
        EXPECT_EQ(settings.ReadInteger("画面サイズ", "ListHeight", -1), 88);
        EXPECT_EQ(settings.ReadInteger("画面サイズ", "NormalWidth", -1), 664);
        EXPECT_EQ(settings.ReadInteger("画面サイズ", "NormalHeight", -1), 326);
        EXPECT_EQ(settings.ReadString("ProjectHistory", "0", ""), "/p/Keep.dpr");
    }
    EXPECT_EQ(ReadFile(folder.Path() + "/Quorlin.Jmp"), "");
    EXPECT_EQ(form.TreeView1->Width(), 140);
    EXPECT_EQ(form.TaskFileName, taskFile);
    EXPECT_EQ(quorlin::ShortDateFormat, "yyyy/mm/dd");

    // Sizes the user edited are kept by the next window.
    delete quorlin::CodeForm;
    {
        platform::IniFile settings(SettingsFile());
        settings.WriteInteger("画面サイズ", "ListWidth", 500);
    }
    CreateForm();
    platform::IniFile settings(SettingsFile());
    EXPECT_EQ(settings.ReadInteger("画面サイズ", "ListWidth", -1), 500);
}

TEST_F(CodeFormTest, MissingPreviousTaskFileKeepsTheNewName)
{
    {
        platform::IniFile list(folder.Path() + "/CodeIni.Ini");
        list.WriteString("Prev", "PrevFileName", folder.Path() + "/Gone.Ini");
    }
    quorlin::TCodeForm& form = CreateForm();
    EXPECT_EQ(form.TaskFileName, "NoName");
}

TEST_F(CodeFormTest, ClosingReleasesTheWindowAndWritesTheListFile)
{
    int idleCalls = 0;
    int deactivateCalls = 0;
    tk::Application& application = tk::Application::Instance();
    application.OnIdle = [&](tk::Component*) { ++idleCalls; };
    application.OnDeactivate = [&](tk::Component*) { ++deactivateCalls; };

    CaptionDesktop captions;
    application.SetDesktop(&captions);
    quorlin::TCodeForm& form = CreateForm();
    form.Show();
    form.TreeView1->SetWidth(120);
    size_t drawnAtCreation = captions.drawn.size();
    EXPECT_GE(drawnAtCreation, 1u);
    application.Idle();
    application.Deactivate();
    EXPECT_EQ(idleCalls, 1);  // the handlers in place before stay chained
    EXPECT_EQ(deactivateCalls, 1);
    EXPECT_GE(captions.drawn.size(), drawnAtCreation + 2);

    form.Close();
    EXPECT_EQ(quorlin::CodeForm, nullptr);
    EXPECT_EQ(application.FindForm("CodeForm"), &form);  // destroyed once the queue reaches it
    application.ProcessMessages();
    EXPECT_EQ(application.FindForm("CodeForm"), nullptr);
    {
        platform::IniFile list(folder.Path() + "/CodeIni.Ini");
        EXPECT_EQ(list.ReadString("Prev", "PrevFileName", ""), "NoName");
        EXPECT_EQ(list.ReadString("Prev", "TreeWidth", ""), "120");
        platform::IniFile places(folder.Path() + "/SysForm.ini");
        EXPECT_EQ(places.ReadSections().size(), 1u);
    }

    // The destroyed window is unhooked: idle and deactivation reach only the earlier handlers.
    size_t drawnBefore = captions.drawn.size();
    application.Idle();
    application.Deactivate();
    EXPECT_EQ(idleCalls, 2);
    EXPECT_EQ(deactivateCalls, 2);
    EXPECT_EQ(captions.drawn.size(), drawnBefore);
    application.OnIdle = nullptr;
    application.OnDeactivate = nullptr;
    application.SetDesktop(&desktop);
}

TEST_F(CodeFormTest, WindowsUnhookThemselvesInAnyOrder)
{
    int idleCalls = 0;
    tk::Application& application = tk::Application::Instance();
    application.OnIdle = [&](tk::Component*) { ++idleCalls; };
    CaptionDesktop captions;
    application.SetDesktop(&captions);

    // A window reopened while the closed one still waits for its release: the first one goes first.
    quorlin::TCodeForm& first = CreateForm();
    first.Show();
    first.Close();
    quorlin::TCodeForm& second = CreateForm();
    second.Show();
    application.ProcessMessages();
    EXPECT_EQ(application.FindForm("CodeForm"), &second);

    size_t drawn = captions.drawn.size();
    application.Idle();
    EXPECT_EQ(idleCalls, 1);
    EXPECT_EQ(captions.drawn.size(), drawn + 1);  // the open window's hook stayed

    second.Close();
    application.ProcessMessages();
    drawn = captions.drawn.size();
    application.Idle();  // no hook of a destroyed window comes back
    EXPECT_EQ(idleCalls, 2);
    EXPECT_EQ(captions.drawn.size(), drawn);
    application.OnIdle = nullptr;
    application.SetDesktop(&desktop);
}

TEST_F(CodeFormTest, CaptionDateTextAndPosition)
{
    EXPECT_EQ(quorlin::CaptionDateText({2024, 3, 15}), "2024/03/15 (金) ");
    EXPECT_EQ(quorlin::CaptionDateText({2000, 1, 1}), "2000/01/01 (土) ");
    EXPECT_EQ(quorlin::CaptionDateText({1999, 12, 26}), "1999/12/26 (日) ");
    EXPECT_EQ(quorlin::CaptionDateText({2026, 2, 2}), "2026/02/02 (月) ");

    CaptionDesktop captions;
    tk::Application::Instance().SetDesktop(&captions);
    quorlin::TCodeForm& form = CreateForm();
    form.SetWidth(600);
    captions.drawn.clear();
    form.PaintCaption();
    ASSERT_EQ(captions.drawn.size(), 1u);
    EXPECT_EQ(captions.drawn[0].At, (tk::Point{600 - 4 - 4 * 18 - 120, 4 + 2}));
    EXPECT_EQ(captions.drawn[0].Text, quorlin::CaptionDateText(quorlin::Now()));
    EXPECT_FALSE(captions.drawn[0].Active);
    form.SetActive(true);
    form.SetCaption("Quorlin");
    ASSERT_EQ(captions.drawn.size(), 3u);
    EXPECT_TRUE(captions.drawn[1].Active);
    EXPECT_TRUE(captions.drawn[2].Active);
    delete quorlin::CodeForm;
    tk::Application::Instance().SetDesktop(&desktop);
}

TEST_F(CodeFormTest, DisplayModesFromTheSettingsFile)
{
    quorlin::TCodeForm& form = CreateForm();
    form.K6->Click();
    EXPECT_EQ(form.Width(), 664);
    EXPECT_EQ(form.Height(), 326);
    form.MinItem->Click();
    EXPECT_EQ(form.Width(), 326);
    EXPECT_EQ(form.Height(), 27);
    EXPECT_EQ(form.RecordedMode(), 1);  // a menu applies a size without recording it

    {
        platform::IniFile settings(SettingsFile());
        settings.WriteInteger("画面サイズ", "ListWidth", 5000);
        settings.WriteInteger("画面サイズ", "ListHeight", 100000);
        settings.WriteString("画面サイズ", "NormalWidth", "wide");
    }
    form.ListOnlyItem->Click();
    EXPECT_EQ(form.Width(), 5000);
    EXPECT_EQ(form.Height(), 100000);
    form.SetBounds(0, 0, 400, 300);
    form.NormalItem->Click();
    EXPECT_EQ(form.Width(), 400);  // no number: the present width
    EXPECT_EQ(form.Height(), 326);
    form.ApplyDisplayMode(3);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_EQ(form.Height(), 326);

    // MethodCombo follows the window's width.
    form.SetWidth(700);
    EXPECT_EQ(form.MethodCombo->Width(), form.Panel1->Width() - 410 - 10);
}

TEST_F(CodeFormTest, CaptionDoubleClickStepsFromTheRecordedMode)
{
    quorlin::TCodeForm& form = CreateForm();
    form.K6->Click();  // normal size shown, routine list still recorded
    form.CaptionDoubleClick();
    EXPECT_EQ(form.RecordedMode(), 0);
    EXPECT_EQ(form.Width(), 326);
    EXPECT_EQ(form.Height(), 27);
    form.CaptionDoubleClick();
    EXPECT_EQ(form.RecordedMode(), 2);
    EXPECT_EQ(form.Height(), 326);
    form.CaptionDoubleClick();
    EXPECT_EQ(form.RecordedMode(), 1);
    EXPECT_EQ(form.Height(), 88);

    desktop.QueuePopupChoice("NormalItem");
    EXPECT_TRUE(form.CaptionRightButtonDown({-5, 700}));
    EXPECT_EQ(desktop.Popups(), (Lines{"CtrlMenu"}));
    EXPECT_EQ(desktop.PopupPositions(), (std::vector<tk::Point>{{-5, 700}}));
    EXPECT_EQ(form.Height(), 326);
}

TEST_F(CodeFormTest, HidingTheMenuBarDisablesItsShortcuts)
{
    quorlin::TCodeForm& form = CreateForm();
    form.Show();
    form.DispatchKey(tk::VK_F12, 0);  // no unit: the unit command answers with its message
    EXPECT_EQ(MessageTexts(), (Lines{"ファイルが開いていません。"}));

    form.MenuDisplay->Click();
    EXPECT_FALSE(form.MenuDisplay->Checked());
    for (tk::MenuItem* item : {form.FileMenu, form.EditMenu, form.DispMenu, form.InsertCodeMenu, form.CodeWindowMenu,
                               form.UpdateMenu, form.Help1})
        EXPECT_FALSE(item->Visible()) << item->Name();
    EXPECT_TRUE(form.Help1->Enabled());
    EXPECT_FALSE(form.CodeWindowMenu->Enabled());
    EXPECT_FALSE(form.InsertCodeMenu->Enabled());
    form.DispatchKey(tk::VK_F12, 0);
    EXPECT_EQ(desktop.Messages().size(), 1u);
    // The pop-up menu still works.
    desktop.QueuePopupChoice("MenuDisplay");
    form.CaptionRightButtonDown({10, 10});

    EXPECT_TRUE(form.MenuDisplay->Checked());
    EXPECT_TRUE(form.CodeWindowMenu->Visible());
    EXPECT_TRUE(form.CodeWindowMenu->Enabled());
    form.DispatchKey(tk::VK_F12, 0);
    EXPECT_EQ(desktop.Messages().size(), 2u);
}

TEST_F(CodeFormTest, FocusFrameAroundTheFocusedControl)
{
    quorlin::TCodeForm& form = CreateForm();
    form.Show();
    form.MethodCombo->SetFocus();
    EXPECT_EQ(form.FocusPanel->Parent(), form.Panel1);
    EXPECT_EQ(form.FocusPanel->Bounds(), (tk::Rect{form.MethodCombo->Left() - 2, 4, form.MethodCombo->Width() + 4,
                                                   form.MethodCombo->Height() + 4}));
    EXPECT_EQ(form.FocusPanel->GetColor(), tk::RGB(255, 255, 0));
    EXPECT_EQ(form.Panel1->Controls().front(), form.FocusPanel);  // behind its siblings

    form.Memo1->SetFocus();
    EXPECT_EQ(form.FocusPanel->Parent(), form.Panel2);
    EXPECT_EQ(form.FocusPanel->Bounds(), (tk::Rect{form.Memo1->Left() - 2, form.Memo1->Top() - 2,
                                                   form.Memo1->Width() + 4, form.Memo1->Height() + 4}));
    EXPECT_EQ(form.FocusPanel->GetColor(), tk::RGB(255, 255, 0));

    form.TreeView1->SetFocus();  // the memo's exit hides the frame; the tree gets none
    EXPECT_EQ(form.FocusPanel->GetColor(), tk::clBtnFace);
    EXPECT_EQ(form.FocusPanel->Parent(), form.Panel2);
    EXPECT_EQ(form.FocusPanel->Left(), form.Memo1->Left() - 2);
}

}  // namespace

TEST_F(CodeFormTest, EveryToolWindowOfAProcessKeepsItsPlaceInOneSection)
{
    tk::Application& application = tk::Application::Instance();
    application.SetTitle("");  // as the host starts: the first window sets the title while it is created
    quorlin::TCodeForm& first = CreateForm();
    first.Show();
    first.SetBounds(123, 45, 500, 300);
    std::string section = first.WinSave1->Section();
    first.Close();
    application.ProcessMessages();

    quorlin::TCodeForm& second = CreateForm();
    EXPECT_EQ(second.WinSave1->Section(), section);
    second.Show();
    EXPECT_EQ(second.Bounds(), (tk::Rect{123, 45, 500, 300}));
    platform::IniFile places(folder.Path() + "/SysForm.ini");
    EXPECT_EQ(places.ReadSections(), (Lines{section}));
}

TEST_F(CodeFormTest, HandlersDoNothingWhileTheWindowIsNotTheToolWindow)
{
    quorlin::TCodeForm& form = CreateForm();
    form.Show();
    form.MethodCombo->SetFocus();
    tk::Rect bounds = form.Bounds();
    tk::Rect frame = form.FocusPanel->Bounds();
    tk::Color frameColour = form.FocusPanel->GetColor();
    int comboWidth = form.MethodCombo->Width();

    quorlin::CodeForm = nullptr;  // as between its closing and its release
    form.NormalItemClick(form.MinItem);
    form.CaptionDoubleClick();
    form.MenuDisplayClick(form.MenuDisplay);
    form.Memo1Enter(form.Memo1);
    form.UnitComboExit(form.MethodCombo);
    form.SetWidth(bounds.Width + 100);  // FormResize
    quorlin::CodeForm = &form;

    EXPECT_EQ(form.Height(), bounds.Height);
    EXPECT_EQ(form.RecordedMode(), 1);
    EXPECT_TRUE(form.MenuDisplay->Checked());
    EXPECT_EQ(form.FocusPanel->Parent(), form.Panel1);
    EXPECT_EQ(form.FocusPanel->Bounds(), frame);
    EXPECT_EQ(form.FocusPanel->GetColor(), frameColour);
    EXPECT_EQ(form.MethodCombo->Width(), comboWidth);
}
