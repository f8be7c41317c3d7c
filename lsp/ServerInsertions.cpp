// What the tool window's insert menu puts into a unit, taken as an edit for the client: the
// commands run on the unit's buffer in the host, which is then put back as it was, or append to the
// memo, whose lines go in front of the cursor's line as the insert command puts them.

#include <stdexcept>

#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "cli/AddinSession.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "refhost/EditBuffer.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace lsp {

namespace {

// Runs when a scope ends, however it ends.
template <class F>
class AtScopeEnd {
public:
    explicit AtScopeEnd(F f) : f_(std::move(f)) {}
    ~AtScopeEnd() { f_(); }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

private:
    F f_;
};

// The offset where a line (0-based) of a CR LF text starts.
size_t LineStart(std::string_view crLfText, uint32_t line)
{
    size_t at = 0;
    for (uint32_t i = 0; i < line && at != std::string_view::npos; ++i) {
        at = crLfText.find("\r\n", at);
        if (at != std::string_view::npos)
            at += 2;
    }
    return at == std::string_view::npos ? crLfText.size() : at;
}

}  // namespace

tk::Memo& Server::ToolMemo()
{
    auto* memo = dynamic_cast<tk::Memo*>(cli::FindOwned(toolWindow_, "Memo1"));
    if (!memo)
        throw std::runtime_error("the tool window has no memo");
    return *memo;
}

void Server::ClickToolMenu(const std::string& item)
{
    auto* menuItem = dynamic_cast<tk::MenuItem*>(cli::FindOwned(toolWindow_, item));
    if (!menuItem)
        throw std::runtime_error("the tool window has no menu item " + item);
    int messages = desktop_.MessageCount();
    menuItem->Click();
    tk::Application::Instance().ProcessMessages();
    if (desktop_.MessageCount() != messages)
        throw RequestFailed(platform::Cp932ToUtf8(desktop_.LastMessage()));
}

std::string Server::InsertedBy(const std::string& path, uint32_t line, const std::string& menuItem,
                               const std::function<void()>& prepare)
{
    tk::Memo& memo = ToolMemo();
    bool wasOpen = host_.IsFileOpen(path);
    std::string reason;
    if (!wasOpen && !host_.OpenFile(path, reason))
        throw RequestFailed(path + ": " + reason);
    std::string before = host_.Text(path);
    AtScopeEnd restore([&] {
        desktop_.ClearAnswers();
        memo.Lines().Clear();
        if (!wasOpen)
            host_.CloseFile(path);
        else if (host_.Text(path) != before)
            host_.SetText(path, before);
    });
    if (static_cast<int64_t>(line) >= host_.LineCount(path))
        throw ParamsError("the position is past the end of the unit");
    host_.ShowFile(path);
    if (prepare)
        prepare();
    host_.SetCursor(path, {1, static_cast<int32_t>(line + 1)});
    ClickToolMenu(menuItem);
    std::string after = host_.Text(path);
    std::string inserted = after.substr(LineStart(before, line), after.size() - std::min(after.size(), before.size()));
    auto document = documents_.find(path);
    bool open = document != documents_.end();
    refhost::LineBreak style = open ? refhost::DetectLineBreak(document->second.Content.Text()) : host_.LineBreakStyle(path);
    FileEncoding encoding = open ? document->second.Content.Encoding() : DetectEncoding(before);
    return DecodeFromFile(refhost::FromCrLf(inserted, style), encoding.Kind);
}

std::vector<std::string> Server::MemoLinesOf(const std::string& menuItem)
{
    tk::Memo& memo = ToolMemo();
    AtScopeEnd empty([&] {
        desktop_.ClearAnswers();
        memo.Lines().Clear();
    });
    memo.Lines().Clear();
    ClickToolMenu(menuItem);
    std::vector<std::string> lines;
    for (std::string_view line : memo.Lines())
        lines.push_back(platform::Cp932ToUtf8(line));
    return lines;
}

json Server::LinesInserted(const std::string& path, uint32_t line, const std::vector<std::string>& lines)
{
    auto document = documents_.find(path);
    std::string stored;
    if (document == documents_.end() && !platform::ReadWholeFile(path, stored))
        throw RequestFailed(path + ": the unit cannot be read");
    refhost::LineBreak style = refhost::DetectLineBreak(document != documents_.end() ? document->second.Content.Text() : stored);
    std::string text;
    for (const std::string& each : lines)
        text += each + "\r\n";
    return InsertionEdit(path, line, refhost::FromCrLf(text, style));
}

json Server::InsertionEdit(const std::string& path, uint32_t line, const std::string& text) const
{
    json at = {{"line", line}, {"character", 0}};
    json edit = {{"range", {{"start", at}, {"end", at}}}, {"newText", text}};
    return {{"changes", {{UriOfPath(path), json::array({std::move(edit)})}}}};
}

}  // namespace lsp
