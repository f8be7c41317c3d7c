// Navigation: a unit's outline, the workspace search, definitions and references, and the
// positions in the client's columns they are given in.

#include <algorithm>

#include "CodeContext.h"
#include "JumpLines.h"
#include "PascalLexer.h"
#include "RequestErrors.h"
#include "Server.h"
#include "SymbolMatch.h"
#include "Uri.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"

namespace lsp {

namespace {

// The first line holds the byte order mark, which the client's text has not.
std::string_view WithoutBom(std::string_view line, int32_t number, FileEncoding encoding)
{
    if (number == 0 && encoding.Bom && line.starts_with(Utf8Bom))
        line.remove_prefix(Utf8Bom.size());
    return line;
}

json Location(const std::string& path, json range)
{
    return {{"uri", UriOfPath(path)}, {"range", std::move(range)}};
}

// A unit's file as a place to go to: its start.
json FileStart(const std::string& path)
{
    json start = {{"line", 0}, {"character", 0}};
    return Location(path, {{"start", start}, {"end", start}});
}

}  // namespace

uint32_t Server::UnsignedOf(const json& value)
{
    if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > UINT32_MAX)
        throw ParamsError("a position's line and character are numbers from 0");
    return static_cast<uint32_t>(value.get<int64_t>());
}

std::string Server::NameOf(std::string_view bytes, FileEncoding encoding) const
{
    return IsAscii(bytes) ? std::string(bytes) : DecodeFromFile(bytes, encoding.Kind);
}

uint32_t Server::ColumnOf(std::string_view line, int32_t number, size_t offset, FileEncoding encoding) const
{
    std::string_view shown = WithoutBom(line, number, encoding);
    size_t skipped = line.size() - shown.size();
    return ColumnOfOffset(shown, offset > skipped ? offset - skipped : 0, encoding.Kind, columns_);
}

json Server::PositionOf(std::string_view line, int32_t number, size_t offset, FileEncoding encoding) const
{
    return {{"line", number}, {"character", ColumnOf(line, number, offset, encoding)}};
}

json Server::RangeOf(std::string_view line, int32_t number, size_t start, size_t end, FileEncoding encoding) const
{
    return {{"start", PositionOf(line, number, start, encoding)}, {"end", PositionOf(line, number, end, encoding)}};
}

bool Server::OffsetOf(const std::vector<std::string_view>& lines, const json& position, FileEncoding encoding,
                      int32_t& line, size_t& offset) const
{
    uint32_t number = UnsignedOf(position.at("line"));
    if (number >= lines.size())
        return false;
    line = static_cast<int32_t>(number);
    std::string_view text = lines[number];
    std::string_view shown = WithoutBom(text, line, encoding);
    offset = (text.size() - shown.size()) + OffsetOfColumn(shown, UnsignedOf(position.at("character")), encoding.Kind, columns_);
    return true;
}

json Server::DocumentSymbol(const json& params)
{
    std::shared_ptr<const ScannedUnit> unit = ScanRequested(params);
    FileEncoding encoding = unit->Source.Encoding;
    // Thousands of symbols in a big unit: each value is put in its place at once, never copied, and
    // plain ASCII names are not converted.
    auto text = [&](std::string_view bytes) -> json { return IsAscii(bytes) ? std::string(bytes) : NameOf(bytes, encoding); };
    auto position = [&](std::string_view line, int32_t number, size_t offset) {
        json::object_t place;
        place.emplace("line", number);
        place.emplace("character", ColumnOf(line, number, offset, encoding));
        return place;
    };
    auto range = [&](std::string_view line, int32_t number, size_t start, size_t end) {
        json::object_t span;
        span.emplace("start", position(line, number, start));
        span.emplace("end", position(line, number, end));
        return span;
    };
    json::array_t symbols;
    symbols.reserve(unit->Routines.Symbols.size());
    for (const RoutineSymbol& symbol : unit->Routines.Symbols) {
        std::string_view line = unit->Lines[static_cast<size_t>(symbol.Line)];
        json::object_t item;
        item.emplace("name", symbol.Name.empty() ? json(" ") : text(symbol.Name));
        item.emplace("detail", text(symbol.Detail));
        item.emplace("kind", static_cast<int>(symbol.Kind));
        item.emplace("range", range(line, symbol.Line, 0, line.size()));
        item.emplace("selectionRange", range(line, symbol.Line, symbol.NameStart, symbol.NameEnd));
        symbols.emplace_back(std::move(item));
    }
    return symbols;
}

json Server::WorkspaceSymbol(const json& params)
{
    std::string query = params.at("query").get<std::string>();
    RefreshIndex();
    struct Match {
        int Rank;
        const IndexedUnit* Unit;
        const IndexedRoutine* Routine;  // none for the unit itself
        std::string_view Name;
    };
    auto better = [](const Match& a, const Match& b) {
        if (a.Rank != b.Rank)
            return a.Rank < b.Rank;
        if (a.Name.size() != b.Name.size())
            return a.Name.size() < b.Name.size();
        if (int order = platform::CompareText(a.Name, b.Name))
            return order < 0;
        if (a.Unit != b.Unit)
            return a.Unit->Path < b.Unit->Path;
        return (a.Routine ? a.Routine->Line : -1) < (b.Routine ? b.Routine->Line : -1);
    };
    // The best ones only, in a heap whose top is the worst of them: a name that cannot be among them
    // costs its match and one comparison.
    std::vector<Match> matches;
    auto consider = [&](const Match& match) {
        if (matches.size() < symbolLimit_) {
            matches.push_back(match);
            std::push_heap(matches.begin(), matches.end(), better);
        } else if (better(match, matches.front())) {
            std::pop_heap(matches.begin(), matches.end(), better);
            matches.back() = match;
            std::push_heap(matches.begin(), matches.end(), better);
        }
    };
    for (const IndexedUnit& unit : index_.Units()) {
        std::string_view unitName = UnitNameOf(unit.Path);
        int rank = MatchRank(unitName, query);
        if (rank >= 0)
            consider({rank, &unit, nullptr, unitName});
        for (const IndexedRoutine& routine : unit.Routines) {
            rank = MatchRank(routine.Name, query);
            if (rank >= 0)
                consider({rank, &unit, &routine, routine.Name});
        }
    }
    std::sort_heap(matches.begin(), matches.end(), better);
    size_t count = matches.size();
    json symbols = json::array();
    for (size_t i = 0; i < count; ++i) {
        const Match& match = matches[i];
        int32_t line = match.Routine ? match.Routine->Line : 0;
        json range = {{"start", {{"line", line}, {"character", 0}}}, {"end", {{"line", line}, {"character", 0}}}};
        json symbol = {
            {"name", std::string(match.Name)},
            {"kind", static_cast<int>(match.Routine ? match.Routine->Kind : SymbolKind::Module)},
            {"location", Location(match.Unit->Path, std::move(range))},
        };
        if (match.Routine)
            symbol["containerName"] = std::string(UnitNameOf(match.Unit->Path));
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

Server::NameAtPosition Server::NameAt(const json& params)
{
    NameAtPosition name;
    name.Path = KnownPath(params.at("textDocument"));
    if (!LoadUnit(name.Path, name.Unit))
        throw ParamsError(name.Path + ": the unit cannot be read");
    std::vector<std::string_view> lines = SplitBufferLines(name.Unit.Text);
    int32_t lineNumber;
    size_t offset;
    if (!OffsetOf(lines, params.at("position"), name.Unit.Encoding, lineNumber, offset))
        throw ParamsError("the position is past the end of the unit");
    std::string_view line = lines[static_cast<size_t>(lineNumber)];
    size_t start;
    name.Word = IdentifierAt(line, offset, start);
    name.Offset = static_cast<size_t>(line.data() - name.Unit.Text.data()) + start;
    return name;
}

json Server::Definition(const json& params)
{
    NameAtPosition at = NameAt(params);
    const std::string& path = at.Path;
    const UnitText& unit = at.Unit;
    std::string_view word = at.Word;
    if (word.empty())
        return nullptr;
    CodeContext context = ContextAt(unit.Text, unit.Encoding.Kind == Encoding::Cp932, at.Offset);
    if (context.InUses) {
        std::string file = files_.FindUnit(word, path, unit.Text);
        return file.empty() ? json(nullptr) : FileStart(file);
    }
    std::string name = context.Qualifier.empty() ? std::string(word) : context.Qualifier + "." + std::string(word);
    std::shared_ptr<const ScannedUnit> scanned = ScanUnit(path);
    if (!scanned)
        return nullptr;
    json locations = json::array();
    auto add = [&](const RoutineSymbol& symbol) {
        std::string_view header = scanned->Lines[static_cast<size_t>(symbol.Line)];
        locations.push_back(Location(path, RangeOf(header, symbol.Line, symbol.NameStart, symbol.NameEnd, scanned->Source.Encoding)));
    };
    const std::vector<RoutineSymbol>& routines = scanned->Routines.Symbols;
    for (const RoutineSymbol& symbol : routines) {
        if (platform::SameText(symbol.Name, name)) {
            add(symbol);
            return locations;
        }
    }
    if (context.Declared)
        return nullptr;
    // A name used elsewhere: the routines of that name in this unit, else in the workspace.
    auto sameName = [&](std::string_view candidate) {
        size_t dot = candidate.rfind('.');
        return platform::SameText(candidate, word)
            || (dot != std::string_view::npos && platform::SameText(candidate.substr(dot + 1), word));
    };
    for (const RoutineSymbol& symbol : routines) {
        if (sameName(symbol.Name))
            add(symbol);
    }
    if (!locations.empty())
        return locations;
    RefreshIndex();
    for (const IndexedUnit& indexed : index_.Units()) {
        for (const IndexedRoutine& routine : indexed.Routines) {
            if (sameName(routine.Name)) {
                json header = {{"line", routine.Line}, {"character", 0}};
                locations.push_back(Location(indexed.Path, {{"start", header}, {"end", header}}));
            }
        }
    }
    if (locations.empty()) {
        std::string file = files_.FindUnit(word, path, unit.Text);
        if (!file.empty())
            locations.push_back(FileStart(file));
    }
    return locations;
}

json Server::References(const json& params)
{
    std::string word = NameAt(params).Word;
    json locations = json::array();
    if (word.empty())
        return locations;
    if (filesStale_) {
        files_.Rescan();
        filesStale_ = false;
    }
    std::vector<std::string> paths = files_.Units();
    for (const auto& [open, document] : documents_) {
        if (!files_.Contains(open))
            paths.push_back(open);
    }
    std::string bytes;
    UnitText text;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i % 256 == 255 && poll_) {
            poll_();
        }
        const std::string& file = paths[i];
        auto document = documents_.find(file);
        std::string_view content;
        FileEncoding encoding;
        if (document != documents_.end()) {
            text.Text = host_.Text(file);
            content = text.Text;
            encoding = document->second.Content.Encoding();
        } else {
            if (!ReadFileBytes(file, bytes))
                continue;
            content = bytes;
        }
        if (FindIgnoringCase(content, word) == std::string_view::npos)
            continue;
        if (document == documents_.end())
            encoding = DetectEncoding(content);
        ForEachToken(content, encoding.Kind == Encoding::Cp932, [&](const Token& token) {
            if (token.What != Token::Identifier || token.Length != word.size()
                || !platform::SameText(content.substr(token.Offset, token.Length), word))
                return true;
            std::string_view line = LineInText(content, token.LineStart);
            size_t from = token.Offset - token.LineStart;
            locations.push_back(Location(file, RangeOf(line, token.Line, from, from + token.Length, encoding)));
            return true;
        });
    }
    return locations;
}

}  // namespace lsp
