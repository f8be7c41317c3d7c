// Hover: on a routine's name its entry in the tool window's routine list and where the jump goes;
// on a component's name its class and the values its form stores.

#include "JumpLines.h"
#include "PascalLexer.h"
#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "cli/FormFileLoad.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "refhost/FormDesigner.h"

namespace lsp {

namespace {

const forms::FormObject* FindObject(const forms::FormObject& object, std::string_view name)
{
    if (platform::SameText(object.Name, name))
        return &object;
    for (const forms::FormObject& child : object.Children) {
        if (const forms::FormObject* found = FindObject(child, name))
            return found;
    }
    return nullptr;
}

json Markdown(std::string text)
{
    return {{"contents", {{"kind", "markdown"}, {"value", std::move(text)}}}};
}

}  // namespace

json Server::Hover(const json& params)
{
    std::shared_ptr<const ScannedUnit> unit = ScanRequested(params);
    const std::string& path = unit->Path;
    const std::vector<std::string_view>& lines = unit->Lines;
    FileEncoding encoding = unit->Source.Encoding;
    int32_t lineNumber;
    size_t offset;
    if (!OffsetOf(lines, params.at("position"), encoding, lineNumber, offset))
        throw ParamsError("the position is past the end of the unit");
    size_t start;
    std::string_view word = IdentifierAt(lines[static_cast<size_t>(lineNumber)], offset, start);
    if (word.empty())
        return nullptr;

    // A routine: its own header, or a name whose definition is a header of this unit.
    std::vector<const RoutineSymbol*> routines;
    for (const RoutineSymbol& symbol : unit->Routines.Symbols) {
        if (symbol.Line == lineNumber && start >= symbol.NameStart && start < symbol.NameEnd)
            routines.push_back(&symbol);
    }
    if (routines.empty()) {
        json found = Definition(params);
        if (found.is_object())
            found = json::array({found});
        std::string uri = UriOfPath(path);
        for (const json& location : found.is_array() ? found : json::array()) {
            if (location["uri"] != uri)
                continue;
            for (const RoutineSymbol& symbol : unit->Routines.Symbols) {
                if (symbol.Line == location["range"]["start"]["line"])
                    routines.push_back(&symbol);
            }
        }
    }
    if (!routines.empty()) {
        std::string text;
        for (const RoutineSymbol* symbol : routines) {
            if (!text.empty())
                text += "\n\n---\n\n";
            std::string line = std::to_string(symbol->Line + 1);
            text += "```pascal\n" + NameOf(symbol->Name + symbol->Detail, encoding) + "\n```\n\n"
                + "[" + std::string(platform::ExtractFileName(path)) + ":" + line + "](" + UriOfPath(path) + "#L" + line + ")";
        }
        return Markdown(std::move(text));
    }

    // A component of the unit's form.
    std::string formPath = refhost::FormFileOf(path);
    forms::FormFile form;
    cli::FormLoadError error;
    if (formPath.empty() || !cli::LoadFormFile(formPath, form, error))
        return nullptr;
    const forms::FormObject* found = FindObject(form.Root, word);
    if (!found)
        return nullptr;
    forms::FormObject alone = *found;
    alone.Children.clear();
    std::string stored = platform::Cp932ToUtf8(forms::WriteTextForm(alone, forms::TextStyle::Stored));
    return Markdown("**" + platform::Cp932ToUtf8(found->Name) + "**: " + platform::Cp932ToUtf8(found->ClassName)
                    + "\n\n```pascal\n" + stored + "```");
}

}  // namespace lsp
