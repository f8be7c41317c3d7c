#include "host/EditorText.h"

#include <algorithm>
#include <cstring>

#include "host/BufferCtrl.h"
#include "host/Globals.h"
#include "platform/Cp932.h"

namespace quorlin {

namespace {

bool CanRead(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader)
{
    return CodeForm && editor && reader;
}

// The first word of a line from its bytes up to the first blank (all of them when blank is false).
std::string_view WordOf(std::string_view head, bool blank)
{
    if (blank) {
        return platform::TrimView(head);
    }
    if (!head.empty() && head.back() == '\r') {
        head.remove_suffix(1);
    }
    return head;
}

bool IsImplementationWord(std::string_view word)
{
    // The word is looked for inside the keyword, so "impl" or "a" qualify as well.
    static constexpr std::string_view keyword = "IMPLEMENTATION";
    return !word.empty() && word.size() <= keyword.size() && platform::ContainsTextIgnoreCase(keyword, word);
}

}  // namespace

std::string_view FirstWord(std::string_view s)
{
    // Most lines are indented or start with a short word: an inline search finds the blank
    // sooner than a library call would.
    auto blank = std::find(s.begin(), s.end(), ' ');
    if (blank == s.end()) {
        return s;
    }
    return platform::TrimView(std::string_view(s.begin(), blank));
}

bool FindImplementationLine(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                            int32_t& line, int32_t* nextOffset)
{
    if (!CanRead(editor, reader)) {
        return false;
    }
    // Read in blocks; only the bytes before a line's first blank are kept.
    int32_t lines = editor->LinesInBuffer();
    char block[TBufferCtrl::BufferSize];
    int32_t offset = 0;
    size_t index = 0;
    size_t count = 0;
    std::string head;
    bool blank = false;
    bool started = false;  // bytes of the current line were read
    // Whether a TBufferCtrl from the top would hand out every line up to here; then reading can
    // go on after the implementation line. A line that spans two blocks is gathered in partial.
    bool readable = true;
    size_t lineBytes = 0;
    std::string partial;
    for (int32_t number = 1; number <= lines;) {
        if (index == count) {
            int got = reader->GetText(offset, block, TBufferCtrl::BufferSize);
            if (got <= 0) {
                // The text ended; a last line without a line break counts as well.
                if (started && IsImplementationWord(WordOf(head, blank))) {
                    line = number;
                    if (nextOffset) {
                        *nextOffset = -1;
                    }
                    return true;
                }
                return false;
            }
            count = static_cast<size_t>(std::min(got, TBufferCtrl::BufferSize));
            offset += static_cast<int32_t>(count);
            index = 0;
        }
        const char* start = block + index;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', count - index));
        size_t length = lf ? static_cast<size_t>(lf - start) : count - index;
        index += lf ? length + 1 : length;
        bool whole = !started && lf;  // the line lies in this block
        started = true;
        std::string_view word;
        if (!blank) {
            // Inline, as in FirstWord: the blank is mostly near the line's start.
            const char* space = std::find(start, start + length, ' ');
            size_t taken = static_cast<size_t>(space - start);
            if (head.empty() && lf) {
                word = WordOf(std::string_view(start, taken), taken < length);
            } else {
                head.append(start, taken);
            }
            blank = taken < length;
        }
        if (readable) {
            lineBytes += lf ? length + 1 : length;
            readable = lineBytes <= static_cast<size_t>(TBufferCtrl::MaxLineLength);
            if (readable && !whole) {
                partial.append(start, length);
            }
        }
        if (!lf) {
            continue;
        }
        if (readable) {
            readable = !TBufferCtrl::IsEndLine(whole ? std::string_view(start, length) : partial);
        }
        if (word.data() == nullptr) {
            word = WordOf(head, blank);
        }
        if (IsImplementationWord(word)) {
            line = number;
            if (nextOffset) {
                *nextOffset = readable ? offset - static_cast<int32_t>(count - index) : -1;
            }
            return true;
        }
        head.clear();
        blank = false;
        started = false;
        lineBytes = 0;
        partial.clear();
        ++number;
    }
    return false;
}

bool FindTextLine(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                  const std::string& text, int32_t& line, int32_t startOffset)
{
    if (!CanRead(editor, reader) || text.empty()) {
        return false;
    }
    int32_t lines = editor->LinesInBuffer();
    if (lines <= line) {
        return false;
    }
    TBufferCtrl buffer(reader, startOffset, line);
    std::string_view s;
    for (int32_t i = buffer.LinesRead(); i < lines && buffer.ReadLine(s); ++i) {
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
