#include "platform/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace platform {

namespace {

// Length in bytes of the character starting at i. A lead byte without a trail byte after it (at
// the very end, or before a byte such as '(') stands alone, as the converter reads it.
size_t CharLength(std::string_view s, size_t i)
{
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()
               && IsTrailByte(static_cast<unsigned char>(s[i + 1])) ? 2 : 1;
}

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename Change>
std::string ChangeAscii(std::string_view s, Change change)
{
    std::string result(s);
    for (size_t i = 0; i < result.size(); i += CharLength(result, i)) {
        result[i] = change(result[i]);
    }
    return result;
}

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// One conversion descriptor per thread and direction: opening one loads the converter module.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts text, calling skip(in, left, out) at every byte sequence that does not convert; it
    // appends a replacement and returns how many input bytes to pass over (at least one).
    template <typename Skip>
    std::string Convert(std::string_view text, Skip skip)
    {
        std::string out;
        out.reserve(text.size() * 3 / 2 + 16);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* dest = buffer;
            size_t destLeft = sizeof buffer;
            size_t rc = iconv(cd_, &in, &inLeft, &dest, &destLeft);
            int error = errno;
            out.append(buffer, dest);
            if (rc != static_cast<size_t>(-1) || error == E2BIG) {
                continue;
            }
            size_t count = skip(in, inLeft, out);
            if (error == EINVAL) {
                count = inLeft;  // an incomplete sequence at the end: one replacement for it
            }
            in += count;
            inLeft -= count;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

// Bytes to pass over at a UTF-8 sequence that did not convert: a whole character that code
// page 932 lacks, or a broken sequence up to where it breaks (one replacement for each).
size_t Utf8SkipLength(const char* p, size_t left)
{
    auto c = static_cast<unsigned char>(p[0]);
    size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3
                  : c >= 0xF0 && c <= 0xF4 ? 4 : 1;
    size_t i = 1;
    while (i < length && i < left && (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80) {
        ++i;
    }
    return i;
}

// Without a converter (no CP932 module installed) ASCII still reads.
template <typename Skip>
std::string AsciiOnly(std::string_view text, Skip skip)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out += text[i++];
        } else {
            i += skip(text.data() + i, text.size() - i, out);
        }
    }
    return out;
}

}  // namespace

size_t FindText(std::string_view text, std::string_view needle, size_t from)
{
    if (needle.empty() || needle.size() > text.size()) {
        return std::string_view::npos;
    }
    // No trail byte is below 0x40, so a match that starts with such a byte never starts on one.
    if (static_cast<unsigned char>(needle[0]) < 0x40) {
        return text.find(needle, from);
    }
    size_t last = text.size() - needle.size();
    for (size_t i = 0; i <= last; i += CharLength(text, i)) {
        if (i >= from && text[i] == needle[0] && text.compare(i, needle.size(), needle) == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

size_t FindTextIgnoreCase(std::string_view text, std::string_view needle, size_t from)
{
    if (needle.empty() || needle.size() > text.size()) {
        return std::string_view::npos;
    }
    size_t last = text.size() - needle.size();
    for (size_t i = 0; i <= last; i += CharLength(text, i)) {
        if (i < from) {
            continue;
        }
        size_t k = 0;
        bool trail = false;  // trail bytes are compared as they are
        for (; k < needle.size(); ++k) {
            char a = text[i + k];
            char b = needle[k];
            if (!trail) {
                a = AsciiUpper(a);
                b = AsciiUpper(b);
            }
            if (a != b) {
                break;
            }
            trail = !trail && IsLeadByte(static_cast<unsigned char>(a));
        }
        if (k == needle.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string UpperCase(std::string_view s)
{
    return ChangeAscii(s, [](char c) { return AsciiUpper(c); });
}

std::string LowerCase(std::string_view s)
{
    return ChangeAscii(s, [](char c) { return AsciiLower(c); });
}

int CompareText(std::string_view a, std::string_view b)
{
    size_t common = std::min(a.size(), b.size());
    // Equal bytes are equal upper-cased as well, so a shared start (a folder, in sorted paths) is
    // passed over a word at a time. The character state is taken up again after the last byte
    // that cannot lead a double-byte character: the byte after it starts a character.
    size_t start = 0;
    while (start + 8 <= common && std::memcmp(a.data() + start, b.data() + start, 8) == 0) {
        start += 8;
    }
    while (start > 0 && IsLeadByte(static_cast<unsigned char>(a[start - 1]))) {
        --start;
    }
    bool trail = false;  // trail bytes are compared as they are
    for (size_t i = start; i < common; ++i) {
        auto ca = static_cast<unsigned char>(trail ? a[i] : AsciiUpper(a[i]));
        auto cb = static_cast<unsigned char>(trail ? b[i] : AsciiUpper(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        trail = !trail && IsLeadByte(ca);
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

std::string Trim(std::string_view s)
{
    return std::string(TrimView(s));
}

std::string_view TrimView(std::string_view s)
{
    while (!s.empty() && IsTrimmed(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsTrimmed(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view TrimLeftView(std::string_view s)
{
    size_t start = 0;
    while (start < s.size() && IsTrimmed(s[start])) {
        ++start;
    }
    return s.substr(start);
}

std::string TrimLeft(std::string_view s)
{
    return std::string(TrimLeftView(s));
}

std::string TrimRight(std::string_view s)
{
    size_t end = s.size();
    while (end > 0 && IsTrimmed(s[end - 1])) {
        --end;
    }
    return std::string(s.substr(0, end));
}

std::string Cp932ToUtf8(std::string_view text)
{
    thread_local Converter converter("UTF-8", "CP932");
    auto skip = [](const char* in, size_t left, std::string& out) -> size_t {
        out += "\xEF\xBF\xBD";
        // An unassigned two-byte code is one character; a lead byte before a non-trail byte is not.
        bool pair = left > 1 && IsLeadByte(static_cast<unsigned char>(in[0]))
                    && IsTrailByte(static_cast<unsigned char>(in[1]));
        return pair ? 2 : 1;
    };
    return converter.Valid() ? converter.Convert(text, skip) : AsciiOnly(text, skip);
}

std::string Utf8ToCp932(std::string_view text)
{
    thread_local Converter converter("CP932", "UTF-8");
    auto skip = [](const char* in, size_t left, std::string& out) -> size_t {
        out += '?';
        return Utf8SkipLength(in, left);
    };
    return converter.Valid() ? converter.Convert(text, skip) : AsciiOnly(text, skip);
}

}  // namespace platform
