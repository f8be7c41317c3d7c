#pragma once
// An open document's text twice: as the client edits it (UTF-8) and as the file holds it (its
// encoding), each with the offsets where its lines start. A change costs the lines it touches, not
// the unit: in a big unit the client's every keystroke comes as one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TextEncoding.h"

namespace lsp {

class DocumentText {
public:
    DocumentText() = default;
    DocumentText(std::string text, FileEncoding encoding);

    // The byte offset of a position in the client's columns; a column past its line's end means
    // the end of the line, a line past the end the end of the text.
    size_t OffsetOf(uint32_t line, uint32_t column, ColumnUnit unit) const;
    // Replaces [start, end) of the client's text, offsets at characters' starts with start <= end.
    void Replace(size_t start, size_t end, std::string_view text);
    void ReplaceAll(std::string text);

    const std::string& Text() const { return text_; }
    // The file's bytes of the text.
    const std::string& Bytes() const { return bytes_; }
    FileEncoding Encoding() const { return encoding_; }
    // The offset in Text of the first character the file cannot hold, which became '?' in Bytes;
    // npos when there is none.
    size_t Lost() const { return lost_; }
    // The 0-based line of an offset of Text; where a line starts (the text's end past the last).
    uint32_t LineOf(size_t offset) const;
    size_t LineStart(uint32_t line) const { return line < textStarts_.size() ? textStarts_[line] : text_.size(); }

private:
    // The offset in Bytes of an offset of Text.
    size_t ByteOffsetOf(size_t offset) const;
    void EncodeAll();

    std::string text_;
    std::vector<size_t> textStarts_{0};
    FileEncoding encoding_;
    std::string bytes_;
    // Code page 932 only: its line breaks are those of the text, its offsets not.
    std::vector<size_t> byteStarts_{0};
    size_t lost_ = std::string::npos;
};

// The line of text that starts at start, without its line break.
std::string_view LineInText(std::string_view text, size_t start);
// The offsets where the lines of text start: 0, and after each CR LF, lone LF and lone CR.
std::vector<size_t> LineStarts(std::string_view text);
// Takes a change into starts: text (as it is after the change) had [start, end) replaced by length
// bytes. Only the starts from start to the end of the new bytes are looked for again.
void UpdateLineStarts(std::vector<size_t>& starts, std::string_view text, size_t start, size_t end, size_t length);

}  // namespace lsp
