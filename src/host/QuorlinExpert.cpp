#include "host/QuorlinExpert.h"

#include <exception>

#include "controls/ComboBoxEx.h"
#include "host/Globals.h"
#include "hostapi/HostRef.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "services/MruEx.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

// Asks the tool window to release itself; it must not be reached through CodeForm after that.
void ReleaseCodeForm()
{
    if (!CodeForm)
        return;
    CodeForm->Release();
    CodeForm = nullptr;
}

void ApplyListMode(TCodeForm& form)
{
    form.SetRecordedMode(1);
    form.ApplyDisplayMode(1);
}

}  // namespace

void TerminateProc()
{
    ReleaseCodeForm();
}

TQuorlinExpert::TQuorlinExpert()
{
    if (!ToolServices)
        return;
    InsertMenuItems();
    Notifier = new TAddInNotifier(this);
    ToolServices->AddNotifier(Notifier);
}

void TQuorlinExpert::InsertMenuItems()
{
    using hostapi::HostRef;
    using hostapi::TIMenuItemIntf;
    HostRef<hostapi::TIMainMenuIntf> mainMenu(ToolServices->GetMainMenu());
    if (!mainMenu)
        return;
    HostRef<TIMenuItemIntf> root(mainMenu->GetMenuItems());
    if (!root)
        return;
    HostRef<TIMenuItemIntf> editMenu(root->GetItem(1));
    if (!editMenu)
        return;
    HostRef<TIMenuItemIntf> lastItem(editMenu->GetItem(editMenu->GetItemCount() - 1));
    if (!lastItem)
        return;
    HostRef<TIMenuItemIntf> parent(lastItem->GetParent());
    if (!parent)
        return;
    SeparatorItem = parent->InsertItem(editMenu->GetIndex() + 1, "-", "EditCodeSepa1", "", 0, 0, 0,
                                       hostapi::mfVisible, nullptr);
    if (!SeparatorItem)
        return;
    QuorlinItem = parent->InsertItem(SeparatorItem->GetIndex() + 1, "Quorlin", "EditQuorlinItem", "",
                                     hostapi::scCtrl | tk::VK_F11, 0, 0, hostapi::mfEnabled | hostapi::mfVisible,
                                     [this](TIMenuItemIntf* sender) { QuorlinItemClick(sender); });
}

TQuorlinExpert::~TQuorlinExpert()
{
    if (Notifier) {
        if (ToolServices)
            ToolServices->RemoveNotifier(Notifier);
        Notifier->Release();
        Notifier = nullptr;
    }
    for (hostapi::TIMenuItemIntf** item : {&SeparatorItem, &QuorlinItem}) {
        if (*item) {
            (*item)->DestroyMenuItem();
            (*item)->Release();
            *item = nullptr;
        }
    }
    ReleaseCodeForm();
    if (Expert == this)
        Expert = nullptr;
}

void TQuorlinExpert::QuorlinItemClick(hostapi::TIMenuItemIntf*)
{
    if (CodeForm) {
        CodeForm->Show();
        CodeForm->BringToFront();
        return;
    }
    try {
        CodeForm = new TCodeForm(&tk::Application::Instance());
    } catch (const std::exception& error) {
        tk::ShowMessage(error.what());
        return;
    }
    CodeForm->MakeUnitList();
    if (CodeForm->UnitCombo->ItemIndex() >= 0)
        CodeForm->OpenUnit(CodeForm->UnitCombo->Text());
    CodeForm->Show();
    ApplyListMode(*CodeForm);
    CodeForm->FocusWindow();
}

void TAddInNotifier::FileNotification(int notifyCode, const std::string& fileName, bool&)
{
    if (!ToolServices || !CodeForm || !quorlin::Expert)
        return;
    TCodeForm& form = *CodeForm;
    switch (notifyCode) {
    case hostapi::fnProjectOpened:
    case hostapi::fnAddedToProject:
        if (platform::UpperCase(platform::ExtractFileExt(fileName)) == ".PAS")
            return;
        form.ProjectMRU->AddItem("ProjectHistory", fileName);
        form.MakeUnitList();
        if (form.RecordedMode() != 0)
            ApplyListMode(form);
        form.FocusWindow();
        form.JumpCount = 0;
        break;
    case hostapi::fnProjectClosing:
        form.ProjectMRU->AddItem("ProjectHistory", fileName);
        if (form.MenuVerDisp->Checked())
            form.VerMenu->Click();
        form.MakeUnitList();
        if (form.RecordedMode() != 0) {
            ApplyListMode(form);
            form.FocusWindow();
        }
        form.JumpCount = 0;
        form.ClearUnitLists();
        break;
    default:
        break;
    }
}

void TAddInNotifier::EventNotification(int, bool&) {}

}  // namespace quorlin
