#include "controls/PathEllipsis.h"

#include <vector>

#include "platform/Cp932.h"

namespace quorlin {

namespace {

constexpr size_t MaxDrawLength = 255;
constexpr const char* Ellipsis = "...";

// Offsets at which characters start, the text's length last.
std::vector<size_t> CharacterStarts(const std::string& text)
{
    std::vector<size_t> starts;
    size_t i = 0;
    while (i < text.size()) {
        starts.push_back(i);
        i += platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

// The largest index into candidates whose text fits (the texts grow with the index); -1 if none.
template <class MakeText>
int LargestFitting(int count, int width, const std::function<int(const std::string&)>& measure,
                   MakeText makeText)
{
    int low = 0;
    int high = count - 1;
    int best = -1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        if (measure(makeText(middle)) <= width) {
            best = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return best;
}

}  // namespace

std::string EllipsisPath(const std::string& path, int width,
                         const std::function<int(const std::string&)>& measure)
{
    std::vector<size_t> starts = CharacterStarts(path);
    std::string text = path;
    if (text.size() > MaxDrawLength) {
        size_t cut = 0;
        for (size_t start : starts) {
            if (start > MaxDrawLength) {
                break;
            }
            cut = start;
        }
        text.resize(cut);
        starts = CharacterStarts(text);
    }
    if (measure(text) <= width) {
        return text;
    }
    // '\' can be the trail byte of a two-byte character, so separators are found by character.
    size_t nameStart = 0;
    size_t nameIndex = 0;
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        char c = text[starts[i]];
        if (c == '\\' || c == '/') {
            nameStart = starts[i + 1];
            nameIndex = i + 1;
        }
    }
    std::string name = text.substr(nameStart);
    int kept = LargestFitting(static_cast<int>(nameIndex) + 1, width, measure, [&](int k) {
        return text.substr(0, starts[k]) + Ellipsis + name;
    });
    if (kept >= 0) {
        return text.substr(0, starts[kept]) + Ellipsis + name;
    }
    // Even the whole file name does not fit: keep as much of its end as fits.
    int nameCharacters = static_cast<int>(starts.size() - 1 - nameIndex);
    int tail = LargestFitting(nameCharacters + 1, width, measure, [&](int n) {
        return Ellipsis + text.substr(starts[starts.size() - 1 - n]);
    });
    return tail >= 0 ? Ellipsis + text.substr(starts[starts.size() - 1 - tail]) : std::string(Ellipsis);
}

}  // namespace quorlin
