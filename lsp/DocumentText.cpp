#include "DocumentText.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace lsp {

namespace {

// Whether a line starts at offset at of text: its bytes before at and at decide.
bool IsLineStart(std::string_view text, size_t at)
{
    if (at == 0)
        return true;
    char before = text[at - 1];
    return before == '\n' || (before == '\r' && (at == text.size() || text[at] != '\n'));
}

std::string_view LineAt(std::string_view text, size_t start)
{
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    return text.substr(start, end - start);
}

}  // namespace

std::string_view LineInText(std::string_view text, size_t start)
{
    size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::vector<size_t> LineStarts(std::string_view text)
{
    std::vector<size_t> starts{0};
    for (size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c != '\n' && c != '\r')
            continue;
        if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        starts.push_back(at + 1);
    }
    return starts;
}

void UpdateLineStarts(std::vector<size_t>& starts, std::string_view text, size_t start, size_t end, size_t length)
{
    // A start before start, or after end + 1, depends on bytes the change left alone.
    auto first = std::lower_bound(starts.begin(), starts.end(), start);
    auto last = std::upper_bound(first, starts.end(), end);
    for (auto kept = last; kept != starts.end(); ++kept)
        *kept = *kept - (end - start) + length;
    std::vector<size_t> fresh;
    for (size_t at = start; at <= start + length; ++at) {
        if (IsLineStart(text, at))
            fresh.push_back(at);
    }
    size_t from = static_cast<size_t>(first - starts.begin());
    starts.erase(first, last);
    starts.insert(starts.begin() + static_cast<std::ptrdiff_t>(from), fresh.begin(), fresh.end());
}

DocumentText::DocumentText(std::string text, FileEncoding encoding) : text_(std::move(text)), encoding_(encoding)
{
    textStarts_ = LineStarts(text_);
    EncodeAll();
}

void DocumentText::ReplaceAll(std::string text)
{
    text_ = std::move(text);
    textStarts_ = LineStarts(text_);
    EncodeAll();
}

void DocumentText::EncodeAll()
{
    bytes_ = EncodeForFile(text_, encoding_, lost_);
    if (encoding_.Kind == lsp::Encoding::Cp932)
        byteStarts_ = LineStarts(bytes_);
}

size_t DocumentText::OffsetOf(uint32_t line, uint32_t column, ColumnUnit unit) const
{
    size_t start = LineStart(line);
    return start + OffsetOfColumn(LineAt(text_, start), column, lsp::Encoding::Utf8, unit);
}

uint32_t DocumentText::LineOf(size_t offset) const
{
    return static_cast<uint32_t>(std::upper_bound(textStarts_.begin(), textStarts_.end(), offset) - textStarts_.begin() - 1);
}

size_t DocumentText::ByteOffsetOf(size_t offset) const
{
    if (encoding_.Kind == lsp::Encoding::Utf8)
        return offset + (encoding_.Bom ? Utf8Bom.size() : 0);
    uint32_t line = LineOf(offset);
    std::string_view before = std::string_view(text_).substr(textStarts_[line], offset - textStarts_[line]);
    return byteStarts_[line] + (IsAscii(before) ? before.size() : platform::Utf8ToCp932(before).size());
}

void DocumentText::Replace(size_t start, size_t end, std::string_view text)
{
    // A byte order mark at the start of the client's text is no part of the file's bytes, and
    // offsets in the first line would not match: such a text is encoded whole.
    bool bomBefore = text_.starts_with(Utf8Bom);
    size_t byteStart = bomBefore ? 0 : ByteOffsetOf(start);
    size_t byteEnd = bomBefore ? 0 : ByteOffsetOf(end);
    text_.replace(start, end - start, text);
    UpdateLineStarts(textStarts_, text_, start, end, text.size());
    if (bomBefore || text_.starts_with(Utf8Bom)) {
        EncodeAll();
        return;
    }
    if (encoding_.Kind == lsp::Encoding::Utf8) {
        bytes_.replace(byteStart, byteEnd - byteStart, text);
        return;
    }
    size_t lostInText;
    std::string bytes = EncodeCp932(text, lostInText);
    bytes_.replace(byteStart, byteEnd - byteStart, bytes);
    UpdateLineStarts(byteStarts_, bytes_, byteStart, byteEnd, bytes.size());
    if (lost_ != std::string::npos && lost_ < start)
        return;
    if (lostInText != std::string::npos) {
        lost_ = start + lostInText;
    } else if (lost_ != std::string::npos && lost_ >= end) {
        lost_ = lost_ - (end - start) + text.size();
    } else if (lost_ != std::string::npos) {
        // The lost character was replaced: the first one after the new text, if any, is next.
        size_t after = start + text.size();
        size_t lostAfter;
        EncodeCp932(std::string_view(text_).substr(after), lostAfter);
        lost_ = lostAfter == std::string::npos ? lostAfter : after + lostAfter;
    }
}

}  // namespace lsp
