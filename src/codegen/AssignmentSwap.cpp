// Swapping the two sides of the assignments in the editor's block: the swapped copy goes into the
// memo and into the unit in front of the cursor's line.

#include <memory>

#include "codegen/ExchangeFormUnit.h"
#include "codegen/SplitAssignment.h"
#include "controls/MemoEx.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

namespace {

// Long lines of the memo stay unwrapped while the copy is made, and wrap again afterwards.
class WrapOff {
public:
    explicit WrapOff(tk::Memo& memo) : memo_(memo), wrapped_(memo.WordWrap()) { memo_.SetWordWrap(false); }
    ~WrapOff() { memo_.SetWordWrap(wrapped_); }
    WrapOff(const WrapOff&) = delete;
    WrapOff& operator=(const WrapOff&) = delete;

private:
    tk::Memo& memo_;
    bool wrapped_;
};

}  // namespace

void TCodeForm::ExchangeMenuItemClick(tk::Component*)
{
    if (!ToolServices || !CodeForm)
        return;
    UnitOpenSteps steps;
    steps.ClearListsOnFailure = true;
    auto module = OpenCommandUnit(ToolServices->GetCurrentFile(), steps);
    if (!module)
        return;
    std::string separator;
    {
        auto form = std::make_unique<TExchangeForm>(this);
        if (form->ShowModal() != tk::mrOk)
            return;
        separator = form->SeparatorEdit->Text();
    }
    WrapOff wrapOff(*Memo1);
    hostapi::HostRef<hostapi::TIEditorInterface> editor(module->GetEditorInterface());
    if (!editor)
        return;
    hostapi::HostRef<hostapi::TIEditView> view(editor->GetView(0));
    if (!view)
        return;
    int32_t line = view->GetPos(0).Line;
    int32_t blockStart = editor->GetBlockStart().Line;
    int32_t blockAfter = editor->GetBlockAfter().Line;
    hostapi::HostRef<hostapi::TIEditReader> reader(editor->CreateReader());
    int32_t offset = 0;
    if (!reader || !LineStartOffset(reader.Get(), line, offset))
        return;
    tk::Strings block;
    CopyEditorLines(editor.Get(), reader.Get(), blockStart, blockAfter - 1, block);

    std::vector<std::string> swapped;
    for (std::string_view text : block)
        swapped.push_back(SwapAssignment(text, separator));
    Memo1->Lines().Clear();
    Memo1->Lines().Assign(swapped);

    hostapi::HostRef<hostapi::TIEditWriter> writer(editor->CreateWriter());
    if (!writer)
        return;
    writer->CopyTo(offset);
    for (std::string_view text : Memo1->Lines())
        writer->Insert(std::string(text) + "\r\n");
}

}  // namespace quorlin
