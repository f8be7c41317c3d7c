// Component rename: the tool window's rename window renames, with the designer behind it, over the
// client's text of the unit. The client gets the edits of the unit and of a text form; a binary
// form is written here, once the client has applied the unit's edit.

#include <optional>

#include "JumpLines.h"
#include "LineChanges.h"
#include "PascalLexer.h"
#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "cli/RenameWindow.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "refhost/EditBuffer.h"
#include "refhost/FormDesigner.h"
#include "toolkit/Application.h"

namespace lsp {

namespace {

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The name an object's first line in a text form gives it ("object Name: TClass", or inherited or
// inline), as bytes start..end of the line; false for any other line.
bool ObjectNameOn(std::string_view line, size_t& start, size_t& end)
{
    size_t word = line.find_first_not_of(" \t");
    if (word == std::string_view::npos)
        return false;
    size_t after = word;
    while (after < line.size() && IsNameChar(line[after]))
        ++after;
    std::string_view keyword = line.substr(word, after - word);
    if (!platform::SameText(keyword, "object") && !platform::SameText(keyword, "inherited")
        && !platform::SameText(keyword, "inline"))
        return false;
    start = line.find_first_not_of(" \t", after);
    if (start == std::string_view::npos || start == after)
        return false;
    for (end = start; end < line.size() && IsNameChar(line[end]);)
        ++end;
    return end > start;
}

// The line break a file's text uses, for text put in whole.
std::string_view LineBreakOf(std::string_view text)
{
    size_t lf = text.find('\n');
    return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace

bool Server::ComponentAt(const json& params, ComponentAtPosition& component)
{
    const json& textDocument = params.at("textDocument");
    std::string path = PathOfUri(textDocument.at("uri").get<std::string>());
    bool inForm = IsFormFile(path);
    if (inForm && !documents_.contains(path) && !files_.IsInside(path))
        throw ParamsError(path + " is not open and not a form file of the workspace");
    if (!inForm)
        path = KnownPath(textDocument);
    UnitText text;
    if (!LoadUnit(path, text))
        throw ParamsError(path + ": the file cannot be read");
    std::vector<std::string_view> lines = SplitBufferLines(text.Text);
    int32_t lineNumber;
    size_t offset;
    if (!OffsetOf(lines, params.at("position"), text.Encoding, lineNumber, offset))
        throw ParamsError("the position is past the end of the file");
    std::string_view line = lines[static_cast<size_t>(lineNumber)];
    size_t start;
    size_t end;
    if (inForm) {
        // Only a text form has object lines to stand on.
        std::string bytes;
        if (!platform::ReadWholeFile(path, bytes) || forms::FormFormatOf(bytes) != forms::FormFormat::Text
            || !ObjectNameOn(line, start, end) || offset < start || offset > end)
            return false;
        component.Unit = platform::ChangeFileExt(path, ".pas");
    } else {
        std::string_view word = IdentifierAt(line, offset, start);
        if (word.empty())
            return false;
        end = start + word.size();
        component.Unit = path;
    }
    // The components the rename window lists: those the form owns.
    component.Form = refhost::FormFileOf(component.Unit);
    std::string problem;
    auto designer = component.Form.empty()
        ? nullptr
        : refhost::FormDesigner::Load(component.Form, component.Unit, host_.Components(), problem);
    if (!designer)
        return false;
    std::string_view name = line.substr(start, end - start);
    for (int index : designer->Owned(0)) {
        if (platform::SameText(designer->Object(index).Name, name)) {
            component.Name = designer->Object(index).Name;
            component.Range = RangeOf(line, lineNumber, start, end, text.Encoding);
            return true;
        }
    }
    return false;
}

json Server::PrepareRename(const json& params)
{
    ComponentAtPosition component;
    if (!ComponentAt(params, component))
        return nullptr;
    return {{"range", component.Range}, {"placeholder", platform::Cp932ToUtf8(component.Name)}};
}

json Server::Rename(const json& params)
{
    std::string newName = platform::Utf8ToCp932(params.at("newName").get<std::string>());
    ComponentAtPosition component;
    if (!ComponentAt(params, component))
        throw RequestFailed("no component of a form is named at this position");
    const std::string& unit = component.Unit;
    const std::string& form = component.Form;
    if (formsAwaitingEdit_.contains(form))
        throw RequestFailed(form + ": an earlier rename waits for the editor to apply the unit's edit");
    std::string formBefore;
    if (!platform::ReadWholeFile(form, formBefore))
        throw RequestFailed(form + ": the form file cannot be read");
    // The designer renames the form as the file holds it, which must be what the client shows.
    if (documents_.contains(form) && host_.Text(form) != refhost::ToCrLf(formBefore))
        throw RequestFailed(form + ": the form has changes that are not saved; save it before renaming a component");

    // The designer keeps its form with the unit's buffer and renames in the host's buffers: closing
    // them lets every rename start from the form file as it is, and afterwards the buffers take the
    // client's text again, since the client applies the edits and sends them back.
    auto close = [&] {
        host_.CloseFile(form);
        host_.CloseFile(unit);
    };
    auto reopen = [&](const std::string& path) {
        auto document = documents_.find(path);
        if (document != documents_.end())
            SyncToHost(path, document->second);
    };
    auto restore = [&] {
        close();
        reopen(unit);
        reopen(form);
    };
    close();
    reopen(unit);
    cli::WindowRename rename;
    std::string before;
    std::string after;
    std::string formAfter;
    bool textForm = false;
    std::optional<std::string> said;  // the add-in's message
    std::string problem;
    try {
        std::string reason;
        if (!host_.IsFileOpen(unit) && !host_.OpenFile(unit, reason))
            throw RequestFailed(unit + ": " + reason);
        host_.ShowFile(unit);
        tk::Application::Instance().ProcessMessages();
        before = host_.Text(unit);
        int messages = desktop_.MessageCount();
        if (!cli::RenameInWindow(toolWindow_, desktop_, component.Name, newName, rename))
            throw RequestFailed("the tool window has no rename window");
        if (desktop_.MessageCount() != messages)
            said = desktop_.LastMessage();
        after = host_.Text(unit);
        problem = host_.FormProblem(unit);
        if (auto designer = host_.Designer(unit); designer && rename.Renamed) {
            formAfter = designer->File().Bytes;
            textForm = designer->File().Format == forms::FormFormat::Text;
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    // The rename window's own words first: "Failed to Rename Component" for a name the designer refuses.
    if (said)
        throw RequestFailed(platform::Cp932ToUtf8(*said));
    if (!rename.Opened)
        throw RequestFailed(problem.empty() ? unit + ": the unit has no form" : problem);
    if (!rename.Listed)
        throw RequestFailed(form + ": the rename window does not list " + platform::Cp932ToUtf8(component.Name));
    if (!rename.Renamed)
        throw RequestFailed(form + ": the designer did not rename " + platform::Cp932ToUtf8(component.Name));

    UnitText unitText;
    if (!LoadUnit(unit, unitText))
        throw RequestFailed(unit + ": the unit cannot be read");
    // A client's text keeps its line breaks; a file's the host read them from.
    auto document = documents_.find(unit);
    std::string unitBytes;
    if (document == documents_.end())
        platform::ReadWholeFile(unit, unitBytes);
    std::string_view lineBreak = LineBreakOf(document != documents_.end() ? document->second.Content.Text() : unitBytes);
    json unitEdits = TextEdits(before, after, unitText.Encoding, lineBreak);
    std::string unitUri = UriOfPath(unit);
    if (!textForm) {
        // A binary form cannot be edited by the client. The unit's edit goes to the client as the
        // server's workspace/applyEdit, and the form is written when the client answers that it
        // applied it; so the rename itself answers an empty edit, and a client that refuses, fails
        // or goes away leaves unit and form as they were.
        json undoEdits = TextEdits(after, before, unitText.Encoding, lineBreak);
        WriteRenamedForm(form, formBefore, formAfter, {{"changes", {{unitUri, std::move(unitEdits)}}}},
                         {{"changes", {{unitUri, std::move(undoEdits)}}}});
        return {{"changes", json::object()}};
    }
    std::string formText = refhost::ToCrLf(formBefore);
    json formEdits = TextEdits(formText, refhost::ToCrLf(formAfter), DetectEncoding(formBefore), LineBreakOf(formBefore));
    json changes = json::object();
    if (!unitEdits.empty())
        changes[unitUri] = std::move(unitEdits);
    if (!formEdits.empty())
        changes[UriOfPath(form)] = std::move(formEdits);
    return {{"changes", std::move(changes)}};
}

json Server::TextEdits(std::string_view before, std::string_view after, FileEncoding encoding,
                       std::string_view lineBreak) const
{
    std::vector<std::string_view> lines = SplitBufferLines(before);
    json edits = json::array();
    for (LineChange& change : LineChangesOf(before, after, lineBreak)) {
        // The client's text has no byte order mark.
        if (change.Line == 0 && change.Start == 0 && encoding.Bom && change.Text.starts_with(Utf8Bom))
            change.Text.erase(0, Utf8Bom.size());
        auto line = static_cast<size_t>(change.Line);
        auto endLine = static_cast<size_t>(change.EndLine);
        edits.push_back({{"range", {{"start", PositionOf(lines[line], change.Line, change.Start, encoding)},
                                    {"end", PositionOf(lines[endLine], change.EndLine, change.End, encoding)}}},
                         {"newText", NameOf(change.Text, encoding)}});
    }
    return edits;
}

void Server::WriteRenamedForm(const std::string& form, const std::string& formBefore, const std::string& formAfter,
                              const json& unitEdit, const json& undoEdit)
{
    formsAwaitingEdit_.insert(form);
    auto onAnswer = [this, form, formBefore, formAfter, undoEdit](const json& result, const json& /*error*/) {
        formsAwaitingEdit_.erase(form);
        if (!result.is_object() || !result.value("applied", false))
            return;
        std::string now;
        std::string why;
        if (!platform::ReadWholeFile(form, now) || now != formBefore)
            why = "it changed since the rename";
        else if (!platform::WriteFileReplacing(form, formAfter, why) && why.empty())
            why = "the writer failed";
        if (why.empty()) {
            FormFileChanged(form);
            return;
        }
        // The unit's edit is taken back, so that unit and form stay in step.
        SendRequest("workspace/applyEdit", {{"label", "Undo the component rename"}, {"edit", undoEdit}}, nullptr);
        SendNotification("window/showMessage",
                         {{"type", 1}, {"message", form + ": the renamed form could not be written (" + why
                                                       + "); the rename of the unit is taken back"}});
    };
    SendRequest("workspace/applyEdit", {{"label", "Rename component"}, {"edit", unitEdit}}, std::move(onAnswer));
}

}  // namespace lsp
