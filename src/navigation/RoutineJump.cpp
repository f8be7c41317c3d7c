// Moving the editor to a routine, and the jump and project histories.

#include <memory>

#include "controls/ComboBoxEx.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "services/HistoryUnit.h"
#include "services/MruEx.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

bool TCodeForm::JumpMethod(const std::string& fileName, const std::string& routineText)
{
    if (!CodeForm || !ToolServices || routineText.empty())
        return false;
    auto module = OpenCommandUnit(fileName, UnitOpenSteps{});
    if (!module)
        return false;
    bool result = false;
    ReadUnitText(*module.Get(), [&](hostapi::TIEditorInterface& editor, hostapi::TIEditView* view,
                                    hostapi::TIEditReader& reader) {
        int32_t line = 0;
        int32_t nextOffset = -1;
        if (!view || !FindImplementationLine(&editor, &reader, line, &nextOffset) || MethodCombo->ItemIndex() < 0 ||
            !FindTextLine(&editor, &reader, routineText, line, nextOffset))
            return;
        hostapi::TEditPos position;
        position.Col = 1;
        position.Line = line;
        view->SetPos(1, position);
        view->SetPos(0, position);
        JumpMRU->AddItem("MethodJumpHistory", routineText);
        ++JumpCount;
        result = true;
    });
    return result;
}

void TCodeForm::MethodComboSelect(tk::Component*)
{
    if (!CodeForm)
        return;
    JumpMethod(UnitCombo->Text(), MethodCombo->Text());
    recordedMode_ = 1;
    ApplyDisplayMode(1);
    CodeWindowMenuClick(nullptr);
}

void TCodeForm::JumpHistoryMenuClick(tk::Component*)
{
    if (!CodeForm || JumpCount == 0)
        return;
    auto picker = std::make_unique<THistoryForm>(this, ProjectMRU, JumpMRU);
    recordedMode_ = 1;
    ApplyDisplayMode(1);
    FocusWindow();
    if (!picker->LoadJumps())
        return;
    picker->ShowModal();
    if (picker->Result().empty() || !ToolServices)
        return;
    if (JumpMethod(UnitCombo->Text(), picker->Result())) {
        NormalItemClick(K4);
        CodeWindowMenuClick(nullptr);
    }
}

void TCodeForm::ProjectHistoryMenuClick(tk::Component*)
{
    if (!CodeForm)
        return;
    auto picker = std::make_unique<THistoryForm>(this, ProjectMRU, JumpMRU);
    recordedMode_ = 1;
    ApplyDisplayMode(1);
    FocusWindow();
    if (!picker->LoadProjects())
        return;
    picker->ShowModal();
    if (picker->Result().empty() || !ToolServices)
        return;
    ToolServices->OpenProject(picker->Result());
    NormalItemClick(K4);
}

}  // namespace quorlin
