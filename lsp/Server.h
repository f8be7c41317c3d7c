#pragma once
// The language server: one handler per method of the protocol, answering from the tool window's
// own handlers over the reference host, with the client's open documents as the host's buffers.

#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <unordered_map>

#include "DocumentText.h"
#include "ServerDesktop.h"
#include "TextEncoding.h"
#include "UnitScanner.h"
#include "WorkspaceFiles.h"
#include "WorkspaceIndex.h"
#include "refhost/RefHost.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace lsp {

using json = nlohmann::json;

class Server {
public:
    // Sends one message's body; false when the client is gone.
    using Send = std::function<bool(const std::string& body)>;
    // Takes in the messages that arrived meanwhile, without waiting: cancellations are seen so.
    using Poll = std::function<void()>;

    Server(refhost::Host& host, tk::Form& toolWindow, ServerDesktop& desktop, Send send);
    // Closes the buffers of the documents still open, dropping their edits.
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Sets the tool window up for the server; false with the reason when it cannot be.
    bool Prepare(std::string& error) { return scanner_.Prepare(error); }
    void SetPoll(Poll poll) { poll_ = std::move(poll); }
    // Worker processes for the workspace index; 1 builds it in this process.
    void SetIndexWorkers(int workers) { indexWorkers_ = workers; }

    // One message's body.
    void Handle(const std::string& body);
    // True for a body that is a cancellation, which is then taken into account at once.
    bool HandleCancellation(const std::string& body);
    // A message the transport skipped for its size.
    void RejectTooLarge();

    bool Ended() const { return ended_; }
    // 0 after shutdown and exit, 1 when the client went without a shutdown.
    int ExitCode() const { return shutdown_ ? 0 : 1; }

private:
    // A unit's text for positions and lexical answers: CR LF line breaks, the file's encoding.
    struct UnitText {
        std::string Text;
        FileEncoding Encoding;
    };
    // A unit's routine list with the text its lines are lines of.
    struct ScannedUnit {
        std::string Path;
        Outline Routines;
        UnitText Source;
        std::vector<std::string_view> Lines;  // of Source.Text
        std::vector<std::string> Notices;
    };
    struct Document {
        DocumentText Content;
        int64_t Version = 0;
        std::shared_ptr<const ScannedUnit> Scanned;  // of this version, once asked for
    };
    using Handler = json (Server::*)(const json& params);
    using Notification = void (Server::*)(const json& params);

    // What the server does with the client's answer to one of its own requests: result or error,
    // the other one null.
    using OnAnswer = std::function<void(const json& result, const json& error)>;

    void Request(const json& id, const std::string& method, const json& params);
    void Answer(const json& id, const json& message);
    void Notify(const std::string& method, const json& params);
    void Reply(const json& id, json result);
    void ReplyError(const json& id, int code, const std::string& message);
    void SendNotification(const std::string& method, json params);
    // A request of the server's own; onAnswer (if any) runs when the client answers it, and never
    // when the client goes first.
    void SendRequest(const std::string& method, json params, OnAnswer onAnswer);
    bool Cancelled(const json& id);

    json Initialize(const json& params);
    json Shutdown(const json& params);
    json DocumentSymbol(const json& params);
    json WorkspaceSymbol(const json& params);
    json Definition(const json& params);
    json References(const json& params);
    void Initialized(const json& params);
    void Exit(const json& params);
    void DidOpen(const json& params);
    void DidChange(const json& params);
    void DidSave(const json& params);
    void DidClose(const json& params);
    void DidChangeWatchedFiles(const json& params);
    void CancelRequest(const json& params);

    // The name at a request's position, in the unit it names.
    struct NameAtPosition {
        std::string Path;
        UnitText Unit;
        std::string Word;   // empty when the position is on no name
        size_t Offset = 0;  // of Word in Unit.Text
    };
    NameAtPosition NameAt(const json& params);

    json Hover(const json& params);  // ServerHover.cpp
    // Form files (ServerForms.cpp).
    json FormText(const json& params);
    // The diagnostic of the form file beside an open unit that the designer cannot read, or its
    // withdrawal once the form reads again or the unit is closed.
    void PublishFormDiagnostics(const std::string& unitPath);
    // A form file changed on disk: the diagnostics of the open units beside it are renewed.
    void FormFileChanged(const std::string& formPath);
    // Component rename (ServerRename.cpp).
    json PrepareRename(const json& params);
    json Rename(const json& params);
    // The component of the unit's form whose name a request's position is on, with the name's range.
    struct ComponentAtPosition {
        std::string Unit;
        std::string Form;
        std::string Name;  // as the form file holds it
        json Range;
    };
    bool ComponentAt(const json& params, ComponentAtPosition& component);
    // The client's edits that change a text of the file into another, both CR LF; lineBreak joins
    // lines where a whole text is replaced.
    json TextEdits(std::string_view before, std::string_view after, FileEncoding encoding, std::string_view lineBreak) const;
    // A binary form renamed in step with its unit: written once the client has applied the unit's
    // edit, so long as nothing else wrote it meanwhile.
    void WriteRenamedForm(const std::string& form, const std::string& formBefore, const std::string& formAfter,
                          const json& unitEdit, const json& undoEdit);
    // workspace/executeCommand (ServerCommands.cpp): the commands by name, each taking the
    // request's arguments.
    static const std::map<std::string, Handler>& Commands();
    static json CommandNames();
    json ExecuteCommand(const json& params);
    json VersionInfo(const json& arguments);
    // Where a generator's text goes: in front of a line of a unit, 0-based, not the first.
    struct InsertionPlace {
        std::string Path;
        uint32_t Line = 0;
    };
    // The "uri" and "position" of a command's argument, checked.
    InsertionPlace PlaceOf(const json& given);
    json ClassDefinition(const json& arguments);
    json MethodBodies(const json& arguments);
    json InsertSnippet(const json& arguments);
    // Sends an edit for the client to apply; the client's answer is not waited for.
    void ApplyEdit(const std::string& label, const json& edit);
    // textDocument/codeAction: swapping assignments, data-access routines (ServerActions.cpp).
    json CodeAction(const json& params);
    // The data-access routines of a component of the open unit's form, to a data set or to a
    // control grid, as the lines the tool window appends to its memo.
    std::vector<std::string> DataAccessLines(const std::string& path, const std::string& component, bool grid);

    // The tool window's insertions as edits (ServerInsertions.cpp). Lines are 0-based; nothing can
    // go in front of the first.
    tk::Memo& ToolMemo();
    // Clicks a menu item of the tool window; a message the add-in shows makes it RequestFailed.
    void ClickToolMenu(const std::string& item);
    // Runs a menu command that inserts into the unit's buffer with the cursor on line (not the
    // first), after prepare has set up the rest, and answers what it inserted in the client's text;
    // the buffer is put back as it was.
    std::string InsertedBy(const std::string& path, uint32_t line, const std::string& menuItem,
                           const std::function<void()>& prepare);
    // The lines a menu command appends to the memo, in the client's text; the memo is emptied.
    std::vector<std::string> MemoLinesOf(const std::string& menuItem);
    // The edit that puts the lines in front of line, each with the unit's line break; line is one
    // that text can go in front of.
    json LinesInserted(const std::string& path, uint32_t line, const std::vector<std::string>& lines);
    json InsertionEdit(const std::string& path, uint32_t line, const std::string& text) const;

    // The path of a document the server may answer for: open, or a unit of the workspace.
    std::string KnownPath(const json& textDocument);
    bool LoadUnit(const std::string& path, UnitText& unit);
    // A unit's routine list with its lines, scanned from its buffer when it is open (once for each
    // version of an open document); null when the unit cannot be read.
    std::shared_ptr<const ScannedUnit> ScanUnit(const std::string& path);
    // ScanUnit of the document a request names; the request fails when the unit cannot be read.
    std::shared_ptr<const ScannedUnit> ScanRequested(const json& params);
    IndexedUnit ScanForIndex(const std::string& path);
    // The index with every change since it was built taken in.
    void RefreshIndex();
    void SyncToHost(const std::string& path, Document& document);
    void PublishDiagnostics(const std::string& path);

    // A position's line or character, checked (ServerNavigation.cpp, as the positions below).
    static uint32_t UnsignedOf(const json& value);
    // Positions in the client's columns of byte offsets into line number of a unit.
    json PositionOf(std::string_view line, int32_t number, size_t offset, FileEncoding encoding) const;
    uint32_t ColumnOf(std::string_view line, int32_t number, size_t offset, FileEncoding encoding) const;
    json RangeOf(std::string_view line, int32_t number, size_t start, size_t end, FileEncoding encoding) const;
    // The line and byte offset of a position; false when the line is past the end.
    bool OffsetOf(const std::vector<std::string_view>& lines, const json& position, FileEncoding encoding,
                  int32_t& line, size_t& offset) const;
    std::string NameOf(std::string_view bytes, FileEncoding encoding) const;

    refhost::Host& host_;
    tk::Form& toolWindow_;
    ServerDesktop& desktop_;
    UnitScanner scanner_;
    Send send_;
    Poll poll_;
    std::map<std::string, Handler> requests_;
    std::map<std::string, Notification> notifications_;
    std::set<std::string> cancelled_;  // ids as their JSON text
    std::map<int64_t, OnAnswer> pending_;  // the server's own requests, by id
    int64_t lastRequestId_ = 0;
    std::set<std::string> formsAwaitingEdit_;  // binary forms a rename writes once the unit's edit is applied

    bool initialized_ = false;
    bool shutdown_ = false;
    bool ended_ = false;
    ColumnUnit columns_ = ColumnUnit::Utf16;
    bool watchFiles_ = false;
    size_t symbolLimit_ = 200;
    int indexWorkers_ = 1;

    std::unordered_map<std::string, Document> documents_;
    WorkspaceFiles files_;
    bool filesStale_ = false;
    WorkspaceIndex index_;
    std::set<std::string> changed_;  // units to scan again before the index answers
    std::map<std::string, std::string> damagedForms_;  // open unit → its form file with a diagnostic
};

}  // namespace lsp
