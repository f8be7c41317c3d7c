// The form-tool commands of quorlin: the component search, the property list, the rename window,
// the palette list and the data-access code, each driven through the tool window's menu with the
// windows' answers taken from the command line.

#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "JsonOutput.h"
#include "RenameWindow.h"
#include "WindowParts.h"
#include "hostapi/HostRef.h"
#include "platform/Cp932.h"
#include "toolkit/Application.h"
#include "toolkit/StdCtrls.h"

namespace cli {

int Commands::Components()
{
    if (!OpenProject(options_.Operands[0]))
        return 1;
    std::string className = Given(options_.Operands[1]);
    desktop_.SetModalAnswer([className](tk::Form& form) {
        Part<tk::Edit>(form, "ClassNameEdit").SetText(className);
        return Confirm(form);
    });
    int status = 0;
    if (!options_.Json) {
        status = PrintMemoLinesOf("N1");
    } else {
        // The search writes a heading, then each unit's file name followed by its components indented.
        std::vector<std::string> lines;
        status = AppendedMemoLines("N1", lines);
        nlohmann::ordered_json units = nlohmann::ordered_json::array();
        for (size_t i = lines.empty() ? 0 : 1; i < lines.size(); ++i) {
            if (!lines[i].starts_with(' '))
                units.push_back({{"file", lines[i]}, {"components", nlohmann::ordered_json::array()}});
            else if (!units.empty())
                units.back()["components"].push_back(platform::TrimView(lines[i]));
        }
        PrintJson(out_, {{"class", Shown(className)}, {"units", std::move(units)}});
    }
    // The search passes over a unit whose form file is damaged as over one without a form.
    for (std::string_view unit : Combo("UnitCombo").Items()) {
        std::string problem = session_.Host().FormProblem(std::string(unit));
        if (!problem.empty()) {
            Fail(problem);
            status = 1;
        }
    }
    return status;
}

int Commands::Properties()
{
    const std::string& unit = options_.Operands[0];
    if (!CheckReadable(unit) || !MakeCurrent(unit) || !SelectInDesigner(unit, Given(options_.Select)))
        return 1;
    bool types = options_.Types || options_.Json;
    desktop_.SetModalAnswer([types](tk::Form& form) {
        if (types)
            Part<tk::RadioButton>(form, "RadioType").Click();
        return Confirm(form);
    });
    if (!options_.Json)
        return PrintMemoLinesOf("PropertyListMenuItem");
    // Each line is "NAME :TYPE".
    std::vector<std::string> lines;
    int status = AppendedMemoLines("PropertyListMenuItem", lines);
    nlohmann::ordered_json properties = nlohmann::ordered_json::array();
    for (const std::string& line : lines) {
        size_t colon = line.find(" :");
        properties.push_back({{"name", line.substr(0, colon)},
                              {"type", colon == std::string::npos ? "" : line.substr(colon + 2)}});
    }
    PrintJson(out_, {{"component", Shown(Given(options_.Select))}, {"properties", std::move(properties)}});
    return status;
}

int Commands::DbAccess()
{
    const std::string& unit = options_.Operands[0];
    if (!CheckReadable(unit) || !MakeCurrent(unit) || !SelectInDesigner(unit, Given(options_.Select)))
        return 1;
    return PrintMemoLinesOf(options_.Grid ? "RyCtrlGridMenuItem" : "N10");
}

int Commands::Rename()
{
    const std::string& unit = options_.Operands[0];
    std::string oldName = Given(options_.Operands[1]);
    std::string newName = Given(options_.Operands[2]);
    if (!CheckReadable(unit) || !MakeCurrent(unit))
        return 1;
    WindowRename rename;
    int messages = desktop_.MessageCount();
    if (!RenameInWindow(toolWindow_, desktop_, oldName, newName, rename)) {
        Fail("the tool window has no menu item ChaneNameMenuItem");
        return 1;
    }
    if (desktop_.MessageCount() != messages)
        return 1;
    if (!rename.Opened) {
        Fail(WhyNoForm(unit));
        return 1;
    }
    if (!rename.Listed) {
        Fail(unit + ": the form has no component " + options_.Operands[1]);
        return 1;
    }
    if (!rename.Renamed)
        return 1;
    if (!session_.Host().SaveAll()) {
        Fail(unit + ": the renamed form could not be saved");
        return 1;
    }
    return 0;
}

int Commands::Palette()
{
    std::optional<std::string> package;
    if (!options_.Operands.empty())
        package = Given(options_.Operands[0]);
    bool found = !package;
    std::vector<std::string> rows;
    desktop_.SetModalAnswer([&](tk::Form& form) {
        auto& packages = Part<tk::ListBox>(form, "PackageList");
        if (!package) {
            rows = packages.Items().Items();
        } else if (int row = FindRow(packages, *package); row >= 0) {
            found = true;
            packages.ClickItem(row);
            rows = Part<tk::ListBox>(form, "CompoList").Items().Items();
        }
        return Confirm(form);
    });
    if (!ClickMenuItem("CompoDisplayMenu"))
        return 1;
    if (!found) {
        Fail("no installed package " + options_.Operands[0]);
        return 1;
    }
    for (const std::string& row : rows)
        Print(Shown(row));
    return 0;
}

bool Commands::MakeCurrent(const std::string& file)
{
    std::string path = refhost::Host::NormalizeFileName(file);
    if (!session_.Host().OpenFile(path) || !session_.Host().ShowFile(path)) {
        Fail(file + ": the host cannot open this unit");
        return false;
    }
    tk::Application::Instance().ProcessMessages();
    return true;
}

bool Commands::SelectInDesigner(const std::string& file, const std::string& name)
{
    std::string path = refhost::Host::NormalizeFileName(file);
    // Through the host's own interface: focusing a component selects it in the designer.
    hostapi::HostRef<hostapi::TIToolServices> services(session_.Host().CreateToolServices());
    hostapi::HostRef<hostapi::TIModuleInterface> module(services->GetModuleInterface(path));
    hostapi::HostRef<hostapi::TIFormInterface> form(module ? module->GetFormInterface() : nullptr);
    if (!form) {
        Fail(WhyNoForm(file));
        return false;
    }
    hostapi::HostRef<hostapi::TIComponentInterface> component(form->FindComponent(name));
    if (!component || !component->Focus()) {
        Fail(file + ": the form has no component " + options_.Select);
        return false;
    }
    return true;
}

std::string Commands::WhyNoForm(const std::string& file)
{
    std::string problem = session_.Host().FormProblem(refhost::Host::NormalizeFileName(file));
    return problem.empty() ? file + ": the unit has no form" : problem;
}

int Commands::PrintMemoLinesOf(const std::string& menuItem)
{
    std::vector<std::string> lines;
    int status = AppendedMemoLines(menuItem, lines);
    for (const std::string& line : lines)
        Print(line);
    return status;
}

int Commands::AppendedMemoLines(const std::string& menuItem, std::vector<std::string>& lines)
{
    tk::Memo& memo = Memo("Memo1");
    int before = memo.Lines().Count();
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem(menuItem))
        return 1;
    for (int i = before; i < memo.Lines().Count(); ++i)
        lines.push_back(Shown(memo.Lines()[i]));
    return desktop_.MessageCount() == messages ? 0 : 1;
}

std::string Commands::Given(const std::string& text) const
{
    return options_.Raw ? text : platform::Utf8ToCp932(text);
}

}  // namespace cli
