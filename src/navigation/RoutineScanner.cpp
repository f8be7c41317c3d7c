// The routine list: headers that start a line of the implementation section.

#include <string>

#include "controls/ComboBoxEx.h"
#include "host/BufferCtrl.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "platform/Cp932.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"
#include "toolkit/Strings.h"

namespace quorlin {

namespace {

constexpr std::string_view RoutineKeywords[] = {"PROCEDURE", "FUNCTION", "CONSTRUCTOR", "DESTRUCTOR"};

}  // namespace

void TCodeForm::ListRoutines(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                             int32_t startLine, int32_t startOffset)
{
    if (!CodeForm || !editor || !reader)
        return;
    longLineStop_ = 0;
    int32_t lineCount = editor->LinesInBuffer();
    if (lineCount < 1)
        return;
    TBufferCtrl buffer(reader, startOffset, startLine);
    std::string_view line;
    tk::Strings entries;
    std::string entry;
    for (int32_t i = buffer.LinesRead(); i < lineCount && buffer.ReadLine(line); ++i) {
        if (i < startLine)
            continue;
        std::string_view word = FirstWord(line);
        if (word.empty() || platform::ContainsText(word, "//") || platform::ContainsText(word, "(*"))
            continue;
        // Keyword tests as on upper-cased copies of the word and the line, without the copies.
        for (std::string_view keyword : RoutineKeywords) {
            if (!platform::ContainsTextIgnoreCase(word, keyword))
                continue;
            size_t at = platform::FindTextIgnoreCase(line, keyword);
            if (at == std::string::npos)
                continue;
            // The line without the keyword, leading blanks and control characters removed.
            std::string_view before = platform::TrimLeftView(line.substr(0, at));
            std::string_view after = line.substr(at + keyword.size());
            if (before.empty())
                after = platform::TrimLeftView(after);
            entries.Add(entry.assign(before).append(after));
        }
    }
    // Added at once: to a sorted list as one by one, without moving the list for each entry.
    MethodCombo->Items().AddStrings(std::move(entries));
    // The list ends where the reader's line limit stopped it; the user is told, not left to guess.
    longLineStop_ = buffer.StoppedAtLongLine() ? buffer.LinesRead() + 1 : 0;
    if (longLineStop_ > 0)
        tk::Application::Instance().GetDesktop().Notice(
            editor->FileName() + ":" + std::to_string(longLineStop_) + ": the routine list ends here: the line is "
            + std::to_string(TBufferCtrl::MaxLineLength - 1) + " bytes or longer");
}

void TCodeForm::MethodNoSortClick(tk::Component* sender)
{
    if (!CodeForm || !sender)
        return;
    bool sorted = sender->Name() != "MethodNoSort";
    MethodCombo->SetSorted(sorted);
    MethodNoSort->SetChecked(!sorted);
    MethodSort->SetChecked(sorted);
}

}  // namespace quorlin
