// Form files in the editor: a form's text as the form command prints it, and the reader's word on
// a form that cannot be read while its unit is open.

#include <algorithm>

#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "cli/FormFileLoad.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "refhost/FormDesigner.h"

namespace lsp {

json Server::FormText(const json& params)
{
    std::string path = PathOfUri(params.at("uri").get<std::string>());
    if (path.empty() || !IsFormFile(path) || !files_.IsInside(path))
        throw ParamsError(path.empty() ? "the server reads only file: URIs" : path + " is not a form file of the workspace");
    forms::FormFile form;
    cli::FormLoadError error;
    if (!cli::LoadFormFile(path, form, error))
        throw RequestFailed(error.Message);
    return forms::FormFileAsText(form, forms::TextStyle::Ascii);
}

void Server::PublishFormDiagnostics(const std::string& unitPath)
{
    std::string formPath = documents_.contains(unitPath) ? refhost::FormFileOf(unitPath) : std::string();
    forms::FormFile form;
    cli::FormLoadError error;
    if (formPath.empty() || cli::LoadFormFile(formPath, form, error)) {
        auto published = damagedForms_.find(unitPath);
        if (published != damagedForms_.end()) {
            SendNotification("textDocument/publishDiagnostics",
                             {{"uri", UriOfPath(published->second)}, {"diagnostics", json::array()}});
            damagedForms_.erase(published);
        }
        return;
    }
    // In a text form the offset has a line and a column; a binary form has no lines to show it on.
    json at = {{"line", 0}, {"character", 0}};
    std::string bytes;
    if (error.Offset != forms::NoOffset && platform::ReadWholeFile(formPath, bytes)
        && forms::FormFormatOf(bytes) == forms::FormFormat::Text) {
        size_t offset = std::min(error.Offset, bytes.size());
        size_t lineBreak = offset == 0 ? std::string::npos : bytes.rfind('\n', offset - 1);
        size_t start = lineBreak == std::string::npos ? 0 : lineBreak + 1;
        FileEncoding encoding = DetectEncoding(bytes);
        int32_t line = static_cast<int32_t>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(start), '\n'));
        size_t end = bytes.find_first_of("\r\n", start);
        std::string_view text = std::string_view(bytes).substr(start, end == std::string::npos ? std::string::npos : end - start);
        at = PositionOf(text, line, offset - start, encoding);
    }
    json diagnostic = {{"range", {{"start", at}, {"end", at}}},
                       {"severity", 1},  // an error
                       {"source", "quorlin"},
                       {"message", error.Message}};
    if (error.Offset != forms::NoOffset)
        diagnostic["data"] = {{"offset", error.Offset}};
    SendNotification("textDocument/publishDiagnostics",
                     {{"uri", UriOfPath(formPath)}, {"diagnostics", json::array({std::move(diagnostic)})}});
    damagedForms_[unitPath] = formPath;
}

void Server::FormFileChanged(const std::string& formPath)
{
    std::string unit = platform::ChangeFileExt(formPath, "");
    for (const auto& [open, document] : documents_) {
        if (platform::SameText(platform::ChangeFileExt(open, ""), unit))
            PublishFormDiagnostics(open);
    }
}

}  // namespace lsp
