#pragma once
// The tool window: the unit and routine lists, the task tree and memo, its menus, its three display
// modes and the date in its caption.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hostapi/HostRef.h"
#include "hostapi/ToolIntf.h"
#include "tasks/NewTreeView.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/Strings.h"

namespace quorlin {

class TAcceptFile;
class TComboBoxEx;
class TMemoEx;
class TMessageCtrl;
class TMRUEx;
class TTrayFace;
class TWinSave;

// Which of the checks that open a command's unit a command takes, and what a failure empties.
struct UnitOpenSteps {
    bool CheckEmptyName = true;
    bool CheckFormFile = true;
    // An empty name or a unit that cannot be opened empties both lists.
    bool ClearListsOnFailure = false;
    // Once the unit is open, the routine list is emptied before the module is asked for.
    bool ClearRoutinesWhenOpen = false;
};

// The work done on an opened unit; view may be nil.
using UnitTextWork = std::function<void(hostapi::TIEditorInterface& editor, hostapi::TIEditView* view,
                                        hostapi::TIEditReader& reader)>;

struct DateTime;

// The text drawn into the caption: the date in the short date format and the weekday in kanji.
std::string CaptionDateText(const DateTime& date);

class TCodeForm : public tk::Form {
public:
    explicit TCodeForm(tk::Component* owner);
    ~TCodeForm() override;

    // Layout.
    tk::Panel* Panel1;
    TComboBoxEx* UnitCombo;
    TComboBoxEx* MethodCombo;
    tk::Panel* Panel2;
    TTreeViewEx* TreeView1;
    tk::Splitter* SplitPanel1;
    TMemoEx* Memo1;
    tk::Panel* FocusPanel;
    tk::SaveDialog* SaveDialog1;
    tk::OpenDialog* OpenDialog1;
    tk::SaveDialog* TextSaveDialog;
    TAcceptFile* AcceptFile1;
    TMRUEx* ProjectMRU;
    TMRUEx* JumpMRU;
    TMRUEx* NewMRU;
    TWinSave* WinSave1;
    TMessageCtrl* MessageCtrl1;
    TTrayFace* TrayFace1;

    // Menu bar.
    tk::MainMenu* MainMenu1;
    tk::MenuItem* FileMenu;
    tk::MenuItem* ProjectHistoryMenu;
    tk::MenuItem* K5;
    tk::MenuItem* New1;
    tk::MenuItem* K1;
    tk::MenuItem* Save1;
    tk::MenuItem* SaveAs1;
    tk::MenuItem* Close1;
    tk::MenuItem* EditMenu;
    tk::MenuItem* ChaneNameMenuItem;
    tk::MenuItem* N1;
    tk::MenuItem* FullCollapse1;
    tk::MenuItem* FullExpand1;
    tk::MenuItem* JumpMethodMenu;
    tk::MenuItem* JumpHistoryMenu;
    tk::MenuItem* MethodSortMenu;
    tk::MenuItem* MethodNoSort;
    tk::MenuItem* MethodSort;
    tk::MenuItem* MenuModifyLink;
    tk::MenuItem* ClearMemoItem;
    tk::MenuItem* SaveMemoItem;
    tk::MenuItem* DispMenu;
    tk::MenuItem* OpenAll;
    tk::MenuItem* CloseUnitMenuItem;
    tk::MenuItem* PropertyListMenuItem;
    tk::MenuItem* CompoDisplayMenu;
    tk::MenuItem* VerMenu;
    tk::MenuItem* K2;
    tk::MenuItem* K4;
    tk::MenuItem* K6;
    tk::MenuItem* MenuVerDisp;
    tk::MenuItem* InsertCodeMenu;
    tk::MenuItem* K8;
    tk::MenuItem* InsertClass;
    tk::MenuItem* MethodMenuItem;
    tk::MenuItem* ExchangeMenuItem;
    tk::MenuItem* N10;
    tk::MenuItem* RyCtrlGridMenuItem;
    tk::MenuItem* TRyDimItemMenu;
    tk::MenuItem* UpdateMenu;
    tk::MenuItem* CodeWindowMenu;
    tk::MenuItem* Help1;
    tk::MenuItem* VersionMenu;

    // Pop-up menu of both combos and the caption.
    tk::PopupMenu* CtrlMenu;
    tk::MenuItem* ProjectCtrlMenu;
    tk::MenuItem* MinItem;
    tk::MenuItem* ListOnlyItem;
    tk::MenuItem* NormalItem;
    tk::MenuItem* JumpCtrMenu;
    tk::MenuItem* MenuDisplay;
    tk::MenuItem* UpDateCtrlMenu;
    tk::MenuItem* VerCtrlMenu;

    // Fields.
    std::string TaskFileName = "NoName";
    int32_t JumpCount = 0;
    uint8_t RecordedMode() const { return recordedMode_; }
    void SetRecordedMode(uint8_t mode) { recordedMode_ = mode; }

    // Window events, display modes and the caption.
    void FormCreate(tk::Component* sender);
    void FormClose(tk::Component* sender, tk::CloseAction& action);
    void FormResize(tk::Component* sender);
    void ApplyDisplayMode(int mode);
    void NormalItemClick(tk::Component* sender);
    void MenuDisplayClick(tk::Component* sender);
    void Memo1Enter(tk::Component* sender);
    void UnitComboExit(tk::Component* sender);
    void DrawCaptionDate();
    // Gives the window the focus: a visible window comes to the front.
    void FocusWindow();
    void CaptionDoubleClick() override;
    bool CaptionRightButtonDown(tk::Point screen) override;
    void PaintCaption() override;

    // Routine scanner. Lines from startLine on (0-based) are listed; startOffset, when not -1, is
    // where that line starts, so the lines before need not be read again.
    void ListRoutines(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader, int32_t startLine,
                      int32_t startOffset = -1);
    void MethodNoSortClick(tk::Component* sender);

    // Unit list and unit switching.
    void MakeUnitList();
    void OpenUnit(const std::string& fileName);
    void UnitComboClick(tk::Component* sender);
    void CodeWindowMenuClick(tk::Component* sender);
    void UpdateMenuClick(tk::Component* sender);
    void OpenAllClick(tk::Component* sender);
    void CloseUnitMenuItemClick(tk::Component* sender);
    void FileEditKeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);
    void ClearUnitLists();

    // Opening the unit a command works on: the file checks with their messages, then the module,
    // empty after a failure.
    hostapi::HostRef<hostapi::TIModuleInterface> OpenCommandUnit(const std::string& fileName,
                                                                 const UnitOpenSteps& steps);
    // With the hourglass shown, runs work on the module's editor, view 0 and a reader, and releases
    // them in reverse order. Nothing runs without an editor or a reader.
    void ReadUnitText(hostapi::TIModuleInterface& module, const UnitTextWork& work);

    // Routine jump and histories.
    bool JumpMethod(const std::string& fileName, const std::string& routineText);
    void MethodComboSelect(tk::Component* sender);
    void JumpHistoryMenuClick(tk::Component* sender);
    void ProjectHistoryMenuClick(tk::Component* sender);

    // Routine list report.
    void K5Click(tk::Component* sender);

    // Class and method definitions.
    void InsertClassClick(tk::Component* sender);
    void MethodMenuItemClick(tk::Component* sender);

    // Task tree, memos and task file.
    std::string CurrentNodeText;
    bool LabelEditing = false;
    void OpenTaskFile(const std::string& name);
    void SaveTaskFile(const std::string& newName, const std::string& oldName);
    std::string LinkedFileName(const std::string& nodeText);
    void SetLinkedFileName(const std::string& nodeText, const std::string& fileName);
    // Writes the memo's changes to the linked file of the node it shows; false when that failed
    // or the user said no (the changes then stay pending).
    bool SaveMemoChanges();
    // True when the file is the current task file or its detail file, which hold no node's notes.
    bool IsTaskFileOrDetail(const std::string& fileName) const;
    // False, with the reason shown, when the node text can have no link or the file be none.
    bool CanLink(const std::string& nodeText, const std::string& fileName);
    void TreeView1KeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);
    void TreeView1KeyPress(tk::Component* sender, char& key);
    void TreeView1Editing(tk::Component* sender, tk::TreeNode* node, bool& allowEdit);
    void TreeView1Edited(tk::Component* sender, tk::TreeNode* node, std::string& text);
    void TreeView1EditCancel(tk::Component* sender, tk::TreeNode* node);
    void TreeView1NewEditCancel(tk::Component* sender, tk::TreeNode* node, bool& deleteNode);
    void TreeView1Changing(tk::Component* sender, tk::TreeNode* node, bool& allowChange);
    void TreeView1Change(tk::Component* sender);
    void TreeView1DragOver(tk::Component* sender, tk::Component* source, int x, int y, bool& accept);
    void TreeView1DragDrop(tk::Component* sender, tk::Component* source, int x, int y);
    void TreeView1DblClick(tk::Component* sender);
    void Memo1KeyPress(tk::Component* sender, char& key);
    void Memo1KeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);
    void New1Click(tk::Component* sender);
    void K1Click(tk::Component* sender);
    void Save1Click(tk::Component* sender);
    void SaveAs1Click(tk::Component* sender);
    void Close1Click(tk::Component* sender);
    void FullExpand1Click(tk::Component* sender);
    void FullCollapse1Click(tk::Component* sender);

    // Linked files, memo files and dropped files.
    void MenuModifyLinkClick(tk::Component* sender);
    void ClearMemoItemClick(tk::Component* sender);
    void SaveMemoItemClick(tk::Component* sender);
    // False when the file could not be read; the drop's remaining files are then left.
    bool AcceptFile1DropFile(const std::string& fileName);
    // Replaces the memo's text with the file's, or with its beginning when it is longer than the
    // memo loads (the user is told). False, with the message shown, when it cannot be read.
    bool LoadMemoFromFile(const std::string& fileName);

    // Form tools. ListSelectedProperties appends the properties of the component selected in the
    // designer (names and type words, entry k of both lists together).
    void ListSelectedProperties(tk::Strings& typeWords, tk::Strings& propNames);
    void N1Click(tk::Component* sender);
    void SearchComponents(const std::string& unitFile, const std::vector<std::string>& classNames);
    void ChaneNameMenuItemClick(tk::Component* sender);
    void PropertyListMenuItemClick(tk::Component* sender);
    void CompoDisplayMenuClick(tk::Component* sender);

    // Data-access code.
    void N10Click(tk::Component* sender);
    void RyCtrlGridMenuItemClick(tk::Component* sender);
    void TRyDimItemMenuClick(tk::Component* sender);

    // Version record, its check mark on project close, and the about box.
    void VerMenuClick(tk::Component* sender);
    void MenuVerDispClick(tk::Component* sender);
    void VersionMenuClick(tk::Component* sender);

    // Code insertion and the assignment swapper.
    void InsertButtonClick(tk::Component* sender);
    void ExchangeMenuItemClick(tk::Component* sender);

    // Messages from other programs and the notification-area icon.
    void MessageCtrl1ReceiveMessage(const std::string& from, const std::string& command, const std::string& kind);
    void TrayFace1Click(tk::Component* sender, tk::MouseButton button, tk::ShiftState shift, int x, int y);

protected:
    void TextChanged() override;

private:
    // Chains the form in front of the application's idle and deactivation handlers and puts the
    // previous ones back when the form goes, also when its creation fails.
    // The application's idle and deactivation hooks, chained in front of those found. Going away,
    // they take themselves out of the chains wherever they are, so windows may close in any order.
    class ApplicationHooks {
    public:
        ~ApplicationHooks();
        void Install(TCodeForm* form);

    private:
        struct IdleHook;
        struct DeactivateHook;

        TCodeForm* form_ = nullptr;
        tk::NotifyEvent previousIdle_;
        tk::NotifyEvent previousDeactivate_;
    };

    void CreateLayout();
    void CreateMainMenu();
    void CreateCtrlMenu();
    void CreateTaskParts();
    void WireEvents();
    void WireTaskEvents();
    void PlaceFocusFrame(tk::Control* control);
    void WriteDefaultSizes();
    void CreateJumpHistoryFile();

    uint8_t recordedMode_ = 1;
    // Why the current task file was read only in part (empty when it was read whole): saving over
    // it then asks first, as the tree holds only the part read.
    std::string taskFilePartlyRead_;
    // The linked file of which the memo shows only the beginning: writing the memo over it asks.
    std::string memoPartOf_;
    // The line at which the reader's line limit ended the last routine scan; 0 when none did.
    int32_t longLineStop_ = 0;
    ApplicationHooks hooks_;
};

}  // namespace quorlin
