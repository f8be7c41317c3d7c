// The tool window's commands that turn a described class or a list of methods into source text.

#include <memory>

#include "codegen/ClassSource.h"
#include "codegen/MakeClassUnit.h"
#include "codegen/MethodFormUnit.h"
#include "codegen/MethodSource.h"
#include "controls/ComboBoxEx.h"
#include "controls/MemoEx.h"
#include "controls/RyCtrlGrid.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

void TCodeForm::InsertClassClick(tk::Component*)
{
    if (!CodeForm)
        return;
    auto form = std::make_unique<TMakeClassForm>(this);
    if (form->ShowModal() != tk::mrOk)
        return;
    if (!form->UnitFileName().empty()) {
        if (ToolServices) {
            ToolServices->CreateModule(form->UnitFileName(), "", "",
                                       hostapi::cmAddToProject | hostapi::cmShowSource | hostapi::cmExisting);
        }
        return;
    }
    // All lines in one change, so the memo is drawn once.
    Memo1->Lines().AddStrings(ClassDefinitionLines(*form->PropGrid, form->Description()));
}

void TCodeForm::MethodMenuItemClick(tk::Component*)
{
    if (!CodeForm)
        return;
    auto form = std::make_unique<TMethodForm>(this);
    if (form->ShowModal() != tk::mrOk)
        return;
    Memo1->Lines().AddStrings(MethodDefinitionLines(*form->MethodGrid, form->ClassNameList->Text()));
}

}  // namespace quorlin
