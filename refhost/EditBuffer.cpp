#include "EditBuffer.h"

#include <algorithm>
#include <cstring>

namespace refhost {

namespace {

// The line break bytes of a text.
struct LineBreakCounts {
    size_t feeds = 0;
    size_t returns = 0;
    size_t pairs = 0;  // CR LF

    // A CR LF pair, a lone CR and a lone LF are one line break each.
    int32_t Breaks() const { return static_cast<int32_t>(feeds + returns - pairs); }
    bool CrLfOnly() const { return feeds == pairs && returns == pairs; }
};

// One pass of 16 bytes a step: every byte of a unit passes here when it is opened.
LineBreakCounts CountLineBreaks(std::string_view text)
{
    using Bytes = unsigned char __attribute__((vector_size(16)));
    const char* at = text.data();
    const char* end = at + text.size();
    LineBreakCounts counts;
    // A pair is a CR whose next byte is an LF, so a step needs the byte after its 16 as well.
    while (end - at > 16) {
        // Per-byte counters, added up before they can overflow.
        Bytes feeds{};
        Bytes returns{};
        Bytes pairs{};
        size_t steps = std::min<size_t>(static_cast<size_t>(end - at - 1) / 16, 255);
        for (const char* stop = at + steps * 16; at < stop; at += 16) {
            Bytes bytes;
            Bytes next;
            std::memcpy(&bytes, at, sizeof bytes);
            std::memcpy(&next, at + 1, sizeof next);
            // A comparison gives all ones (-1) where it holds.
            Bytes isReturn = reinterpret_cast<Bytes>(bytes == '\r');
            feeds -= reinterpret_cast<Bytes>(bytes == '\n');
            returns -= isReturn;
            pairs -= isReturn & reinterpret_cast<Bytes>(next == '\n');
        }
        for (size_t i = 0; i < sizeof(Bytes); ++i) {
            counts.feeds += feeds[i];
            counts.returns += returns[i];
            counts.pairs += pairs[i];
        }
    }
    for (; at < end; ++at) {
        counts.feeds += *at == '\n';
        counts.returns += *at == '\r';
        counts.pairs += *at == '\r' && at + 1 < end && at[1] == '\n';
    }
    return counts;
}

// Moves the cursor to position of the CR LF text over the lines in between, forwards or
// backwards; false when the text is shorter.
bool SeekCrLf(const char* text, size_t size, size_t position, CrLfCursor& cursor)
{
    while (cursor.shown < position) {
        if (cursor.betweenCrLf) {
            ++cursor.kept;
            ++cursor.shown;
            cursor.betweenCrLf = false;
            continue;
        }
        const char* lf = static_cast<const char*>(std::memchr(text + cursor.kept, '\n', size - cursor.kept));
        size_t lineBytes = (lf ? static_cast<size_t>(lf - text) : size) - cursor.kept;
        size_t ahead = position - cursor.shown;
        if (ahead <= lineBytes) {  // in the line, or at its CR
            cursor.kept += ahead;
            cursor.shown = position;
            return true;
        }
        if (!lf)
            return false;
        cursor.kept += lineBytes;
        if (ahead == lineBytes + 1) {  // at its LF
            cursor.shown = position;
            cursor.betweenCrLf = true;
            return true;
        }
        cursor.kept += 1;
        cursor.shown += lineBytes + 2;
    }
    while (cursor.shown > position) {
        if (cursor.betweenCrLf) {  // back to the CR
            --cursor.shown;
            cursor.betweenCrLf = false;
            continue;
        }
        // Before the first LF the two texts are alike, so leaving a line backwards finds an LF.
        const char* lf = static_cast<const char*>(memrchr(text, '\n', cursor.kept));
        size_t lineStart = lf ? static_cast<size_t>(lf - text) + 1 : 0;
        size_t back = cursor.shown - position;
        if (back <= cursor.kept - lineStart) {
            cursor.kept -= back;
            cursor.shown = position;
            return true;
        }
        // To the LF that ends the line before, its CR handed out.
        cursor.shown -= cursor.kept - lineStart + 1;
        cursor.kept = lineStart - 1;
        cursor.betweenCrLf = true;
    }
    return true;
}

// Each line break of a text in order.
std::vector<LineBreak> LineBreaksOf(const std::string& text)
{
    std::vector<LineBreak> breaks;
    for (size_t at = text.find_first_of("\r\n"); at != std::string::npos; at = text.find_first_of("\r\n", at + 1)) {
        LineBreak lineBreak = LineBreak::Lf;
        if (text[at] == '\r') {
            bool pair = at + 1 < text.size() && text[at + 1] == '\n';
            lineBreak = pair ? LineBreak::CrLf : LineBreak::Cr;
            at += pair;
        }
        breaks.push_back(lineBreak);
    }
    return breaks;
}

size_t CountCrLf(const char* begin, const char* end)
{
    size_t pairs = 0;
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\r', end - at))) != nullptr; ++at)
        pairs += at + 1 < end && at[1] == '\n';
    return pairs;
}

// The breaks of after, a new CR LF text made from before, which had the given breaks: the lines
// before and after the part that changed keep theirs, and so do the lines of that part where it
// has as many as it had; line breaks beyond those take the style. One pass over both texts.
std::vector<LineBreak> CarryLineBreaks(const std::string& before, const std::string& after,
                                       const std::vector<LineBreak>& breaks, LineBreak style)
{
    size_t common = std::min(before.size(), after.size());
    size_t head = static_cast<size_t>(std::mismatch(before.begin(), before.begin() + common, after.begin()).first
                                      - before.begin());
    size_t tail = static_cast<size_t>(std::mismatch(before.rbegin(), before.rbegin() + (common - head), after.rbegin()).first
                                      - before.rbegin());
    // Neither texts' CR LF pairs are cut by these bounds: a CR LF text has no CR or LF alone.
    size_t headBreaks = CountCrLf(before.data(), before.data() + head);
    size_t tailBreaks = CountCrLf(before.data() + before.size() - tail, before.data() + before.size());
    size_t oldCount = breaks.size();
    size_t newCount = CountCrLf(after.data(), after.data() + after.size());
    std::vector<LineBreak> carried(newCount, style);
    for (size_t i = 0; i < newCount; ++i) {
        if (i < headBreaks)
            carried[i] = breaks[i];
        else if (i + tailBreaks >= newCount)
            carried[i] = breaks[i + oldCount - newCount];
        else if (i + tailBreaks < oldCount)
            carried[i] = breaks[i];
    }
    return carried;
}

const char* LineBreakBytes(LineBreak lineBreak)
{
    return lineBreak == LineBreak::CrLf ? "\r\n" : lineBreak == LineBreak::Lf ? "\n" : "\r";
}

}  // namespace

std::string ToCrLf(std::string text, int32_t* lineBreaks)
{
    LineBreakCounts counts = CountLineBreaks(text);
    if (lineBreaks)
        *lineBreaks = counts.Breaks();
    if (counts.CrLfOnly())
        return text;
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
            at = cr + 1;
            if (at < end && *at == '\n')
                ++at;
            continue;
        }
        out.append(at, runEnd);
        if (!lf)
            break;
        out += "\r\n";
        at = lf + 1;
    }
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
    LineBreakCounts counts = CountLineBreaks(fileText);
    int32_t lineBreaks = counts.Breaks();
    if (counts.returns == 0 || counts.CrLfOnly()) {
        lfKept_ = counts.returns == 0 && counts.feeds > 0;
        text_ = std::move(fileText);
    } else {
        // Both CR and LF, and not only in pairs: the breaks are mixed.
        if (counts.feeds != 0)
            breaks_ = LineBreaksOf(fileText);
        text_ = ToCrLf(std::move(fileText));
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
    // Going back further than the position itself lies from the start: from the start.
    if (cursor.revision != revision_ || (position < cursor.shown && cursor.shown - position > position))
        cursor = CrLfCursor{0, 0, false, revision_};
    if (!SeekCrLf(text, size, position, cursor))
        return 0;
    size_t kept = cursor.kept;
    char* to = out;
    char* stop = out + count;
    bool betweenCrLf = cursor.betweenCrLf;
    if (betweenCrLf && to < stop) {
        *to++ = '\n';
        ++kept;
        betweenCrLf = false;
    }
    while (to < stop && kept < size) {
        size_t span = std::min(size - kept, static_cast<size_t>(stop - to));
        const char* lf = static_cast<const char*>(std::memchr(text + kept, '\n', span));
        size_t run = lf ? static_cast<size_t>(lf - text) - kept : span;
        std::memcpy(to, text + kept, run);
        to += run;
        kept += run;
        if (!lf)
            break;
        *to++ = '\r';
        if (to == stop) {
            betweenCrLf = true;
            break;
        }
        *to++ = '\n';
        ++kept;
    }
    cursor.kept = kept;
    cursor.shown = position + static_cast<size_t>(to - out);
    cursor.betweenCrLf = betweenCrLf;
    return static_cast<size_t>(to - out);
}

bool EditBuffer::Replace(const std::string& text)
{
    int32_t lineBreaks = 0;
    std::string normal = ToCrLf(text, &lineBreaks);
    if (normal == Text())
        return false;
    if (!breaks_.empty())
        breaks_ = CarryLineBreaks(text_, normal, breaks_, style_);
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

bool EditBuffer::FileBytes(std::string& bytes) const
{
    if (encoder_)
        return encoder_(Text(), bytes);
    if (breaks_.empty()) {
        bytes = lfKept_ ? text_ : FromCrLf(text_, style_);
        return true;
    }
    bytes.clear();
    bytes.reserve(text_.size());
    size_t line = 0;
    size_t index = 0;
    for (size_t pair; (pair = text_.find("\r\n", line)) != std::string::npos; line = pair + 2) {
        bytes.append(text_, line, pair - line);
        LineBreak lineBreak = breaks_[index++];
        // A lone CR before an empty line ended by a lone LF would read back as one CR LF: the
        // CR is written as CR LF, so the empty line stays.
        bool merges = lineBreak == LineBreak::Cr && index < breaks_.size() && breaks_[index] == LineBreak::Lf
                   && text_.compare(pair + 2, 2, "\r\n") == 0;
        bytes += LineBreakBytes(merges ? LineBreak::CrLf : lineBreak);
    }
    bytes.append(text_, line, std::string::npos);
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
