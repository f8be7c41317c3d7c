#include "EditBuffer.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace refhost {

std::string ToCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
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
}

bool EditBuffer::ReadFile(const std::string& fileName, std::string& text)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
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
    cursor_ = Clamp(cursor_);
    topLine_ = Clamp(topLine_);
    blockStart_ = Clamp(blockStart_);
    blockAfter_ = Clamp(blockAfter_);
    return true;
}

int32_t EditBuffer::LineCount() const
{
    int32_t pairs = 0;
    for (size_t at = text_.find("\r\n"); at != std::string::npos; at = text_.find("\r\n", at + 2))
        ++pairs;
    return pairs + 1;
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
