// The client's open documents: their text kept in step with the client's changes and handed to the
// host, each version scanned once, the workspace index kept up to date and the diagnostics of open
// units published.

#include <algorithm>

#include "JumpLines.h"
#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"
#include "refhost/EditBuffer.h"

namespace lsp {

namespace {

enum class Severity { Error = 1, Warning = 2 };

}  // namespace

void Server::DidOpen(const json& params)
{
    const json& item = params.at("textDocument");
    std::string path = PathOfUri(item.at("uri").get<std::string>());
    if (path.empty())
        return;
    Document document;
    document.Version = item.value("version", 0);
    std::string bytes;
    FileEncoding encoding;
    if (ReadFileBytes(path, bytes))
        encoding = DetectEncoding(bytes);
    document.Content = DocumentText(item.at("text").get<std::string>(), encoding);
    auto [it, added] = documents_.insert_or_assign(path, std::move(document));
    SyncToHost(path, it->second);
    changed_.insert(path);
    PublishDiagnostics(path);
    PublishFormDiagnostics(path);
}

void Server::DidChange(const json& params)
{
    const json& item = params.at("textDocument");
    std::string path = PathOfUri(item.at("uri").get<std::string>());
    auto it = documents_.find(path);
    if (it == documents_.end())
        return;
    Document& document = it->second;
    for (const json& change : params.at("contentChanges")) {
        std::string text = change.at("text").get<std::string>();
        if (!change.contains("range")) {
            document.Content.ReplaceAll(std::move(text));
            continue;
        }
        // Positions past a line's end or the text's end mean the end; a range given backwards
        // is taken in its order.
        size_t offsets[2];
        const char* ends[] = {"start", "end"};
        for (int i = 0; i < 2; ++i) {
            const json& position = change["range"].at(ends[i]);
            offsets[i] = document.Content.OffsetOf(UnsignedOf(position.at("line")), UnsignedOf(position.at("character")), columns_);
        }
        if (offsets[0] > offsets[1])
            std::swap(offsets[0], offsets[1]);
        document.Content.Replace(offsets[0], offsets[1], text);
    }
    document.Version = item.value("version", document.Version);
    SyncToHost(path, document);
    changed_.insert(path);
    PublishDiagnostics(path);
}

void Server::DidSave(const json& params)
{
    std::string path = PathOfUri(params.at("textDocument").at("uri").get<std::string>());
    if (!documents_.contains(path))
        return;
    if (IsProjectFile(path))
        filesStale_ = true;
    PublishDiagnostics(path);
    PublishFormDiagnostics(path);
}

void Server::DidClose(const json& params)
{
    std::string path = PathOfUri(params.at("textDocument").at("uri").get<std::string>());
    if (documents_.erase(path) == 0)
        return;
    host_.CloseFile(path);
    changed_.insert(path);
    SendNotification("textDocument/publishDiagnostics", {{"uri", UriOfPath(path)}, {"diagnostics", json::array()}});
    PublishFormDiagnostics(path);
}

void Server::DidChangeWatchedFiles(const json& params)
{
    for (const json& change : params.at("changes")) {
        std::string path = PathOfUri(change.at("uri").get<std::string>());
        if (IsFormFile(path)) {
            FormFileChanged(path);
            continue;
        }
        if (path.empty() || !IsUnitFile(path))
            continue;
        int type = change.value("type", 2);
        // A new or deleted file, or a project that may list others, changes the list of units.
        if (type != 2 || IsProjectFile(path))
            filesStale_ = true;
        changed_.insert(path);
    }
}

void Server::SyncToHost(const std::string& path, Document& document)
{
    document.Scanned = nullptr;
    const std::string& bytes = document.Content.Bytes();
    if (!host_.IsFileOpen(path) && !host_.OpenFile(path))
        host_.CreateModule(path, bytes.empty() ? std::string("\r\n") : bytes, 0);
    host_.SetText(path, bytes);
}

std::string Server::KnownPath(const json& textDocument)
{
    std::string path = PathOfUri(textDocument.at("uri").get<std::string>());
    if (path.empty())
        throw ParamsError("the server reads only file: URIs");
    if (documents_.contains(path))
        return path;
    if (filesStale_) {
        files_.Rescan();
        filesStale_ = false;
    }
    if (!files_.IsInside(path) || !IsUnitFile(path))
        throw ParamsError(path + " is not open and not a unit of the workspace");
    return path;
}

bool Server::LoadUnit(const std::string& path, UnitText& unit)
{
    auto document = documents_.find(path);
    if (document != documents_.end()) {
        unit.Text = host_.Text(path);
        unit.Encoding = document->second.Content.Encoding();
        return true;
    }
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    unit.Encoding = DetectEncoding(bytes);
    unit.Text = refhost::ToCrLf(std::move(bytes));
    return true;
}

std::shared_ptr<const Server::ScannedUnit> Server::ScanUnit(const std::string& path)
{
    auto document = documents_.find(path);
    if (document != documents_.end() && document->second.Scanned)
        return document->second.Scanned;
    UnitScanner::Result scan;
    std::string reason;
    if (!scanner_.Scan(path, scan, reason)) {
        SendNotification("window/logMessage", {{"type", 2}, {"message", path + ": " + reason}});
        return nullptr;
    }
    auto unit = std::make_shared<ScannedUnit>();
    unit->Path = path;
    unit->Source.Encoding = document != documents_.end() ? document->second.Content.Encoding() : DetectEncoding(scan.Text);
    unit->Source.Text = std::move(scan.Text);
    unit->Lines = SplitBufferLines(unit->Source.Text);
    unit->Routines = BuildOutline(unit->Lines, scan.Entries, unit->Source.Encoding.Kind == Encoding::Cp932);
    unit->Notices = std::move(scan.Notices);
    if (document != documents_.end())
        document->second.Scanned = unit;
    return unit;
}

std::shared_ptr<const Server::ScannedUnit> Server::ScanRequested(const json& params)
{
    std::string path = KnownPath(params.at("textDocument"));
    std::shared_ptr<const ScannedUnit> unit = ScanUnit(path);
    if (!unit)
        throw ParamsError(path + ": the unit cannot be read");
    return unit;
}

IndexedUnit Server::ScanForIndex(const std::string& path)
{
    IndexedUnit indexed;
    indexed.Path = path;
    UnitScanner::Result scan;
    std::string reason;
    if (!scanner_.Scan(path, scan, reason))
        return indexed;
    // The encoding matters only to entries that are not ASCII, and finding it costs a pass over the unit.
    FileEncoding encoding;
    if (!std::all_of(scan.Entries.begin(), scan.Entries.end(), [](const std::string& entry) { return IsAscii(entry); })) {
        auto document = documents_.find(path);
        encoding = document != documents_.end() ? document->second.Content.Encoding() : DetectEncoding(scan.Text);
    }
    Outline outline = BuildOutline(SplitBufferLines(scan.Text), scan.Entries, encoding.Kind == Encoding::Cp932);
    indexed.Routines.reserve(outline.Symbols.size());
    for (RoutineSymbol& symbol : outline.Symbols) {
        if (!symbol.Name.empty())
            indexed.Routines.push_back({NameOf(symbol.Name, encoding), symbol.Kind, symbol.Line});
    }
    return indexed;
}

void Server::RefreshIndex()
{
    index_.Wait();
    if (filesStale_) {
        files_.Rescan();
        filesStale_ = false;
        for (const IndexedUnit& unit : index_.Units()) {
            if (!files_.Contains(unit.Path))
                changed_.insert(unit.Path);
        }
        for (const std::string& path : files_.Units())
            changed_.insert(path);
    }
    for (const std::string& path : changed_) {
        if (documents_.contains(path) || files_.Contains(path))
            index_.Put(ScanForIndex(path));
        else
            index_.Remove(path);
    }
    changed_.clear();
}

void Server::PublishDiagnostics(const std::string& path)
{
    auto document = documents_.find(path);
    if (document == documents_.end())
        return;
    json diagnostics = json::array();
    std::shared_ptr<const ScannedUnit> unit = ScanUnit(path);
    if (!unit)
        return;
    std::string_view text = unit->Source.Text;
    const std::vector<std::string_view>& lines = unit->Lines;
    FileEncoding encoding = unit->Source.Encoding;
    auto wholeLine = [&](size_t line) {
        return RangeOf(lines[line], static_cast<int32_t>(line), 0, lines[line].size(), encoding);
    };
    int32_t longLine = unit->Routines.LongLine;
    if (longLine > 0 && !unit->Notices.empty()) {
        diagnostics.push_back({{"range", wholeLine(static_cast<size_t>(longLine - 1))},
                               {"severity", static_cast<int>(Severity::Warning)},
                               {"source", "quorlin"},
                               {"message", platform::Cp932ToUtf8(unit->Notices.front())}});
    }
    if (IsProjectFile(path)) {
        std::string folder = platform::ExtractFilePath(path);
        for (const std::string& listed : ProjectUnits(path, text)) {
            std::string reason = platform::UnreadableReason(listed);
            if (reason.empty())
                continue;
            // The line that names the file in quotes.
            for (size_t i = 0; i < lines.size(); ++i) {
                std::string_view line = lines[i];
                bool named = false;
                for (size_t open = line.find('\''); open != std::string_view::npos && !named;) {
                    size_t close = line.find('\'', open + 1);
                    if (close == std::string_view::npos)
                        break;
                    std::string quoted(line.substr(open + 1, close - open - 1));
                    named = refhost::Host::NormalizeFileName(folder + quoted) == listed;
                    open = line.find('\'', close + 1);
                }
                if (!named)
                    continue;
                diagnostics.push_back({{"range", wholeLine(i)},
                                       {"severity", static_cast<int>(Severity::Error)},
                                       {"source", "quorlin"},
                                       {"message", listed + ": the project lists this unit, but its file cannot be read: " + reason}});
                break;
            }
        }
    }
    const DocumentText& client = document->second.Content;
    if (client.Lost() != std::string::npos) {
        uint32_t line = client.LineOf(client.Lost());
        size_t start = client.LineStart(line);
        std::string_view lineText = LineInText(client.Text(), start);
        uint32_t column = ColumnOfOffset(lineText, client.Lost() - start, Encoding::Utf8, columns_);
        json at = {{"line", line}, {"character", column}};
        json after = {{"line", line}, {"character", column + 1}};
        diagnostics.push_back({{"range", {{"start", at}, {"end", after}}},
                               {"severity", static_cast<int>(Severity::Error)},
                               {"source", "quorlin"},
                               {"message", "this character has no form in code page 932, the file's encoding: the "
                                           "routine list sees '?' in its place, and saving the file would lose it"}});
    }
    json published = {{"uri", UriOfPath(path)}, {"diagnostics", std::move(diagnostics)}};
    published["version"] = document->second.Version;
    SendNotification("textDocument/publishDiagnostics", std::move(published));
}

}  // namespace lsp
