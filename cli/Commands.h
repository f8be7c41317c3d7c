#pragma once
// The commands of quorlin, each a sequence of what a person does with the tool window: choosing a
// unit, clicking menu items, choosing a routine. Each answers the process's exit status.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "AddinSession.h"
#include "CliOptions.h"
#include "ConsoleDesktop.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/StdCtrls.h"

namespace cli {

// The component of that name owned by owner or by one of its components, at any depth: menu items
// are owned by their window or by their menu.
tk::Component* FindOwned(const tk::Component& owner, const std::string& name);

class Commands {
public:
    Commands(AddinSession& session, ConsoleDesktop& desktop, tk::Form& toolWindow, const CliOptions& options,
             std::FILE* out);

    int Run();

private:
    int Units();
    int Routines();
    int Jump();
    int Report();
    // routines --json: the file's routines with the keyword and line of each.
    void PrintRoutineRecords(const std::string& file, const std::string& path);
    // The class and method generators: their windows filled from the options (CodegenCommands.cpp).
    int ClassUnit();
    int ClassDef();
    int Methods();
    // Sets up the answers for the next generator window: its table is loaded from the command's
    // file, its boxes are filled from the options and by fill, and OK is pressed.
    void AnswerGeneratorWindow(const std::function<void(tk::Form&)>& fill);

    // In VersionCommands.cpp.
    int VersionInfo();
    int Version();
    int Tasks();
    // tasks --json: a node with the nodes under it.
    nlohmann::ordered_json TaskNode(const tk::TreeNode& node) const;
    // In EditCommands.cpp.
    int Swap();
    int Insert();
    // Opens FILE in the host for an edit command, once it can be read (and written, unless
    // --dry-run); false with the exit status in status otherwise.
    bool OpenForEdit(const std::string& file, const std::string& path, int& status);
    // Saves the edited FILE, or with --dry-run prints the buffer instead; answers the exit status.
    int FinishEdit(const std::string& file, const std::string& path);

    // Form tools (FormToolCommands.cpp).
    int Components();
    int Properties();
    int Rename();
    int Palette();
    int DbAccess();
    // Opens the unit's source and brings it to the front: the form tools work on the current unit.
    bool MakeCurrent(const std::string& file);
    // Makes the component of that name the designer's selection in the unit's form.
    bool SelectInDesigner(const std::string& file, const std::string& name);
    // Why the host gives no form for the unit: its form file is damaged (the reader's complaint
    // with file and offset), or it has none.
    std::string WhyNoForm(const std::string& file);
    // Clicks a menu item of the tool window and prints the lines it appended to the memo.
    int PrintMemoLinesOf(const std::string& menuItem);
    // Clicks a menu item of the tool window and adds the lines it appended to the memo, as shown;
    // answers the exit status.
    int AppendedMemoLines(const std::string& menuItem, std::vector<std::string>& lines);
    // A text given on the command line as the add-in holds it.
    std::string Given(const std::string& text) const;

    // Makes the unit (a full path as the host names it) the only entry of the unit list and
    // chooses it, as a click does: the add-in lists its routines (opening it in the host when it is
    // not open yet). False when the add-in reported a failure.
    bool ChooseUnit(const std::string& path);
    // Opens the file (path as the host names it) in the host, as the add-in would on choosing
    // it, reading it once; says why on standard error when it cannot be read.
    bool OpenInHost(const std::string& file, const std::string& path);
    // Says why on standard error when the file cannot be read.
    bool CheckReadable(const std::string& fileName);
    // Opens the project in the host and lets the tool window take it in; says why when it fails.
    bool OpenProject(const std::string& project);
    bool ClickMenuItem(const std::string& name);
    tk::ComboBox& Combo(const std::string& name);
    tk::Memo& Memo(const std::string& name);
    // Texts the add-in holds are code page 932; people get UTF-8 unless --raw, JSON always.
    std::string Shown(std::string_view text) const;
    void Print(std::string_view line);
    void Fail(const std::string& message);

    AddinSession& session_;
    ConsoleDesktop& desktop_;
    tk::Form& toolWindow_;
    const CliOptions& options_;
    std::FILE* out_;
};

}  // namespace cli
