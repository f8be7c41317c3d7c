// The unit list and the commands that switch between units or act on all of them.

#include <memory>
#include <vector>

#include "controls/ComboBoxEx.h"
#include "formtools/UnitSelectFormUnit.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "platform/Cp932.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

void TCodeForm::MakeUnitList()
{
    if (!CodeForm || !ToolServices)
        return;
    UnitCombo->Items().Clear();
    int unitCount = ToolServices->GetUnitCount();
    std::vector<std::string> units;
    // The host is asked for one name past the last index as well; it is listed only if it names a unit.
    for (int i = 0; i <= unitCount; ++i) {
        std::string name = ToolServices->GetUnitName(i);
        if (platform::ContainsTextIgnoreCase(name, ".PAS"))
            units.push_back(std::move(name));
    }
    // Added at once: one change for the list's watchers instead of one per unit.
    UnitCombo->Items().AddStrings(std::move(units));
    UnitCombo->SetItemIndex(UnitCombo->Items().Empty() ? -1 : 0);
}

void TCodeForm::OpenUnit(const std::string& fileName)
{
    if (!CodeForm || fileName.empty())
        return;
    UnitOpenSteps steps;
    steps.CheckEmptyName = false;
    steps.ClearListsOnFailure = true;
    steps.ClearRoutinesWhenOpen = true;
    auto module = OpenCommandUnit(fileName, steps);
    if (!module)
        return;
    ReadUnitText(*module.Get(), [this](hostapi::TIEditorInterface& editor, hostapi::TIEditView*,
                                       hostapi::TIEditReader& reader) {
        int32_t startLine = 0;
        int32_t startOffset = -1;
        if (FindImplementationLine(&editor, &reader, startLine, &startOffset))
            ListRoutines(&editor, &reader, startLine, startOffset);
    });
}

void TCodeForm::UnitComboClick(tk::Component*)
{
    if (!CodeForm || UnitCombo->ItemIndex() < 0)
        return;
    MethodCombo->Items().Clear();
    OpenUnit(UnitCombo->Text());
    CodeWindowMenuClick(nullptr);
    MethodCombo->SetFocus();
}

void TCodeForm::CodeWindowMenuClick(tk::Component*)
{
    if (!CodeForm || !ToolServices)
        return;
    UnitOpenSteps steps;
    steps.CheckFormFile = false;
    steps.ClearListsOnFailure = true;
    auto module = OpenCommandUnit(UnitCombo->Text(), steps);
    if (!module)
        return;
    module->ShowSource();
    module.Reset();
    NormalItemClick(K4);
}

void TCodeForm::UpdateMenuClick(tk::Component*)
{
    if (!CodeForm)
        return;
    MakeUnitList();
    MethodCombo->Items().Clear();
    if (UnitCombo->ItemIndex() >= 0)
        OpenUnit(UnitCombo->Text());
    Repaint();
}

void TCodeForm::OpenAllClick(tk::Component*)
{
    if (!CodeForm || !ToolServices)
        return;
    for (const std::string& unit : UnitCombo->Items().Items()) {
        if (!ToolServices->IsFileOpen(unit) && !ToolServices->OpenFile(unit)) {
            tk::ShowMessage("ファイルを開くことができません。 :" + unit);
            return;
        }
    }
}

void TCodeForm::CloseUnitMenuItemClick(tk::Component*)
{
    if (!CodeForm || !ToolServices)
        return;
    UpdateMenuClick(nullptr);
    auto selectForm = std::make_unique<TUnitSelectForm>(this);
    for (std::string_view unit : UnitCombo->Items()) {
        if (ToolServices->IsFileOpen(std::string(unit)))
            selectForm->UnitListBox->Items().Add(unit);
    }
    if (selectForm->ShowModal() != tk::mrOk)
        return;
    tk::ListBox* list = selectForm->UnitListBox;
    for (int i = 0; i < list->Items().Count(); ++i) {
        if (list->Selected(i))
            ToolServices->CloseFile(std::string(list->Items()[i]));
    }
}

void TCodeForm::FileEditKeyDown(tk::Component* sender, uint16_t& key, tk::ShiftState shift)
{
    if (!CodeForm || !sender || (shift & tk::ssAlt))
        return;
    if (sender->Name() == "MethodCombo") {
        if (key == tk::VK_LEFT)
            UnitCombo->SetFocus();
    } else if (sender->Name() == "UnitCombo") {
        if (key == tk::VK_DOWN && (shift & tk::ssCtrl) && !UnitCombo->DroppedDown()) {
            TreeView1->SetFocus();
            // Left to the list, the key would also choose the next unit, whose click handler
            // takes the focus back to the routine list.
            key = 0;
        } else if (key == tk::VK_TAB || key == tk::VK_RIGHT) {
            MethodCombo->SetFocus();
        }
    }
}

void TCodeForm::ClearUnitLists()
{
    if (!CodeForm)
        return;
    for (TComboBoxEx* combo : {UnitCombo, MethodCombo}) {
        combo->SetText("");
        combo->Items().Clear();
    }
}

}  // namespace quorlin
