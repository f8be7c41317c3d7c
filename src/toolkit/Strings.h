#pragma once
// A list of text lines, optionally kept sorted (ASCII case ignored; equal entries keep the order in
// which they came), that tells its owner about every change.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class Strings {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const std::string& operator[](int index) const { return items_.at(index); }
    void Set(int index, std::string value);
    const std::vector<std::string>& Items() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // Appends, or inserts in sorted position when sorted; answers the index used.
    int Add(std::string value);
    // Adds many lines with one change: to a sorted list as if added one by one, in far less time.
    void AddStrings(std::vector<std::string> values);
    void Insert(int index, std::string value);
    void Delete(int index);
    void Clear();
    void Assign(const std::vector<std::string>& values);
    // Exact, case-sensitive search; -1 when absent.
    int IndexOf(std::string_view value) const;

    bool Sorted() const { return sorted_; }
    // Turning sorting on sorts the present lines at once.
    void SetSorted(bool sorted);

    // The lines each followed by CR LF; SetText splits on CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);

    // Raised after every change of the lines.
    std::function<void()> OnChange;
    // New after every change, and never the same for two different states of any lists (a copy
    // keeps its original's): what a front end compares instead of all the lines.
    uint64_t Revision() const { return revision_; }

private:
    void Changed();

    std::vector<std::string> items_;
    bool sorted_ = false;
    uint64_t revision_ = NextRevision();

    static uint64_t NextRevision();
};

}  // namespace tk
