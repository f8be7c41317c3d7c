#include "Server.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include "CodeContext.h"
#include "JumpLines.h"
#include "PascalLexer.h"
#include "RequestErrors.h"
#include "SymbolMatch.h"
#include "Uri.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"
#include "refhost/EditBuffer.h"

namespace lsp {

namespace {

// JSON-RPC and protocol error codes.
constexpr int ParseError = -32700;
constexpr int InvalidRequest = -32600;
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int InternalError = -32603;
constexpr int ServerNotInitialized = -32002;
constexpr int RequestFailedCode = -32803;
constexpr int RequestCancelled = -32800;

enum class Severity { Error = 1, Warning = 2 };

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    std::string reason;
    off_t size = 0;
    int fd = platform::OpenRegularFile(path, O_RDONLY, reason, &size);
    if (fd < 0)
        return false;
    bytes.resize(static_cast<size_t>(std::max<off_t>(size, 0)));
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t read = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += static_cast<size_t>(read);
    }
    close(fd);
    bytes.resize(got);
    return true;
}

std::string_view LineInText(std::string_view text, size_t start)
{
    size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// The first line holds the byte order mark, which the client's text has not.
std::string_view WithoutBom(std::string_view line, int32_t number, FileEncoding encoding)
{
    if (number == 0 && encoding.Bom && line.starts_with(Utf8Bom))
        line.remove_prefix(Utf8Bom.size());
    return line;
}

uint32_t UnsignedOf(const json& value)
{
    if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > UINT32_MAX)
        throw ParamsError("a position's line and character are numbers from 0");
    return static_cast<uint32_t>(value.get<int64_t>());
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

Server::Server(refhost::Host& host, tk::Form& toolWindow, ServerDesktop& desktop, Send send)
    : host_(host), toolWindow_(toolWindow), desktop_(desktop), scanner_(host, toolWindow, desktop), send_(std::move(send))
{
    requests_ = {
        {"initialize", &Server::Initialize},
        {"shutdown", &Server::Shutdown},
        {"textDocument/documentSymbol", &Server::DocumentSymbol},
        {"workspace/symbol", &Server::WorkspaceSymbol},
        {"textDocument/definition", &Server::Definition},
        {"textDocument/references", &Server::References},
        {"textDocument/hover", &Server::Hover},
        {"textDocument/prepareRename", &Server::PrepareRename},
        {"textDocument/rename", &Server::Rename},
        {"quorlin/formText", &Server::FormText},
        {"workspace/executeCommand", &Server::ExecuteCommand},
        {"textDocument/codeAction", &Server::CodeAction},
    };
    notifications_ = {
        {"initialized", &Server::Initialized},
        {"exit", &Server::Exit},
        {"textDocument/didOpen", &Server::DidOpen},
        {"textDocument/didChange", &Server::DidChange},
        {"textDocument/didSave", &Server::DidSave},
        {"textDocument/didClose", &Server::DidClose},
        {"workspace/didChangeWatchedFiles", &Server::DidChangeWatchedFiles},
        {"$/cancelRequest", &Server::CancelRequest},
    };
    // Buffers of open documents hold the client's unsaved text; closing them never saves it.
    host_.SetQuerySave([](const std::string&) { return refhost::SaveAnswer::Discard; });
}

Server::~Server()
{
    for (const auto& [path, document] : documents_)
        host_.CloseFile(path);
}

void Server::Handle(const std::string& body)
{
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        ReplyError(nullptr, ParseError, "the message is not JSON");
        return;
    }
    if (!message.is_object()) {
        ReplyError(nullptr, InvalidRequest, "a message is a JSON object");
        return;
    }
    auto id = message.find("id");
    bool request = id != message.end();
    if (request && !id->is_string() && !id->is_number_integer()) {
        ReplyError(nullptr, InvalidRequest, "a request's id is a string or an integer");
        return;
    }
    auto method = message.find("method");
    if (method == message.end() || !method->is_string()) {
        // An answer to one of the server's own requests.
        if (request && (message.contains("result") || message.contains("error")))
            Answer(*id, message);
        else
            ReplyError(request ? *id : json(nullptr), InvalidRequest, "a message names its method");
        return;
    }
    json params = message.value("params", json());
    if (request)
        Request(*id, method->get<std::string>(), params);
    else
        Notify(method->get<std::string>(), params);
}

bool Server::HandleCancellation(const std::string& body)
{
    json message = json::parse(body, nullptr, false);
    if (!message.is_object() || message.value("method", json()) != "$/cancelRequest" || message.contains("id"))
        return false;
    CancelRequest(message.value("params", json()));
    return true;
}

void Server::RejectTooLarge()
{
    ReplyError(nullptr, InvalidRequest, "the message is larger than the server takes; it was skipped");
}

void Server::Request(const json& id, const std::string& method, const json& params)
{
    if (Cancelled(id)) {
        ReplyError(id, RequestCancelled, "the request was cancelled");
        return;
    }
    if (!initialized_ && method != "initialize") {
        ReplyError(id, ServerNotInitialized, "the server has not been initialized");
        return;
    }
    if (initialized_ && method == "initialize") {
        ReplyError(id, InvalidRequest, "the server was initialized already");
        return;
    }
    if (shutdown_) {
        ReplyError(id, InvalidRequest, "the server is shutting down");
        return;
    }
    auto handler = requests_.find(method);
    if (handler == requests_.end()) {
        ReplyError(id, MethodNotFound, "the server has no method " + method);
        return;
    }
    try {
        json result = (this->*handler->second)(params);
        if (Cancelled(id))
            ReplyError(id, RequestCancelled, "the request was cancelled");
        else
            Reply(id, std::move(result));
    } catch (const ParamsError& e) {
        ReplyError(id, InvalidParams, e.what());
    } catch (const RequestFailed& e) {
        ReplyError(id, RequestFailedCode, e.what());
    } catch (const json::exception& e) {
        ReplyError(id, InvalidParams, std::string("the parameters do not fit the method: ") + e.what());
    } catch (const std::exception& e) {
        ReplyError(id, InternalError, e.what());
    }
}

void Server::Answer(const json& id, const json& message)
{
    auto pending = id.is_number_integer() ? pending_.find(id.get<int64_t>()) : pending_.end();
    if (pending == pending_.end())
        return;
    OnAnswer onAnswer = std::move(pending->second);
    pending_.erase(pending);
    try {
        onAnswer(message.value("result", json()), message.value("error", json()));
    } catch (const std::exception& e) {
        SendNotification("window/logMessage", {{"type", 1}, {"message", std::string("an answer of the client: ") + e.what()}});
    }
}

void Server::Notify(const std::string& method, const json& params)
{
    if (!initialized_ && method != "exit")
        return;
    auto handler = notifications_.find(method);
    if (handler == notifications_.end())
        return;
    try {
        (this->*handler->second)(params);
    } catch (const std::exception& e) {
        // A notification has no answer; the client hears of it in its log.
        SendNotification("window/logMessage",
                         {{"type", 1}, {"message", method + ": " + e.what()}});
    }
}

void Server::Reply(const json& id, json result)
{
    // An initializer list would copy the result, which may be a big unit's whole outline.
    json::object_t message;
    message.emplace("jsonrpc", "2.0");
    message.emplace("id", id);
    message.emplace("result", std::move(result));
    send_(json(std::move(message)).dump(-1, ' ', false, json::error_handler_t::replace));
}

void Server::ReplyError(const json& id, int code, const std::string& text)
{
    json message = {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", text}}}};
    send_(message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void Server::SendNotification(const std::string& method, json params)
{
    json message = {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
    send_(message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void Server::SendRequest(const std::string& method, json params, OnAnswer onAnswer)
{
    int64_t id = ++lastRequestId_;
    if (onAnswer)
        pending_[id] = std::move(onAnswer);
    json message = {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
    if (!send_(message.dump(-1, ' ', false, json::error_handler_t::replace)))
        pending_.erase(id);
}

bool Server::Cancelled(const json& id)
{
    if (poll_)
        poll_();
    return cancelled_.erase(id.dump()) > 0;
}

void Server::CancelRequest(const json& params)
{
    if (params.is_object() && params.contains("id"))
        cancelled_.insert(params["id"].dump());
}

json Server::Initialize(const json& params)
{
    if (!params.is_object())
        throw ParamsError("initialize takes an object");
    json capabilities = params.value("capabilities", json::object());
    json encodings = capabilities.value("general", json::object()).value("positionEncodings", json::array());
    if (encodings.is_array() && std::find(encodings.begin(), encodings.end(), "utf-8") != encodings.end())
        columns_ = ColumnUnit::Utf8;
    json watched = capabilities.value("workspace", json::object()).value("didChangeWatchedFiles", json::object());
    watchFiles_ = watched.is_object() && watched.value("dynamicRegistration", false);
    json options = params.value("initializationOptions", json::object());
    if (options.is_object() && options.contains("workspaceSymbolLimit") && options["workspaceSymbolLimit"].is_number_unsigned())
        symbolLimit_ = std::max<size_t>(1, options["workspaceSymbolLimit"].get<size_t>());

    std::vector<std::string> folders;
    json workspaceFolders = params.value("workspaceFolders", json());
    if (workspaceFolders.is_array()) {
        for (const json& folder : workspaceFolders) {
            std::string path = folder.is_object() ? PathOfUri(folder.value("uri", "")) : std::string();
            if (!path.empty())
                folders.push_back(path);
        }
    } else if (params.value("rootUri", json()).is_string()) {
        std::string path = PathOfUri(params["rootUri"].get<std::string>());
        if (!path.empty())
            folders.push_back(path);
    } else if (params.value("rootPath", json()).is_string()) {
        folders.push_back(refhost::Host::NormalizeFileName(params["rootPath"].get<std::string>()));
    }
    files_.SetFolders(std::move(folders));
    initialized_ = true;

    json result;
    result["capabilities"] = {
        {"positionEncoding", columns_ == ColumnUnit::Utf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
        {"documentSymbolProvider", true},
        {"workspaceSymbolProvider", true},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"hoverProvider", true},
        {"codeActionProvider", {{"codeActionKinds", {"refactor", "refactor.rewrite"}}}},
        {"renameProvider", {{"prepareProvider", true}}},
        {"executeCommandProvider", {{"commands", CommandNames()}}},
    };
    result["serverInfo"] = {{"name", "quorlin"}};
    return result;
}

void Server::Initialized(const json& /*params*/)
{
    files_.Rescan();
    index_.Start(files_.Units(), indexWorkers_, [this](const std::string& path) { return ScanForIndex(path); });
    if (watchFiles_) {
        json watchers = json::array();
        for (const char* pattern : {"**/*.{pas,pp,dpr,lpr,dfm}", "**/*.{PAS,PP,DPR,LPR,DFM}"})
            watchers.push_back({{"globPattern", pattern}});
        json registration = {{"id", "quorlin-units"},
                             {"method", "workspace/didChangeWatchedFiles"},
                             {"registerOptions", {{"watchers", watchers}}}};
        SendRequest("client/registerCapability", {{"registrations", json::array({registration})}}, nullptr);
    }
}

json Server::Shutdown(const json& /*params*/)
{
    shutdown_ = true;
    return nullptr;
}

void Server::Exit(const json& /*params*/)
{
    ended_ = true;
}

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
