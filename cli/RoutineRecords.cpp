#include "RoutineRecords.h"

#include <deque>
#include <unordered_map>

#include "platform/Cp932.h"

namespace cli {

namespace {

constexpr std::string_view routineKeywords[] = {"PROCEDURE", "FUNCTION", "CONSTRUCTOR", "DESTRUCTOR"};

// The reader of the routine list stops at a line this long.
constexpr size_t longLine = 1022;

struct Header {
    std::string Entry;
    size_t Keyword = 0;
    int Line = 0;
};

// The entries one line gives: for each keyword its first word holds, the line without the keyword
// and without the blanks in front of what remains.
void ReadHeaders(std::string_view line, int number, std::vector<Header>& headers)
{
    std::string_view word = line.substr(0, line.find(' '));
    word = platform::TrimView(word);
    if (word.empty() || platform::ContainsText(word, "//") || platform::ContainsText(word, "(*"))
        return;
    for (size_t k = 0; k < std::size(routineKeywords); ++k) {
        if (!platform::ContainsTextIgnoreCase(word, routineKeywords[k]))
            continue;
        size_t at = platform::FindTextIgnoreCase(line, routineKeywords[k]);
        std::string_view before = platform::TrimLeftView(line.substr(0, at));
        std::string_view after = line.substr(at + routineKeywords[k].size());
        if (before.empty())
            after = platform::TrimLeftView(after);
        headers.push_back({std::string(before).append(after), k, number});
    }
}

}  // namespace

std::vector<RoutineRecord> FindRoutineRecords(std::string_view text, const std::vector<std::string>& entries)
{
    std::vector<Header> headers;
    int number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.size() >= longLine)
            break;
        ReadHeaders(line, ++number, headers);
        start = end + 1;
    }
    std::unordered_map<std::string_view, std::deque<const Header*>> byEntry;
    size_t first = headers.size() > entries.size() ? headers.size() - entries.size() : 0;
    for (size_t i = first; i < headers.size(); ++i)
        byEntry[headers[i].Entry].push_back(&headers[i]);

    std::vector<RoutineRecord> records;
    for (const std::string& entry : entries) {
        RoutineRecord& record = records.emplace_back();
        record.Entry = entry;
        auto found = byEntry.find(entry);
        if (found == byEntry.end() || found->second.empty())
            continue;
        const Header& header = *found->second.front();
        found->second.pop_front();
        record.Keyword = platform::LowerCase(routineKeywords[header.Keyword]);
        record.Line = header.Line;
    }
    return records;
}

std::string RoutineName(std::string_view entry)
{
    return std::string(platform::TrimView(entry.substr(0, entry.find_first_of("(:;"))));
}

}  // namespace cli
