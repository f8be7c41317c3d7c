#include "toolkit/Strings.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "platform/Cp932.h"

namespace tk {

namespace {

// Blocks grow from this size to the largest one, so a short list stays small.
constexpr uint32_t FirstBlockSize = 256;
// Gaps below this are never worth a compaction.
constexpr size_t TolerableGapBytes = 64 * 1024;

size_t LengthBytes(size_t length)
{
    size_t bytes = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++bytes;
    }
    return bytes;
}

}  // namespace

Strings::Strings(const Strings& other)
    : OnChange(other.OnChange), sorted_(other.sorted_), revision_(other.revision_)
{
    for (uint32_t line : other.lines_)
        lines_.push_back(Store(other.Bytes(line)));
}

Strings& Strings::operator=(const Strings& other)
{
    if (this != &other) {
        Strings copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Strings Strings::Stored(const std::vector<std::string>& values)
{
    Strings lines;
    for (const std::string& value : values)
        lines.lines_.push_back(lines.Store(value));
    return lines;
}

void Strings::TakeLines(Strings&& other)
{
    blocks_ = std::move(other.blocks_);
    lines_ = std::move(other.lines_);
    gapBytes_ = other.gapBytes_;
    other.blocks_.clear();
    other.lines_.clear();
    other.gapBytes_ = 0;
}

std::string_view Strings::Bytes(uint32_t line) const
{
    const Block& block = blocks_[line >> OffsetBits];
    const char* at = block.bytes.get() + (line & (MaxBlockSize - 1));
    size_t length = 0;
    for (int shift = 0;; shift += 7) {
        auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<size_t>(byte & 0x7f) << shift;
        if (byte < 0x80)
            break;
    }
    return {at, length};
}

uint32_t Strings::Store(std::string_view value)
{
    if (value.size() > std::numeric_limits<uint32_t>::max() - 8)
        throw std::length_error("Strings: line too long");
    size_t need = LengthBytes(value.size()) + value.size();
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().size < need) {
        if (blocks_.size() == MaxBlocks)
            throw std::length_error("Strings: too many lines");
        uint32_t capacity = blocks_.empty() ? FirstBlockSize : 2 * std::min(blocks_.back().capacity, MaxBlockSize / 2);
        // A line longer than a block has a block of its own, so it starts at offset 0.
        capacity = std::max(capacity, static_cast<uint32_t>(need));
        // The old blocks stay where they are, so value may still point into one.
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(capacity), 0, capacity});
    }
    Block& block = blocks_.back();
    auto line = static_cast<uint32_t>(((blocks_.size() - 1) << OffsetBits) | block.size);
    char* at = block.bytes.get() + block.size;
    size_t length = value.size();
    while (length >= 0x80) {
        *at++ = static_cast<char>(0x80 | (length & 0x7f));
        length >>= 7;
    }
    *at++ = static_cast<char>(length);
    std::memcpy(at, value.data(), value.size());
    block.size += static_cast<uint32_t>(need);
    return line;
}

size_t Strings::StoredBytes() const
{
    size_t bytes = 0;
    for (const Block& block : blocks_)
        bytes += block.size;
    return bytes;
}

void Strings::Forget(uint32_t line)
{
    std::string_view bytes = Bytes(line);
    gapBytes_ += LengthBytes(bytes.size()) + bytes.size();
}

void Strings::CompactIfWasteful()
{
    if (gapBytes_ > TolerableGapBytes && 2 * gapBytes_ > StoredBytes())
        Compact();
}

void Strings::Compact()
{
    TakeLines(Strings(*this));
}

bool Strings::Before(uint32_t a, uint32_t b) const
{
    return platform::CompareText(Bytes(a), Bytes(b)) < 0;
}

void Strings::SortFrom(size_t first)
{
    auto from = lines_.begin() + static_cast<std::ptrdiff_t>(first);
    // Lines stored in the order of the list have rising references, which then settle ties: an
    // in-place sort is as stable as a stable sort, and needs no memory beside the list.
    if (std::is_sorted(from, lines_.end())) {
        std::sort(from, lines_.end(), [this](uint32_t a, uint32_t b) {
            int order = platform::CompareText(Bytes(a), Bytes(b));
            return order != 0 ? order < 0 : a < b;
        });
    } else {
        std::stable_sort(from, lines_.end(), [this](uint32_t a, uint32_t b) { return Before(a, b); });
    }
}

void Strings::Set(int index, std::string_view value)
{
    uint32_t& line = lines_.at(index);
    uint32_t old = line;
    line = Store(value);
    Forget(old);
    if (sorted_)
        SortFrom(0);
    CompactIfWasteful();
    Changed();
}

std::vector<std::string> Strings::Items() const
{
    std::vector<std::string> items;
    items.reserve(lines_.size());
    for (uint32_t line : lines_)
        items.emplace_back(Bytes(line));
    return items;
}

int Strings::Add(std::string_view value)
{
    auto at = lines_.end();
    if (sorted_) {
        // After the equal entries, so they keep the order in which they came.
        at = std::upper_bound(lines_.begin(), lines_.end(), value, [this](std::string_view v, uint32_t line) {
            return platform::CompareText(v, Bytes(line)) < 0;
        });
    }
    auto index = static_cast<int>(at - lines_.begin());
    lines_.insert(at, Store(value));
    Changed();
    return index;
}

void Strings::AddStrings(const std::vector<std::string>& values)
{
    AddStrings(Stored(values));
}

void Strings::AddStrings(Strings&& lines)
{
    if (lines.Empty())
        return;
    // Taken in full at once, so the other list is left empty whichever way they are added.
    Strings taken;
    taken.TakeLines(std::move(lines));
    size_t middle = lines_.size();
    if (lines_.empty()) {
        TakeLines(std::move(taken));
    } else {
        for (uint32_t line : taken.lines_)
            lines_.push_back(Store(taken.Bytes(line)));
    }
    if (sorted_) {
        // A stable sort of the new lines and a stable merge put each after the equal lines that
        // came before it, as Add does.
        SortFrom(middle);
        std::inplace_merge(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(middle), lines_.end(),
                           [this](uint32_t a, uint32_t b) { return Before(a, b); });
    }
    Changed();
}

void Strings::Insert(int index, std::string_view value)
{
    if (sorted_) {
        // A position in a sorted list would break its order; the sorted place is used instead.
        Add(value);
        return;
    }
    if (index < 0 || index > Count()) {
        throw std::out_of_range("Strings::Insert: index out of range");
    }
    lines_.insert(lines_.begin() + index, Store(value));
    Changed();
}

void Strings::Delete(int index)
{
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("Strings::Delete: index out of range");
    }
    Forget(lines_[index]);
    lines_.erase(lines_.begin() + index);
    CompactIfWasteful();
    Changed();
}

void Strings::Clear()
{
    if (lines_.empty()) {
        return;
    }
    blocks_.clear();
    lines_.clear();
    gapBytes_ = 0;
    Changed();
}

void Strings::Assign(const std::vector<std::string>& values)
{
    TakeLines(Stored(values));
    if (sorted_) {
        SortFrom(0);
    }
    Changed();
}

int Strings::IndexOf(std::string_view value) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (Bytes(lines_[i]) == value)
            return static_cast<int>(i);
    }
    return -1;
}

void Strings::SetSorted(bool sorted)
{
    if (sorted == sorted_) {
        return;
    }
    sorted_ = sorted;
    if (sorted_ && !std::is_sorted(lines_.begin(), lines_.end(), [this](uint32_t a, uint32_t b) { return Before(a, b); })) {
        SortFrom(0);
        Changed();
    }
}

std::string Strings::Text() const
{
    std::string text;
    text.reserve(StoredBytes() - gapBytes_ + lines_.size() * 2);
    for (uint32_t line : lines_) {
        text += Bytes(line);
        text += "\r\n";
    }
    return text;
}

void Strings::SetText(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    Assign(lines);
}

uint64_t Strings::NextRevision()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}

void Strings::Changed()
{
    revision_ = NextRevision();
    if (OnChange) {
        OnChange();
    }
}

}  // namespace tk
