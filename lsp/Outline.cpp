#include "Outline.h"

#include "JumpLines.h"
#include "platform/Cp932.h"

namespace lsp {

namespace {

constexpr std::string_view RoutineKeywords[] = {"PROCEDURE", "FUNCTION", "CONSTRUCTOR", "DESTRUCTOR"};

// The keyword the scanner takes from a header's first word; empty for a line that only contains
// the entry (a call before the header).
std::string_view KeywordOf(std::string_view line)
{
    size_t blank = line.find(' ');
    std::string_view word = blank == std::string_view::npos ? line : platform::TrimView(line.substr(0, blank));
    for (std::string_view keyword : RoutineKeywords) {
        if (platform::ContainsTextIgnoreCase(word, keyword))
            return keyword;
    }
    return {};
}

SymbolKind KindOf(std::string_view keyword, std::string_view name)
{
    if (keyword == "CONSTRUCTOR")
        return SymbolKind::Constructor;
    return name.find('.') != std::string_view::npos ? SymbolKind::Method : SymbolKind::Function;
}

}  // namespace

size_t NameLength(std::string_view entry, bool cp932)
{
    for (size_t i = 0; i < entry.size(); ++i) {
        auto c = static_cast<unsigned char>(entry[i]);
        if (cp932 && platform::IsLeadByte(c)) {
            ++i;
            continue;
        }
        if (c == '(' || c == ':' || c == ';' || c == '=' || c == '{' || c <= 0x20)
            return i > 0 ? i : entry.size();
    }
    return entry.size();
}

Outline BuildOutline(const std::vector<std::string_view>& lines, const std::vector<std::string>& entries, bool cp932)
{
    int32_t implementation = ImplementationLineOf(lines);
    ReadableLines readable = CountReadableLines(lines);
    std::vector<int32_t> found = JumpLines(lines, implementation, readable.Count, entries);
    Outline outline;
    outline.LongLine = readable.LongLine;
    outline.Symbols.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string_view entry = entries[i];
        RoutineSymbol symbol;
        size_t nameLength = NameLength(entry, cp932);
        symbol.Name.assign(entry.substr(0, nameLength));
        symbol.Detail.assign(entry.substr(nameLength));
        if (found[i] >= 0) {
            symbol.Line = found[i];
            std::string_view line = lines[static_cast<size_t>(found[i])];
            size_t at = symbol.Name.empty() ? std::string_view::npos
                        : cp932            ? platform::FindText(line, symbol.Name)
                                           : line.find(symbol.Name);
            symbol.NameStart = at == std::string_view::npos ? 0 : at;
            symbol.NameEnd = at == std::string_view::npos ? line.size() : at + symbol.Name.size();
            symbol.Kind = KindOf(KeywordOf(line), symbol.Name);
        } else {
            symbol.Line = implementation > 0 ? implementation - 1 : 0;
            symbol.NameEnd = lines[static_cast<size_t>(symbol.Line)].size();
            symbol.Kind = KindOf({}, symbol.Name);
        }
        outline.Symbols.push_back(std::move(symbol));
    }
    return outline;
}

}  // namespace lsp
