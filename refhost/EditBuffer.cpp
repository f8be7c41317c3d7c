#include "EditBuffer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace refhost {

std::string ToCrLf(const std::string& text)
{
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

EditBuffer::EditBuffer(std::string fileName, const std::string& fileText)
    : fileName_(std::move(fileName)), text_(ToCrLf(fileText)), style_(DetectLineBreak(fileText))
{
    CountLines();
}

bool EditBuffer::ReadFile(const std::string& fileName, std::string& text)
{
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    std::string content;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        content.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        // Read to the end even if the file grew or shrank since fstat.
        for (;;) {
            if (done == content.size())
                content.resize(content.size() + 4096);
            ssize_t got = ::read(fd, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            done += static_cast<size_t>(got);
        }
        content.resize(done);
    }
    ::close(fd);
    if (!ok)
        return false;
    text = std::move(content);
    return true;
}

bool EditBuffer::Replace(const std::string& text)
{
    std::string normal = ToCrLf(text);
    if (normal == text_)
        return false;
    text_ = std::move(normal);
    CountLines();
    cursor_ = Clamp(cursor_);
    topLine_ = Clamp(topLine_);
    blockStart_ = Clamp(blockStart_);
    blockAfter_ = Clamp(blockAfter_);
    return true;
}

void EditBuffer::CountLines()
{
    // Inside the buffer every LF belongs to a CR LF pair.
    int32_t pairs = 0;
    for (const char* at = text_.data(), *end = at + text_.size();
         (at = static_cast<const char*>(std::memchr(at, '\n', end - at))) != nullptr; ++at)
        ++pairs;
    lineCount_ = pairs + 1;
}

bool EditBuffer::Save()
{
    std::string temporary = fileName_ + ".~save";
    std::string data = FromCrLf(text_, style_);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), fileName_.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
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
