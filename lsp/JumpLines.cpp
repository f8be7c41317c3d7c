#include "JumpLines.h"

#include <algorithm>
#include <array>
#include <unordered_map>

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

// The entries as one automaton (Aho-Corasick), so a line is read once for all of them. A node
// knows the nearest node on its chain of suffixes that ends an entry; once every entry on a chain
// has been found, the chain is not walked again.
class EntryAutomaton {
public:
    explicit EntryAutomaton(const std::vector<std::string_view>& patterns)
    {
        nodes_.emplace_back();
        root_.fill(-1);
        for (size_t p = 0; p < patterns.size(); ++p)
            Insert(patterns[p], static_cast<int>(p));
        Link();
        found_.assign(patterns.size(), -1);
        left_ = patterns.size();
    }

    // Notes line number for every entry first seen in line.
    void Scan(std::string_view line, int32_t number)
    {
        starts_.assign(line.size(), true);
        for (size_t i = 0; i < line.size(); ++i) {
            auto c = static_cast<unsigned char>(line[i]);
            if (platform::IsLeadByte(c) && i + 1 < line.size() && IsTrailByte(static_cast<unsigned char>(line[i + 1])))
                starts_[++i] = false;
        }
        int state = 0;
        for (size_t i = 0; i < line.size() && left_ > 0; ++i) {
            auto c = static_cast<unsigned char>(line[i]);
            int next = Child(state, c);
            while (next < 0 && state != 0) {
                state = nodes_[static_cast<size_t>(state)].Fail;
                next = Child(state, c);
            }
            state = next < 0 ? 0 : next;
            Report(state, i, line, number);
        }
    }

    bool Done() const { return left_ == 0; }
    const std::vector<int32_t>& Found() const { return found_; }

private:
    struct Node {
        std::vector<std::pair<unsigned char, int>> Next;
        int Fail = 0;
        int Output = -1;   // nearest node on the suffix chain, this one included, that ends an entry
        int Pattern = -1;  // the entry this node ends
        uint32_t Depth = 0;
        bool ChainDone = false;
    };

    int Child(int node, unsigned char c) const
    {
        if (node == 0)
            return root_[c];
        for (const auto& [byte, child] : nodes_[static_cast<size_t>(node)].Next) {
            if (byte == c)
                return child;
        }
        return -1;
    }

    void Insert(std::string_view pattern, int index)
    {
        int node = 0;
        for (char ch : pattern) {
            auto c = static_cast<unsigned char>(ch);
            int next = Child(node, c);
            if (next < 0) {
                next = static_cast<int>(nodes_.size());
                nodes_.emplace_back();
                nodes_.back().Depth = nodes_[static_cast<size_t>(node)].Depth + 1;
                if (node == 0)
                    root_[c] = next;
                else
                    nodes_[static_cast<size_t>(node)].Next.emplace_back(c, next);
            }
            node = next;
        }
        nodes_[static_cast<size_t>(node)].Pattern = index;
    }

    void Link()
    {
        std::vector<int> queue;
        for (int child : root_) {
            if (child >= 0)
                queue.push_back(child);
        }
        for (size_t at = 0; at < queue.size(); ++at) {
            int node = queue[at];
            Node& current = nodes_[static_cast<size_t>(node)];
            current.Output = current.Pattern >= 0 ? node : nodes_[static_cast<size_t>(current.Fail)].Output;
            for (const auto& [c, child] : current.Next) {
                int fail = current.Fail;
                int target = Child(fail, c);
                while (target < 0 && fail != 0) {
                    fail = nodes_[static_cast<size_t>(fail)].Fail;
                    target = Child(fail, c);
                }
                nodes_[static_cast<size_t>(child)].Fail = target < 0 ? 0 : target;
                queue.push_back(child);
            }
        }
    }

    void Report(int state, size_t end, std::string_view line, int32_t number)
    {
        int node = nodes_[static_cast<size_t>(state)].Output;
        chain_.clear();
        bool allFound = true;
        for (; node > 0 && !nodes_[static_cast<size_t>(node)].ChainDone;
             node = nodes_[static_cast<size_t>(nodes_[static_cast<size_t>(node)].Fail)].Output) {
            Node& match = nodes_[static_cast<size_t>(node)];
            chain_.push_back(node);
            auto& found = found_[static_cast<size_t>(match.Pattern)];
            if (found >= 0)
                continue;
            size_t start = end + 1 - match.Depth;
            // As the add-in's search: no match starts on a trail byte, and none starting below 0x40
            // can.
            if (static_cast<unsigned char>(line[start]) < 0x40 || starts_[start]) {
                found = number;
                --left_;
            } else {
                allFound = false;
            }
        }
        if (allFound) {
            for (int done : chain_)
                nodes_[static_cast<size_t>(done)].ChainDone = true;
        }
    }

    std::vector<Node> nodes_;
    std::array<int, 256> root_;
    std::vector<int32_t> found_;
    size_t left_ = 0;
    std::vector<bool> starts_;
    std::vector<int> chain_;
};

}  // namespace

std::vector<std::string_view> SplitBufferLines(std::string_view crLfText)
{
    std::vector<std::string_view> lines;
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
    std::unordered_map<std::string_view, size_t> unique;
    std::vector<std::string_view> patterns;
    std::vector<size_t> patternOf;
    for (const std::string& entry : entries) {
        if (entry.empty()) {
            patternOf.push_back(SIZE_MAX);
            continue;
        }
        auto [it, added] = unique.emplace(entry, patterns.size());
        if (added)
            patterns.push_back(entry);
        patternOf.push_back(it->second);
    }
    EntryAutomaton automaton(patterns);
    int32_t end = std::min<int32_t>(readable, static_cast<int32_t>(lines.size()));
    for (int32_t i = std::max(implementationLine, 0); i < end && !automaton.Done(); ++i)
        automaton.Scan(lines[static_cast<size_t>(i)], i);
    std::vector<int32_t> result;
    result.reserve(entries.size());
    for (size_t p : patternOf)
        result.push_back(p == SIZE_MAX ? -1 : automaton.Found()[p]);
    return result;
}

}  // namespace lsp
