#include "JumpLines.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Cp932.h"

namespace lsp {

namespace {

// Longest line a reader hands out, its CR LF included.
constexpr size_t MaxLineLength = 1023;

bool IsEndLine(std::string_view line)
{
    std::string_view word = platform::TrimView(line);
    return word.size() == 4 && platform::SameText(word, "END.");
}

bool IsTrailByte(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// The entries looked for together. The line is passed over in steps as long as the two bytes that
// end a window of the shortest entry's length (up to eight) allow: when they stand nowhere in the
// first bytes of any entry, no entry starts where the step passes (as in Wu and Manber's search).
// A position reached is tested against the entries' first two bytes, then their first four (fewer
// for shorter entries), through bitmaps; only a position that passes is walked along the sorted
// entries, narrowing their range byte by byte, so a line costs a few operations a byte at most
// whatever the number of entries, and entries that share a long start (a class's methods) cost
// nothing extra.
class EntryFinder {
public:
    // patterns: sorted, without repeats, none empty.
    explicit EntryFinder(const std::vector<std::string_view>& patterns) : patterns_(patterns)
    {
        found_.assign(patterns.size(), -1);
        left_ = patterns.size();
        window_ = MaxWindow;
        for (std::string_view pattern : patterns)
            window_ = std::min(window_, pattern.size());
        if (window_ >= 2) {
            // The step after a window whose last two bytes are a block: how far the block stands
            // from a window's end in any entry's first window_ bytes, at the nearest.
            steps_.assign(size_t{1} << 16, static_cast<uint8_t>(window_ - 1));
            for (std::string_view pattern : patterns) {
                for (size_t at = 0; at + 2 <= window_; ++at) {
                    uint8_t& step = steps_[Block(reinterpret_cast<const unsigned char*>(pattern.data()) + at)];
                    step = std::min(step, static_cast<uint8_t>(window_ - 2 - at));
                }
            }
        }
        for (std::string_view pattern : patterns) {
            size_t length = std::min<size_t>(pattern.size(), PrefixLength);
            std::vector<uint64_t>& bits = bits_[length - 1];
            if (bits.empty()) {
                bits.assign((size_t{1} << HashBits) / 64, 0);
                lengths_.push_back(length);
            }
            uint32_t hash = Hash(Key(pattern.data(), length));
            bits[hash / 64] |= uint64_t{1} << (hash % 64);
            auto first = static_cast<unsigned char>(pattern[0]);
            if (pattern.size() == 1) {
                singles_[first] = true;
                for (unsigned second = 0; second < 256; ++second)
                    SetPair(first, second);
            } else {
                SetPair(first, static_cast<unsigned char>(pattern[1]));
            }
        }
    }

    // Notes line number for every entry first seen in line.
    void Scan(std::string_view line, int32_t number)
    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
        size_t size = line.size();
        enum { Unknown, Ascii, Mixed } kind = Unknown;
        for (size_t i = 0; i + window_ <= size && left_ > 0;) {
            if (window_ >= 2) {
                if (uint8_t step = steps_[Block(bytes + i + window_ - 2)]) {
                    i += step;
                    continue;
                }
            }
            size_t at = i++;
            bool may = at + 1 < size ? HasPair(bytes[at], bytes[at + 1]) : singles_[bytes[at]];
            if (!may || !MayStartAt(line, at))
                continue;
            // As the add-in's search: no match starts on a trail byte; none starting below 0x40 can.
            if (kind == Unknown)
                kind = NoteCharacterStarts(line) ? Ascii : Mixed;
            if (kind == Mixed && bytes[at] >= 0x40 && !starts_[at])
                continue;
            Walk(line.substr(at), number);
        }
    }

    bool Done() const { return left_ == 0; }
    const std::vector<int32_t>& Found() const { return found_; }

private:
    static constexpr size_t PrefixLength = 4;
    static constexpr size_t HashBits = 16;
    static constexpr size_t MaxWindow = 8;

    static uint32_t Key(const char* bytes, size_t length)
    {
        uint32_t key = 0;
        if (length == PrefixLength)
            std::memcpy(&key, bytes, PrefixLength);
        else
            std::memcpy(&key, bytes, length);
        return key;
    }
    static uint32_t Hash(uint32_t key) { return (key * 2654435761u) >> (32 - HashBits); }
    static unsigned Block(const unsigned char* bytes) { return bytes[0] | bytes[1] << 8; }

    // True for an ASCII line; else notes in starts_ where its characters start.
    bool NoteCharacterStarts(std::string_view line)
    {
        if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return true;
        starts_.assign(line.size(), true);
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            if (platform::IsLeadByte(static_cast<unsigned char>(line[i])) && IsTrailByte(static_cast<unsigned char>(line[i + 1])))
                starts_[++i] = false;
        }
        return false;
    }

    void SetPair(unsigned first, unsigned second)
    {
        unsigned pair = first | second << 8;
        pairs_[pair / 64] |= uint64_t{1} << (pair % 64);
    }
    bool HasPair(unsigned first, unsigned second) const
    {
        unsigned pair = first | second << 8;
        return pairs_[pair / 64] >> (pair % 64) & 1;
    }

    bool MayStartAt(std::string_view line, size_t at) const
    {
        for (size_t length : lengths_) {
            if (at + length > line.size())
                continue;
            uint32_t hash = Hash(Key(line.data() + at, length));
            if (bits_[length - 1][hash / 64] >> (hash % 64) & 1)
                return true;
        }
        return false;
    }

    // Every entry that text starts with.
    void Walk(std::string_view text, int32_t number)
    {
        size_t low = 0;
        size_t high = patterns_.size();
        for (size_t depth = 0; low < high; ++depth) {
            // Within the range all entries share depth bytes; one of exactly that length sorts first.
            if (patterns_[low].size() == depth) {
                if (found_[low] < 0) {
                    found_[low] = number;
                    --left_;
                }
                ++low;
            }
            if (low >= high || depth >= text.size())
                return;
            auto c = static_cast<unsigned char>(text[depth]);
            auto byteAt = [depth](std::string_view pattern) { return static_cast<unsigned char>(pattern[depth]); };
            // Sorted, the range shares this byte when its ends do (a class's methods share its name).
            if (byteAt(patterns_[low]) == byteAt(patterns_[high - 1])) {
                if (byteAt(patterns_[low]) != c)
                    return;
                continue;
            }
            auto first = patterns_.begin() + static_cast<std::ptrdiff_t>(low);
            auto last = patterns_.begin() + static_cast<std::ptrdiff_t>(high);
            auto from = std::partition_point(first, last, [&](std::string_view p) { return byteAt(p) < c; });
            auto to = std::partition_point(from, last, [&](std::string_view p) { return byteAt(p) == c; });
            low = static_cast<size_t>(from - patterns_.begin());
            high = static_cast<size_t>(to - patterns_.begin());
        }
    }

    const std::vector<std::string_view>& patterns_;
    std::array<std::vector<uint64_t>, PrefixLength> bits_;
    std::vector<size_t> lengths_;  // of the bitmaps in use
    std::array<uint64_t, 65536 / 64> pairs_{};  // the first two bytes of an entry
    std::array<bool, 256> singles_{};           // entries of one byte
    size_t window_ = 1;
    std::vector<uint8_t> steps_;  // by block, when window_ >= 2
    std::vector<int32_t> found_;
    size_t left_ = 0;
    std::vector<bool> starts_;
};

}  // namespace

std::vector<std::string_view> SplitBufferLines(std::string_view crLfText)
{
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<size_t>(std::count(crLfText.begin(), crLfText.end(), '\n')) + 1);
    for (size_t start = 0;;) {
        size_t lf = crLfText.find('\n', start);
        std::string_view line = crLfText.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos)
            return lines;
        start = lf + 1;
    }
}

int32_t ImplementationLineOf(const std::vector<std::string_view>& lines)
{
    static constexpr std::string_view keyword = "IMPLEMENTATION";
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        size_t blank = line.find(' ');
        std::string_view word = blank == std::string_view::npos ? line : platform::TrimView(line.substr(0, blank));
        if (!word.empty() && word.size() <= keyword.size() && platform::ContainsTextIgnoreCase(keyword, word))
            return static_cast<int32_t>(i + 1);
    }
    return 0;
}

ReadableLines CountReadableLines(const std::vector<std::string_view>& lines)
{
    ReadableLines readable;
    for (size_t i = 0; i < lines.size(); ++i) {
        bool last = i + 1 == lines.size();
        // Every line but the last was ended by CR LF in the buffer.
        size_t length = lines[i].size() + (last ? 0 : 2);
        if (length > MaxLineLength) {
            readable.LongLine = static_cast<int32_t>(i + 1);
            break;
        }
        if ((last && lines[i].empty()) || IsEndLine(lines[i]))
            break;
        ++readable.Count;
    }
    return readable;
}

std::vector<int32_t> JumpLines(const std::vector<std::string_view>& lines, int32_t implementationLine,
                               int32_t readable, const std::vector<std::string>& entries)
{
    std::vector<std::string_view> patterns;
    for (const std::string& entry : entries) {
        if (!entry.empty())
            patterns.push_back(entry);
    }
    // Ordered byte by byte as unsigned values, as the walk narrows the range.
    std::sort(patterns.begin(), patterns.end());
    patterns.erase(std::unique(patterns.begin(), patterns.end()), patterns.end());
    EntryFinder finder(patterns);
    int32_t end = std::min<int32_t>(readable, static_cast<int32_t>(lines.size()));
    for (int32_t i = std::max(implementationLine, 0); i < end && !finder.Done(); ++i)
        finder.Scan(lines[static_cast<size_t>(i)], i);
    std::vector<int32_t> result;
    result.reserve(entries.size());
    for (const std::string& entry : entries) {
        if (entry.empty()) {
            result.push_back(-1);
            continue;
        }
        auto at = std::lower_bound(patterns.begin(), patterns.end(), std::string_view(entry));
        result.push_back(finder.Found()[static_cast<size_t>(at - patterns.begin())]);
    }
    return result;
}

}  // namespace lsp
