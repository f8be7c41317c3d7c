#include "host/EditorText.h"

#include "host/BufferCtrl.h"
#include "host/Globals.h"
#include "platform/Cp932.h"

namespace quorlin {

namespace {

bool CanRead(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader)
{
    return CodeForm && editor && reader;
}

// Reads one line a byte per host call from offset, which is advanced past its LF, and answers
// its first word. Bytes after the first blank cannot change the word, so they are not kept. False
// when the text had already ended.
bool ReadFirstWordBytewise(hostapi::TIEditReader* reader, int32_t& offset, std::string& head,
                           std::string_view& word)
{
    head.clear();
    bool blank = false;
    char c = 0;
    bool any = false;
    while (reader->GetText(offset, &c, 1) == 1) {
        ++offset;
        any = true;
        if (c == '\n') {
            break;
        }
        if (c == ' ') {
            blank = true;
        } else if (!blank) {
            head += c;
        }
    }
    if (!blank && !head.empty() && head.back() == '\r') {
        head.pop_back();
    }
    word = blank ? platform::TrimView(head) : std::string_view(head);
    return any;
}

}  // namespace

std::string_view FirstWord(std::string_view s)
{
    size_t blank = s.find(' ');
    if (blank == std::string_view::npos) {
        return s;
    }
    return platform::TrimView(s.substr(0, blank));
}

bool FindImplementationLine(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                            int32_t& line)
{
    if (!CanRead(editor, reader)) {
        return false;
    }
    static constexpr std::string_view keyword = "IMPLEMENTATION";
    int32_t lines = editor->LinesInBuffer();
    int32_t offset = 0;
    std::string head;
    std::string_view word;
    for (int32_t number = 1; number <= lines; ++number) {
        if (!ReadFirstWordBytewise(reader, offset, head, word)) {
            return false;
        }
        // The word is looked for inside the keyword, so "impl" or "a" qualify as well.
        if (!word.empty() && platform::ContainsTextIgnoreCase(keyword, word)) {
            line = number;
            return true;
        }
    }
    return false;
}

bool FindTextLine(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                  const std::string& text, int32_t& line)
{
    if (!CanRead(editor, reader) || text.empty()) {
        return false;
    }
    int32_t lines = editor->LinesInBuffer();
    if (lines <= line) {
        return false;
    }
    TBufferCtrl buffer(reader);
    std::string s;
    for (int32_t i = 0; i < lines && buffer.ReadLine(s); ++i) {
        if (i >= line && platform::ContainsText(s, text)) {
            line = i + 1;
            return true;
        }
    }
    return false;
}

void CopyEditorLines(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                     int32_t fromLine, int32_t toLine, tk::Strings& lines)
{
    if (!CanRead(editor, reader)) {
        return;
    }
    int32_t count = editor->LinesInBuffer();
    if (count <= fromLine) {
        return;
    }
    TBufferCtrl buffer(reader);
    std::string s;
    for (int32_t i = 0; i < count && i < toLine && buffer.ReadLine(s); ++i) {
        if (i >= fromLine - 1) {
            lines.Add(s);
        }
    }
}

bool LineStartOffset(hostapi::TIEditReader* reader, int32_t line, int32_t& offset)
{
    if (!CodeForm || !reader || line <= 1) {
        return false;
    }
    int32_t position = 0;
    int32_t counter = 1;
    char c = 0;
    while (reader->GetText(position, &c, 1) == 1) {
        ++position;
        if (c == '\n' && ++counter == line) {
            offset = position;
            return true;
        }
    }
    return false;
}

}  // namespace quorlin
