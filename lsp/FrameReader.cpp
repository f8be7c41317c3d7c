#include "FrameReader.h"

#include <algorithm>
#include <cstring>

namespace lsp {

namespace {

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return (a | 0x20) == (b | 0x20); });
}

}  // namespace

void FrameReader::Feed(std::string_view bytes)
{
    if (broken_)
        return;
    if (skipping_ > 0) {
        size_t skipped = static_cast<size_t>(std::min<unsigned long long>(skipping_, bytes.size()));
        skipping_ -= skipped;
        bytes.remove_prefix(skipped);
    }
    // What was consumed goes before the buffer grows, so the buffer holds at most one message and
    // what follows it, and nothing is moved twice.
    if (consumed_ > 0) {
        buffer_.erase(0, consumed_);
        consumed_ = 0;
    }
    buffer_.append(bytes);
}

FrameReader::Result FrameReader::ReadHeader(size_t& length)
{
    std::string_view rest(buffer_);
    rest.remove_prefix(consumed_);
    size_t end = rest.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return rest.size() > MaxHeader ? Result::Broken : Result::NeedMore;
    if (end > MaxHeader)
        return Result::Broken;
    std::string_view header = rest.substr(0, end);
    bool found = false;
    unsigned long long announced = 0;
    while (!header.empty()) {
        size_t lineEnd = std::min(header.find("\r\n"), header.size());
        std::string_view line = header.substr(0, lineEnd);
        header.remove_prefix(std::min(lineEnd + 2, header.size()));
        if (line.find(':') == std::string_view::npos)
            return Result::Broken;
        if (!StartsWithIgnoreCase(line, "Content-Length:"))
            continue;
        std::string_view value = line.substr(std::strlen("Content-Length:"));
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
            value.remove_suffix(1);
        if (value.empty() || value.size() > 18 || found)
            return Result::Broken;
        for (char c : value) {
            if (c < '0' || c > '9')
                return Result::Broken;
            announced = announced * 10 + static_cast<unsigned>(c - '0');
        }
        found = true;
    }
    if (!found)
        return Result::Broken;
    consumed_ += end + 4;
    if (announced > MaxBody) {
        size_t available = buffer_.size() - consumed_;
        size_t skipped = static_cast<size_t>(std::min<unsigned long long>(announced, available));
        consumed_ += skipped;
        skipping_ = announced - skipped;
        return Result::TooLarge;
    }
    length = static_cast<size_t>(announced);
    return Result::Message;
}

FrameReader::Result FrameReader::Next(std::string& body)
{
    if (broken_)
        return Result::Broken;
    if (skipping_ > 0)
        return Result::NeedMore;
    if (!haveHeader_) {
        Result header = ReadHeader(bodyLength_);
        if (header == Result::Broken)
            broken_ = true;
        if (header != Result::Message)
            return header;
        haveHeader_ = true;
    }
    if (buffer_.size() - consumed_ < bodyLength_)
        return Result::NeedMore;
    body.assign(buffer_, consumed_, bodyLength_);
    consumed_ += bodyLength_;
    haveHeader_ = false;
    return Result::Message;
}

}  // namespace lsp
