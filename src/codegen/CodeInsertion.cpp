// Inserting the memo's text into the current unit in front of the cursor's line.

#include "controls/MemoEx.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

void TCodeForm::InsertButtonClick(tk::Component*)
{
    if (!ToolServices || !CodeForm)
        return;
    UnitOpenSteps steps;
    steps.ClearListsOnFailure = true;
    auto module = OpenCommandUnit(ToolServices->GetCurrentFile(), steps);
    if (!module)
        return;
    hostapi::HostRef<hostapi::TIEditorInterface> editor(module->GetEditorInterface());
    if (!editor)
        return;
    hostapi::HostRef<hostapi::TIEditView> view(editor->GetView(0));
    if (!view)
        return;
    int32_t line = view->GetPos(0).Line;
    hostapi::HostRef<hostapi::TIEditReader> reader(editor->CreateReader());
    int32_t offset = 0;
    if (!reader || !LineStartOffset(reader.Get(), line, offset))
        return;
    hostapi::HostRef<hostapi::TIEditWriter> writer(editor->CreateWriter());
    if (!writer)
        return;
    writer->CopyTo(offset);
    if (Memo1->SelLength() != 0) {
        writer->Insert(Memo1->SelText());
        return;
    }
    for (std::string_view text : Memo1->Lines())
        writer->Insert(std::string(text) + "\r\n");
}

}  // namespace quorlin
