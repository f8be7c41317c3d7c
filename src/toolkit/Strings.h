#pragma once
// A list of text lines, optionally kept sorted (ASCII case ignored; equal entries keep the order in
// which they came), that tells its owner about every change.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class Strings {
public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        Iterator() = default;
        Iterator(const Strings* list, int index) : list_(list), index_(index) {}
        std::string_view operator*() const { return (*list_)[index_]; }
        Iterator& operator++()
        {
            ++index_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator was = *this;
            ++index_;
            return was;
        }
        bool operator==(const Iterator& other) const = default;

    private:
        const Strings* list_ = nullptr;
        int index_ = 0;
    };

    Strings() = default;
    // A copy keeps the original's revision, and holds its lines without the gaps changes left.
    Strings(const Strings& other);
    Strings& operator=(const Strings& other);
    Strings(Strings&& other) = default;
    Strings& operator=(Strings&& other) = default;

    int Count() const { return static_cast<int>(lines_.size()); }
    bool Empty() const { return lines_.empty(); }
    // The line's bytes stay where they are until the next change of the list.
    std::string_view operator[](int index) const { return Bytes(lines_.at(index)); }
    void Set(int index, std::string_view value);
    // A copy of the lines.
    std::vector<std::string> Items() const;
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, Count()); }

    // Appends, or inserts in sorted position when sorted; answers the index used.
    int Add(std::string_view value);
    // Adds many lines with one change: to a sorted list as if added one by one, in far less time.
    void AddStrings(const std::vector<std::string>& values);
    // The same, taking another list's lines over: into an empty list without copying them.
    void AddStrings(Strings&& lines);
    void Insert(int index, std::string_view value);
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
    // A line is its length (7 bits a byte, low bits first) and its bytes, stored in blocks that
    // never move; the list holds one 4-byte reference a line: block number and offset. A long
    // list so costs little more than its text, and grows without copying what it has.
    struct Block {
        std::unique_ptr<char[]> bytes;
        uint32_t size = 0;
        uint32_t capacity = 0;
    };
    static constexpr int OffsetBits = 18;
    static constexpr uint32_t MaxBlockSize = uint32_t{1} << OffsetBits;
    static constexpr size_t MaxBlocks = size_t{1} << (32 - OffsetBits);

    static Strings Stored(const std::vector<std::string>& values);
    // This list's lines, and the blocks that hold them, become the other list's.
    void TakeLines(Strings&& other);
    std::string_view Bytes(uint32_t line) const;
    // Copies the bytes in (value may be a line of this list) and answers the new line's reference.
    uint32_t Store(std::string_view value);
    // The bytes in the blocks, gaps included.
    size_t StoredBytes() const;
    // The line's bytes become a gap, taken back when gaps outweigh lines.
    void Forget(uint32_t line);
    void CompactIfWasteful();
    void Compact();
    bool Before(uint32_t a, uint32_t b) const;
    // Sorts the lines from index first on, equal lines keeping their order.
    void SortFrom(size_t first);
    void Changed();

    std::vector<Block> blocks_;
    std::deque<uint32_t> lines_;
    size_t gapBytes_ = 0;
    bool sorted_ = false;
    uint64_t revision_ = NextRevision();

    static uint64_t NextRevision();
};

}  // namespace tk
