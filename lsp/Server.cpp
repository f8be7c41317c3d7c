// The server's dispatch: each message to its handler, the answers and errors, the requests of the
// server's own, and the protocol's lifecycle from initialize to exit.

#include "Server.h"

#include <algorithm>

#include "RequestErrors.h"
#include "Uri.h"
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

}  // namespace lsp
