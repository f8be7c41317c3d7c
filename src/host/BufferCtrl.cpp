#include "host/BufferCtrl.h"

#include <cstring>

namespace quorlin {

namespace {

bool IsSpaceOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

// Compared in place, so that no line costs an allocation.
bool TBufferCtrl::IsEndLine(std::string_view text)
{
    const char* line = text.data();
    size_t length = text.size();
    while (length > 0 && IsSpaceOrControl(line[length - 1])) {
        --length;
    }
    // Most lines end in something else; they are told apart without walking their indent.
    if (length < 4 || line[length - 1] != '.') {
        return false;
    }
    size_t begin = 0;
    while (begin < length && IsSpaceOrControl(line[begin])) {
        ++begin;
    }
    if (length - begin != 4) {
        return false;
    }
    const char* word = line + begin;
    return (word[0] | 0x20) == 'e' && (word[1] | 0x20) == 'n' && (word[2] | 0x20) == 'd'
        && word[3] == '.';
}

TBufferCtrl::TBufferCtrl(hostapi::TIEditReader* reader) : TBufferCtrl(reader, -1, 0) {}

TBufferCtrl::TBufferCtrl(hostapi::TIEditReader* reader, int32_t position, int32_t linesRead)
    : reader_(reader), position_(std::max(position, 0)), linesRead_(position < 0 ? 0 : linesRead)
{
    if (reader_) {
        Fill();
    }
}

bool TBufferCtrl::Fill()
{
    if (atEnd_) {
        return false;
    }
    int read = reader_->GetText(position_, buffer_, BufferSize);
    index_ = 0;
    count_ = read > 0 ? std::min(read, BufferSize) : 0;
    position_ += count_;
    atEnd_ = count_ == 0;
    return !atEnd_;
}

bool TBufferCtrl::ReadLine(std::string_view& s)
{
    if (!reader_ || stopped_) {
        return false;
    }
    // A line that spans two blocks is gathered in pending_; one inside a block is taken from it.
    size_t pendingLength = 0;
    const char* line = nullptr;
    size_t length = 0;
    bool broken = false;
    for (;;) {
        if (index_ >= count_ && !Fill()) {
            break;
        }
        const char* start = buffer_ + index_;
        size_t available = static_cast<size_t>(count_ - index_);
        const void* lf = std::memchr(start, '\n', available);
        size_t chunk = lf ? static_cast<const char*>(lf) - start + 1 : available;
        if (pendingLength + chunk > static_cast<size_t>(MaxLineLength)) {
            stopped_ = true;
            tooLong_ = true;
            return false;
        }
        index_ += static_cast<int>(chunk);
        if (lf && pendingLength == 0) {
            line = start;
            length = chunk;
            broken = true;
            break;
        }
        std::memcpy(pending_ + pendingLength, start, chunk);
        pendingLength += chunk;
        if (lf) {
            broken = true;
            break;
        }
    }
    if (!line) {
        if (pendingLength == 0) {
            stopped_ = true;
            return false;
        }
        line = pending_;
        length = pendingLength;
    }
    if (broken) {
        --length;
        if (length > 0 && line[length - 1] == '\r') {
            --length;
        }
    }
    s = std::string_view(line, length);
    if (IsEndLine(s)) {
        stopped_ = true;
        return false;
    }
    ++linesRead_;
    return true;
}

bool TBufferCtrl::ReadLine(std::string& s)
{
    std::string_view line;
    bool more = ReadLine(line);
    if (line.data()) {
        // Read through a volatile, the length carries no known bound, so the copy is the
        // library's memcpy; a bounded length makes the compiler inline a string instruction that
        // is slow for lines this short.
        volatile size_t unbounded = line.size();
        s.assign(line.data(), unbounded);
    }
    return more;
}

}  // namespace quorlin
