// Code actions: swapping the assignments of the selected lines, and the data-access routines of the
// component whose name the cursor is on, each the edit the tool window's command would make.
//
// The swapped copy goes below the selection: the tool window inserts it in front of the cursor's
// line, and a selection made downwards leaves the cursor on the line after it. A selection ending
// at the start of a line does not take that line. The routines go in front of the cursor's line.

#include "JumpLines.h"
#include "RequestErrors.h"
#include "Server.h"
#include "Uri.h"
#include "cli/GeneratorWindows.h"
#include "platform/Cp932.h"
#include "refhost/FormDesigner.h"

namespace lsp {

namespace {

constexpr std::string_view SwapKind = "refactor.rewrite";
constexpr std::string_view InsertKind = "refactor";
const std::string Separator = ":=";

// Whether the client asked for actions of this kind: a kind is asked for by itself or any kind
// it is part of ("refactor" takes "refactor.rewrite").
bool Wanted(const json& params, std::string_view kind)
{
    json only = params.value("context", json::object()).value("only", json());
    if (!only.is_array())
        return true;
    for (const json& asked : only) {
        if (!asked.is_string())
            continue;
        std::string_view prefix = asked.get_ref<const std::string&>();
        if (kind == prefix || (kind.starts_with(prefix) && kind[prefix.size()] == '.'))
            return true;
    }
    return false;
}

json Action(const std::string& title, std::string_view kind, json edit)
{
    return {{"title", title}, {"kind", kind}, {"edit", std::move(edit)}};
}

}  // namespace

json Server::CodeAction(const json& params)
{
    std::string path = KnownPath(params.at("textDocument"));
    const json& start = params.at("range").at("start");
    const json& end = params.at("range").at("end");
    uint32_t first = UnsignedOf(start.at("line"));
    uint32_t last = UnsignedOf(end.at("line"));
    UnitText unit;
    if (!LoadUnit(path, unit))
        throw ParamsError(path + ": the unit cannot be read");
    std::vector<std::string_view> lines = SplitBufferLines(unit.Text);
    json actions = json::array();

    bool selection = start != end && first <= last;
    if (last > first && end.at("character") == 0)
        --last;
    bool assignments = false;
    for (uint32_t line = first; selection && line <= last && line < lines.size() && !assignments; ++line)
        assignments = lines[line].find(Separator) != std::string_view::npos;
    // The copy goes in front of the line after the selection, which has to exist.
    if (selection && assignments && last + 1 < lines.size() && Wanted(params, SwapKind)) {
        bool asked = false;
        std::string swapped = InsertedBy(path, last + 1, "ExchangeMenuItem", [&] {
            host_.SetBlock(path, {1, static_cast<int32_t>(first + 1)}, {1, static_cast<int32_t>(last + 2)});
            cli::AnswerSeparatorWindow(desktop_, Separator, asked);
        });
        if (!asked)
            throw RequestFailed("the tool window asked for no separator");
        actions.push_back(Action("Swap assignments", SwapKind, InsertionEdit(path, last + 1, swapped)));
    }

    if (first == 0 || first >= lines.size() || !Wanted(params, InsertKind))
        return actions;
    NameAtPosition at = NameAt({{"textDocument", params["textDocument"]}, {"position", start}});
    // The designer's forms are those of units open in the host.
    std::shared_ptr<refhost::FormDesigner> designer =
        at.Word.empty() || !host_.IsFileOpen(path) ? nullptr : host_.Designer(path);
    int component = designer ? designer->Find(at.Word) : -1;
    if (component < 0)
        return actions;
    std::string name = designer->Object(component).Name;
    for (bool grid : {false, true}) {
        std::vector<std::string> routines = DataAccessLines(path, name, grid);
        std::string title = "Insert data-access routines for " + platform::Cp932ToUtf8(name)
            + (grid ? " as a control grid" : "");
        actions.push_back(Action(title, InsertKind, LinesInserted(path, first, routines)));
    }
    return actions;
}

std::vector<std::string> Server::DataAccessLines(const std::string& path, const std::string& component, bool grid)
{
    if (!host_.IsFileOpen(path) || !host_.ShowFile(path) || !host_.SelectComponents(path, {component}))
        throw RequestFailed(path + ": the designer cannot select " + component);
    return MemoLinesOf(grid ? "RyCtrlGridMenuItem" : "N10");
}

}  // namespace lsp
