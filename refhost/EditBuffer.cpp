#include "EditBuffer.h"

#include "platform/FileWrite.h"

#include <algorithm>
#include <cstring>

namespace refhost {

namespace {

// True when every line break of the text is already CR LF; breaks then holds their number.
bool IsCrLfOnly(const std::string& text, int32_t& breaks)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    int32_t pairs = 0;
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\r', end - at))); ++at) {
        if (at + 1 == end || at[1] != '\n')
            return false;
        ++pairs;
    }
    int32_t feeds = 0;
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\n', end - at))); ++at)
        ++feeds;
    breaks = pairs;
    return feeds == pairs;
}

}  // namespace

std::string ToCrLf(std::string text, int32_t* lineBreaks)
{
    int32_t breaks = 0;
    if (IsCrLfOnly(text, breaks)) {
        if (lineBreaks)
            *lineBreaks = breaks;
        return text;
    }
    breaks = 0;
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    const char* at = text.data();
    const char* end = at + text.size();
    while (at < end) {
        // Copy the run up to the next line break in one go; most bytes are in such runs.
        const char* lf = static_cast<const char*>(std::memchr(at, '\n', end - at));
        const char* runEnd = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(at, '\r', runEnd - at));
        if (cr) {
            out.append(at, cr);
            out += "\r\n";
            ++breaks;
            at = cr + 1;
            if (at < end && *at == '\n')
                ++at;
            continue;
        }
        out.append(at, runEnd);
        if (!lf)
            break;
        out += "\r\n";
        ++breaks;
        at = lf + 1;
    }
    if (lineBreaks)
        *lineBreaks = breaks;
    return out;
}

std::string FromCrLf(const std::string& text, LineBreak style)
{
    if (style == LineBreak::CrLf)
        return text;
    const char* lineBreak = style == LineBreak::Lf ? "\n" : "\r";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += lineBreak;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

LineBreak DetectLineBreak(const std::string& text)
{
    size_t at = text.find_first_of("\r\n");
    if (at == std::string::npos)
        return LineBreak::CrLf;
    if (text[at] == '\n')
        return LineBreak::Lf;
    if (at + 1 < text.size() && text[at + 1] == '\n')
        return LineBreak::CrLf;
    return LineBreak::Cr;
}

EditBuffer::EditBuffer(std::string fileName, std::string fileText)
    : fileName_(std::move(fileName)), style_(DetectLineBreak(fileText))
{
    int32_t lineBreaks = 0;
    if (fileText.find('\r') == std::string::npos) {
        const char* end = fileText.data() + fileText.size();
        for (const char* at = fileText.data(); (at = static_cast<const char*>(std::memchr(at, '\n', end - at))); ++at)
            ++lineBreaks;
        text_ = std::move(fileText);
        lfKept_ = lineBreaks > 0;
    } else {
        text_ = ToCrLf(std::move(fileText), &lineBreaks);
    }
    lineCount_ = lineBreaks + 1;
}

std::string EditBuffer::Text() const
{
    return lfKept_ ? ToCrLf(text_) : text_;
}

size_t EditBuffer::CopyText(size_t position, char* out, size_t count, CrLfCursor& cursor) const
{
    const char* text = text_.data();
    size_t size = text_.size();
    if (!lfKept_) {
        if (position >= size)
            return 0;
        count = std::min(count, size - position);
        std::memcpy(out, text + position, count);
        return count;
    }
    if (cursor.revision != revision_ || position < cursor.shown)
        cursor = CrLfCursor{0, 0, revision_};
    size_t copied = 0;
    while (copied < count) {
        const char* lf = static_cast<const char*>(std::memchr(text + cursor.kept, '\n', size - cursor.kept));
        size_t length = (lf ? static_cast<size_t>(lf - text) : size) - cursor.kept;
        size_t shownLength = lf ? length + 2 : length;
        size_t offset = position + copied - cursor.shown;
        if (offset < length) {
            size_t n = std::min(length - offset, count - copied);
            std::memcpy(out + copied, text + cursor.kept + offset, n);
            copied += n;
            offset += n;
        }
        if (lf && offset == length && copied < count) {
            out[copied++] = '\r';
            ++offset;
        }
        if (lf && offset == length + 1 && copied < count) {
            out[copied++] = '\n';
            ++offset;
        }
        if (!lf || offset < shownLength)
            break;
        cursor.kept += length + 1;
        cursor.shown += shownLength;
    }
    return copied;
}

bool EditBuffer::Replace(const std::string& text)
{
    int32_t lineBreaks = 0;
    std::string normal = ToCrLf(text, &lineBreaks);
    if (normal == Text())
        return false;
    text_ = std::move(normal);
    lfKept_ = false;
    ++revision_;
    lineCount_ = lineBreaks + 1;
    cursor_ = Clamp(cursor_);
    topLine_ = Clamp(topLine_);
    blockStart_ = Clamp(blockStart_);
    blockAfter_ = Clamp(blockAfter_);
    return true;
}

bool EditBuffer::Save()
{
    std::string bytes;
    if (!encoder_)
        bytes = lfKept_ ? text_ : FromCrLf(text_, style_);
    else if (!encoder_(Text(), bytes))
        return false;
    std::string error;
    if (!platform::WriteFileReplacing(fileName_, bytes, error))
        return false;
    modified_ = false;
    return true;
}

hostapi::TEditPos EditBuffer::Clamp(hostapi::TEditPos pos) const
{
    if (pos.Line < 1)
        pos.Line = 1;
    if (pos.Line > LineCount())
        pos.Line = LineCount();
    if (pos.Col < 1)
        pos.Col = 1;
    return pos;
}

}  // namespace refhost
