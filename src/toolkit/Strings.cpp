#include "toolkit/Strings.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "platform/Cp932.h"

namespace tk {

namespace {

bool Before(const std::string& a, const std::string& b)
{
    return platform::CompareText(a, b) < 0;
}

// Sorts [first, last) as stable_sort with Before does, in far fewer steps: most comparisons are
// settled by the lines' first bytes, taken once per line; lines are moved once, at the end.
void StableSort(std::vector<std::string>::iterator first, std::vector<std::string>::iterator last)
{
    // A key of 8 bytes: a long list is sorted with little memory beside it.
    struct Key {
        uint32_t Prefix;
        uint32_t Index;
    };
    std::vector<Key> keys;
    keys.reserve(static_cast<size_t>(last - first));
    for (auto line = first; line != last; ++line)
        keys.push_back({platform::CompareTextPrefix(*line), static_cast<uint32_t>(line - first)});
    std::sort(keys.begin(), keys.end(), [first](const Key& a, const Key& b) {
        if (a.Prefix != b.Prefix)
            return a.Prefix < b.Prefix;
        int order = platform::CompareText(first[a.Index], first[b.Index]);
        return order != 0 ? order < 0 : a.Index < b.Index;
    });
    // Each cycle of the permutation is followed once, so every line moves once.
    std::vector<bool> placed(keys.size());
    for (size_t start = 0; start < keys.size(); ++start) {
        if (placed[start])
            continue;
        std::string held = std::move(first[start]);
        size_t at = start;
        for (;;) {
            placed[at] = true;
            size_t from = keys[at].Index;
            if (from == start) {
                first[at] = std::move(held);
                break;
            }
            first[at] = std::move(first[from]);
            at = from;
        }
    }
}

}  // namespace

void Strings::Set(int index, std::string value)
{
    items_.at(index) = std::move(value);
    if (sorted_) {
        StableSort(items_.begin(), items_.end());
    }
    Changed();
}

int Strings::Add(std::string value)
{
    int index = Count();
    if (sorted_) {
        // After the equal entries, so they keep the order in which they came.
        auto at = std::upper_bound(items_.begin(), items_.end(), value, Before);
        index = static_cast<int>(at - items_.begin());
    }
    items_.insert(items_.begin() + index, std::move(value));
    Changed();
    return index;
}

void Strings::AddStrings(std::vector<std::string> values)
{
    if (values.empty()) {
        return;
    }
    // Into an empty list the lines are taken over whole, without a second array of them.
    auto middle = items_.empty() ? (items_ = std::move(values)).begin()
                                 : items_.insert(items_.end(), std::make_move_iterator(values.begin()),
                                                 std::make_move_iterator(values.end()));
    if (sorted_) {
        // A stable sort of the new lines and a stable merge put each after the equal lines that
        // came before it, as Add does.
        StableSort(middle, items_.end());
        std::inplace_merge(items_.begin(), middle, items_.end(), Before);
    }
    Changed();
}

void Strings::Insert(int index, std::string value)
{
    if (sorted_) {
        // A position in a sorted list would break its order; the sorted place is used instead.
        Add(std::move(value));
        return;
    }
    if (index < 0 || index > Count()) {
        throw std::out_of_range("Strings::Insert: index out of range");
    }
    items_.insert(items_.begin() + index, std::move(value));
    Changed();
}

void Strings::Delete(int index)
{
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("Strings::Delete: index out of range");
    }
    items_.erase(items_.begin() + index);
    Changed();
}

void Strings::Clear()
{
    if (items_.empty()) {
        return;
    }
    items_.clear();
    Changed();
}

void Strings::Assign(const std::vector<std::string>& values)
{
    items_ = values;
    if (sorted_) {
        StableSort(items_.begin(), items_.end());
    }
    Changed();
}

int Strings::IndexOf(std::string_view value) const
{
    auto at = std::find(items_.begin(), items_.end(), value);
    return at == items_.end() ? -1 : static_cast<int>(at - items_.begin());
}

void Strings::SetSorted(bool sorted)
{
    if (sorted == sorted_) {
        return;
    }
    sorted_ = sorted;
    if (sorted_ && !std::is_sorted(items_.begin(), items_.end(), Before)) {
        StableSort(items_.begin(), items_.end());
        Changed();
    }
}

std::string Strings::Text() const
{
    std::string text;
    for (const std::string& item : items_) {
        text += item;
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
