// workspace/executeCommand: the tool window's commands that take a file or values an editor has no
// box for, each answering what the matching quorlin command prints or inserts. The generators take
// one object as their argument and put their text in front of the line of its position, as the
// tool window's insert command does; the edit is sent to the client to apply and is the answer too.

#include "JumpLines.h"
#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "cli/GeneratorWindows.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"
#include "refhost/EditBuffer.h"
#include "version/VersionInfoList.h"

namespace lsp {

namespace {

// The file a command's first argument names by its URI.
std::string FileArgument(const json& arguments)
{
    if (!arguments.is_array() || arguments.empty() || !arguments[0].is_string())
        throw ParamsError("the command takes a file's URI as its first argument");
    std::string path = PathOfUri(arguments[0].get<std::string>());
    if (path.empty())
        throw ParamsError("the server reads only file: URIs");
    return path;
}

const json& ObjectArgument(const json& arguments)
{
    if (!arguments.is_array() || arguments.size() != 1 || !arguments[0].is_object())
        throw ParamsError("the command takes one object as its argument");
    return arguments[0];
}

std::string TextField(const json& given, const std::string& name)
{
    auto field = given.find(name);
    if (field == given.end() || !field->is_string() || field->get_ref<const std::string&>().empty())
        throw ParamsError("the argument's \"" + name + "\" is a text, and not an empty one");
    return field->get<std::string>();
}

// A file named by a path or a file: URI; a relative path starts from the unit's folder.
std::string ReadableFile(const json& given, const std::string& name, const std::string& unitPath)
{
    std::string named = TextField(given, name);
    std::string path = named.starts_with("file:") ? PathOfUri(named) : named;
    if (path.empty())
        throw ParamsError("the server reads only file: URIs");
    if (!path.starts_with('/'))
        path = platform::ExtractFilePath(unitPath) + path;
    std::string reason = platform::UnreadableReason(path);
    if (!reason.empty())
        throw RequestFailed(path + ": " + reason);
    return path;
}

}  // namespace

const std::map<std::string, Server::Handler>& Server::Commands()
{
    static const std::map<std::string, Handler> commands = {
        {"quorlin.versionInfo", &Server::VersionInfo},
        {"quorlin.classDefinition", &Server::ClassDefinition},
        {"quorlin.methodBodies", &Server::MethodBodies},
        {"quorlin.insertSnippet", &Server::InsertSnippet},
    };
    return commands;
}

json Server::CommandNames()
{
    json names = json::array();
    for (const auto& [name, command] : Commands())
        names.push_back(name);
    return names;
}

json Server::ExecuteCommand(const json& params)
{
    std::string name = params.at("command").get<std::string>();
    auto command = Commands().find(name);
    if (command == Commands().end())
        throw ParamsError("the server has no command " + name);
    return (this->*command->second)(params.value("arguments", json::array()));
}

json Server::VersionInfo(const json& arguments)
{
    std::string file = FileArgument(arguments);
    std::string reason = platform::UnreadableReason(file);
    if (!reason.empty())
        throw RequestFailed(file + ": " + reason);
    std::vector<std::string> list;
    quorlin::ReadVersionInfoList(file, list);
    if (list.empty())
        throw RequestFailed(file + ": the version resource has no translation table");
    json strings = json::array();
    for (const std::string& entry : list)
        strings.push_back(platform::Cp932ToUtf8(entry));
    return strings;
}

Server::InsertionPlace Server::PlaceOf(const json& given)
{
    InsertionPlace place;
    place.Path = KnownPath({{"uri", TextField(given, "uri")}});
    auto position = given.find("position");
    if (position == given.end() || !position->is_object() || !position->contains("line")
        || !(*position)["line"].is_number_unsigned())
        throw ParamsError("the argument's \"position\" is a position with a line");
    UnitText unit;
    if (!LoadUnit(place.Path, unit))
        throw RequestFailed(place.Path + ": the unit cannot be read");
    uint64_t line = (*position)["line"].get<uint64_t>();
    if (line >= SplitBufferLines(unit.Text).size())
        throw ParamsError("the position is past the end of the unit");
    if (line == 0)
        throw RequestFailed("nothing can go in front of the first line");
    place.Line = static_cast<uint32_t>(line);
    return place;
}

json Server::ClassDefinition(const json& arguments)
{
    const json& given = ObjectArgument(arguments);
    InsertionPlace place = PlaceOf(given);
    cli::ClassWindowInput input;
    input.Table = ReadableFile(given, "table", place.Path);
    input.ClassName = platform::Utf8ToCp932(TextField(given, "className"));
    input.BaseName = platform::Utf8ToCp932(TextField(given, "baseName"));
    if (auto comments = given.find("comments"); comments != given.end() && !comments->is_null()) {
        if (!comments->is_number_unsigned() || comments->get<uint64_t>() > 2)
            throw ParamsError("the argument's \"comments\" is 0 (//), 1 ((* *)) or 2 ({ })");
        input.CommentStyle = comments->get<int>();
    }
    cli::AnswerClassWindow(desktop_, input);
    json edit = LinesInserted(place.Path, place.Line, MemoLinesOf("InsertClass"));
    ApplyEdit("Insert class definition from table", edit);
    return edit;
}

json Server::MethodBodies(const json& arguments)
{
    const json& given = ObjectArgument(arguments);
    InsertionPlace place = PlaceOf(given);
    std::string table = ReadableFile(given, "table", place.Path);
    cli::AnswerMethodWindow(desktop_, table, platform::Utf8ToCp932(TextField(given, "className")));
    json edit = LinesInserted(place.Path, place.Line, MemoLinesOf("MethodMenuItem"));
    ApplyEdit("Insert method bodies from table", edit);
    return edit;
}

json Server::InsertSnippet(const json& arguments)
{
    const json& given = ObjectArgument(arguments);
    InsertionPlace place = PlaceOf(given);
    std::string file = ReadableFile(given, "file", place.Path);
    bool selected = false;
    if (auto whole = given.find("selected"); whole != given.end() && !whole->is_null()) {
        if (!whole->is_boolean())
            throw ParamsError("the argument's \"selected\" is true or false");
        selected = whole->get<bool>();
    }
    std::string bytes;
    if (!platform::ReadWholeFile(file, bytes))
        throw RequestFailed(file + ": " + platform::UnreadableReason(file));
    // The snippet goes in as characters: one in the other encoding is converted to the unit's.
    UnitText unit;
    if (!LoadUnit(place.Path, unit))
        throw RequestFailed(place.Path + ": the unit cannot be read");
    FileEncoding own = DetectEncoding(bytes);
    if (own.Kind != unit.Encoding.Kind) {
        std::string_view text = bytes;
        if (own.Bom)
            text.remove_prefix(Utf8Bom.size());
        size_t lost;
        bytes = EncodeForFile(DecodeFromFile(text, own.Kind), unit.Encoding, lost);
    }
    std::string inserted = InsertedBy(place.Path, place.Line, "K8", [&] {
        tk::Memo& memo = ToolMemo();
        memo.SetText(refhost::ToCrLf(std::move(bytes)));
        if (selected)
            memo.SelectAll();
        else
            memo.SetSelStart(0);
    });
    json edit = InsertionEdit(place.Path, place.Line, inserted);
    ApplyEdit("Insert snippet", edit);
    return edit;
}

void Server::ApplyEdit(const std::string& label, const json& edit)
{
    SendRequest("workspace/applyEdit", {{"label", label}, {"edit", edit}}, nullptr);
}

}  // namespace lsp
