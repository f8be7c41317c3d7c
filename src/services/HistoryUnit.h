#pragma once
// The modal picker for an entry of the project history or of the jump history.

#include <string>

#include "controls/PanelEx.h"
#include "services/MruEx.h"
#include "services/WinSave.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

class THistoryForm : public tk::Form {
public:
    // The tool window's project and jump histories; not owned.
    THistoryForm(tk::Component* owner, TMRUEx* projectMru, TMRUEx* jumpMru);

    // Fill the picker; false when the history is empty.
    bool LoadProjects();
    bool LoadJumps();
    // The chosen entry after the modal run; empty when nothing was chosen.
    const std::string& Result() const { return result_; }

    tk::ListBox* HistoryList;
    tk::Panel* Panel1;
    TPanelEx* SortPanel;
    TPanelEx* OpenPanel;
    TPanelEx* ClosePanel;
    TWinSave* WinSave1;

    int Kind = 0;  // 0: project history, 1: jump history
    bool Sorted = false;

    void FormActivate(tk::Component* sender);
    void FormShow(tk::Component* sender);
    void HistoryListKeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift);
    void HistoryListDblClick(tk::Component* sender);
    void OpenPanelClick(tk::Component* sender);
    void ClosePanelClick(tk::Component* sender);
    void SortPanelClick(tk::Component* sender);

private:
    bool Fill(TMRUEx* mru, const std::string& section);
    void Refill();
    void Choose();
    void Cancel();
    void ToggleSort();

    TMRUEx* projectMru_;
    TMRUEx* jumpMru_;
    std::string result_;
};

}  // namespace quorlin
