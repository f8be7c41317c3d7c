// Code page 932 text functions over any bytes: searches agree with a search in upper-cased copies
// and never start inside a two-byte character, case changes keep sizes and characters, comparison
// is a consistent order, and conversions to and from UTF-8 round-trip.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Cp932.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

bool IsTrailByte(char c)
{
    auto byte = static_cast<unsigned char>(c);
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Offsets at which characters start; a lead byte without a trail byte after it stands alone.
std::vector<bool> CharStarts(const std::string& s)
{
    std::vector<bool> starts(s.size() + 1, false);
    for (size_t i = 0; i < s.size();) {
        starts[i] = true;
        bool pair = platform::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()
                    && IsTrailByte(s[i + 1]);
        i += pair ? 2 : 1;
    }
    return starts;
}

void CheckFind(const std::string& text, const std::string& needle, size_t from)
{
    std::vector<bool> starts = CharStarts(text);
    size_t expected = std::string::npos;
    if (!needle.empty()) {
        for (size_t i = from; i + needle.size() <= text.size(); ++i) {
            if (starts[i] && text.compare(i, needle.size(), needle) == 0) {
                expected = i;
                break;
            }
        }
    }
    Check(platform::FindText(text, needle, from) == expected);
    Check(platform::ContainsText(text, needle) == (platform::FindText(text, needle) != std::string::npos));
    Check(platform::FindTextIgnoreCase(text, needle, from)
          == platform::FindText(platform::UpperCase(text), platform::UpperCase(needle), from));
}

void CheckCase(const std::string& a, const std::string& b)
{
    std::string upper = platform::UpperCase(a);
    std::string lower = platform::LowerCase(a);
    Check(upper.size() == a.size() && lower.size() == a.size());
    Check(platform::UpperCase(lower) == upper && platform::LowerCase(upper) == lower);
    Check(platform::SameText(a, upper) && platform::SameText(lower, a));
    // Two-byte characters are left whole.
    std::vector<bool> starts = CharStarts(a);
    for (size_t i = 0; i < a.size(); ++i)
        Check(starts[i] || upper[i] == a[i]);
    int order = platform::CompareText(a, b);
    Check(Sign(order) == -Sign(platform::CompareText(b, a)));
    Check(Sign(order) == Sign(upper.compare(platform::UpperCase(b))));
}

void CheckTrim(const std::string& s)
{
    std::string trimmed = platform::Trim(s);
    Check(trimmed == platform::TrimLeft(platform::TrimRight(s)));
    Check(trimmed == platform::TrimView(s));
    Check(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 0x20
                              && static_cast<unsigned char>(trimmed.back()) > 0x20));
}

void CheckConversions(const std::string& bytes)
{
    // Any bytes read as code page 932: what comes out converts back to the same characters.
    std::string utf8 = platform::Cp932ToUtf8(bytes);
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos)
        Check(platform::Cp932ToUtf8(platform::Utf8ToCp932(utf8)) == utf8);
    // Any bytes read as UTF-8: the code page 932 text made converts back to itself.
    std::string cp932 = platform::Utf8ToCp932(bytes);
    Check(platform::Utf8ToCp932(platform::Cp932ToUtf8(cp932)) == cp932);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::string needle = input.ConsumeRandomLengthString(16);
    size_t from = input.ConsumeIntegralInRange<size_t>(0, 64);
    std::string text = input.ConsumeRemainingBytesAsString();
    CheckFind(text, needle, from);
    CheckCase(text, needle);
    CheckTrim(text);
    CheckConversions(text);
    return 0;
}
