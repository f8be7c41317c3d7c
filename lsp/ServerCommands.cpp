// workspace/executeCommand: the tool window's commands that take a file or values an editor has no
// box for, each answering what the matching quorlin command prints.

#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "platform/Cp932.h"
#include "platform/RegularFile.h"
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

}  // namespace

json Server::ExecuteCommand(const json& params)
{
    using Command = json (Server::*)(const json& arguments);
    static const std::map<std::string, Command> commands = {
        {"quorlin.versionInfo", &Server::VersionInfo},
    };
    std::string name = params.at("command").get<std::string>();
    auto command = commands.find(name);
    if (command == commands.end())
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

}  // namespace lsp
