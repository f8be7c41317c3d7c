// The sequence by which a command opens the unit it works on.

#include "controls/ComboBoxEx.h"
#include "host/Globals.h"
#include "platform/Cp932.h"
#include "services/HourGlass.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

hostapi::HostRef<hostapi::TIModuleInterface> TCodeForm::OpenCommandUnit(const std::string& fileName,
                                                                        const UnitOpenSteps& steps)
{
    using Module = hostapi::HostRef<hostapi::TIModuleInterface>;
    if (!CodeForm || !ToolServices)
        return Module();
    if (steps.CheckEmptyName && fileName.empty()) {
        tk::ShowMessage("ファイルが開いていません。");
        if (steps.ClearListsOnFailure)
            ClearUnitLists();
        return Module();
    }
    if (steps.CheckFormFile && platform::ContainsText(platform::UpperCase(fileName), ".DFM")) {
        tk::ShowMessage("コードウインドウをアクティブにして下さい。");
        return Module();
    }
    if (!ToolServices->IsFileOpen(fileName) && !ToolServices->OpenFile(fileName)) {
        tk::ShowMessage("ファイルを開くことができません。");
        if (steps.ClearListsOnFailure)
            ClearUnitLists();
        return Module();
    }
    if (steps.ClearRoutinesWhenOpen)
        MethodCombo->Items().Clear();
    return Module(ToolServices->GetModuleInterface(fileName));
}

void TCodeForm::ReadUnitText(hostapi::TIModuleInterface& module, const UnitTextWork& work)
{
    HourGlass hourGlass;
    hostapi::HostRef<hostapi::TIEditorInterface> editor(module.GetEditorInterface());
    if (!editor)
        return;
    hostapi::HostRef<hostapi::TIEditView> view(editor->GetView(0));
    hostapi::HostRef<hostapi::TIEditReader> reader(editor->CreateReader());
    if (!reader)
        return;
    work(*editor.Get(), view.Get(), *reader.Get());
}

}  // namespace quorlin
