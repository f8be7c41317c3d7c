#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <map>

namespace cli {

namespace {

const std::vector<CommandEntry> commandTable = {
    {"units", Command::Units, "PROJECT.dpr", "the project's Pascal units, one a line",
     "Lists the units of a project, as the tool window's unit list shows them.\n\n",
     "quorlin units examples/Sample/Sample.dpr", "dpr"},
    {"routines", Command::Routines, "FILE...", "the routines of each unit",
     "Lists the routines of each unit, sorted without regard to case, or in source order with "
     "--unsorted; with several files each list starts with a line \"==> FILE <==\". Several files are "
     "shared among worker processes, each with its own add-in; the output keeps the order of the "
     "files.\n\n",
     "quorlin routines --unsorted --jobs 2 $(find /usr/share/fpcsrc -name '*.pp')", "pas|pp|dpr|inc"},
    {"jump", Command::Jump, "FILE TEXT", "the line the editor goes to for a routine",
     "Moves the editor to the routine whose entry is TEXT and prints the line it landed on; exits "
     "with status 1 and prints nothing when the routine is not found.\n\n",
     "quorlin jump examples/Sample/Lib/Utils.pas 'Clamp(Value, Low, High: Integer): Integer;'", "pas|pp|dpr|inc"},
    {"report", Command::Report, "FILE -o OUT", "writes the routine list report",
     "Writes the routine list report of FILE to exactly OUT; no extension is added.\n\n",
     "quorlin report examples/Sample/Shapes.pas -o Shapes.ini", "pas|pp|dpr|inc"},
    {"swap", Command::Swap, "FILE --block FIRST-LAST --cursor LINE", "inserts a block with swapped assignments",
     "Inserts in front of line LINE a copy of lines FIRST to LAST in which each assignment \"a := b;\" "
     "reads \"b := a;\", and saves FILE.\n\n",
     "quorlin swap Edit.pas --block 9-10 --cursor 11", "pas|pp|dpr|inc"},
    {"insert", Command::Insert, "FILE --cursor LINE --text FILE2", "inserts the lines of a file",
     "Puts the text of FILE2 into the memo, inserts its lines in front of line LINE and saves FILE; "
     "with --selected the whole text goes in unchanged.\n\n",
     "quorlin insert Edit.pas --cursor 12 --text Snippet.txt", "pas|pp|dpr|inc"},
    {"components", Command::Components, "PROJECT.dpr CLASS", "the components of a class in the project's forms",
     "Searches every unit of the project for components of class CLASS (whole name, letters in any "
     "case) and prints the lines the search appends to the memo.\n\n",
     "quorlin components examples/Sample/Sample.dpr tbutton", "dpr"},
    {"properties", Command::Properties, "UNIT.pas --select NAME", "the properties of a component",
     "Prints the published properties of component NAME of the unit's form, with --types each "
     "followed by \" :\" and its type word.\n\n",
     "quorlin properties examples/Sample/MainForm.pas --select Label1 --types", "pas"},
    {"rename", Command::Rename, "UNIT.pas OLD NEW", "renames a component and saves",
     "Renames component OLD of the unit's form to NEW and saves the unit and its form; a name the "
     "designer refuses exits with status 1 and changes no file.\n\n",
     "quorlin rename examples/Sample/MainForm.pas Button1 OkButton", "pas"},
    {"palette", Command::Palette, "[PACKAGE]", "the installed packages, or the classes of one",
     "Lists the installed packages, or the component classes of PACKAGE sorted.\n\n",
     "quorlin palette Dialogs", "-"},
    {"db-access", Command::DbAccess, "UNIT.pas --select NAME", "routines that copy a component to a data set",
     "Prints the routines that copy component NAME's properties to and from a data set, or with "
     "--grid a control grid.\n\n",
     "quorlin db-access examples/Sample/MainForm.pas --select Edit1 --grid", "pas"},
    {"class-unit", Command::ClassUnit, "TABLE.prp --class NAME --base NAME -o OUT.pas", "writes a class's unit",
     "Writes the whole unit of the class the property table describes to OUT.pas.\n\n",
     "quorlin class-unit Shapes.prp --class TShapeInfo --base TPersistent -o ShapeInfo.pas", "prp|pas|txt"},
    {"class-def", Command::ClassDef, "TABLE.prp --class NAME --base NAME", "a class definition",
     "Prints the class definition the tool window appends to its memo for the property table.\n\n",
     "quorlin class-def Shapes.prp --class TShapeInfo --base TComponent --comments 0", "prp"},
    {"methods", Command::Methods, "TABLE.met --class NAME", "method headings and empty bodies",
     "Prints a heading per method of the method table, then an empty body per method.\n\n",
     "quorlin methods Items.met --class TItems", "met"},
    {"version-info", Command::VersionInfo, "FILE", "the version strings of a program or library",
     "Prints the eight version strings of a Windows program or library (or of the add-in), one a "
     "line, \"None\" for a missing one, or \"No Version Info\".\n\n",
     "quorlin version-info build/bin/libquorlin.so", "exe|dll|so|bpl"},
    {"version", Command::Version, "PROJECT.dpr", "a project's version record",
     "Prints the project's version record, KEY=VALUE a line; each --set types a value into the "
     "version window's field KEY before it is stored.\n\n",
     "quorlin version examples/Sample/Sample.dpr --set Version=1.2", "dpr"},
    {"send", Command::Send, "COMMAND KIND TO", "sends a message to running programs",
     "Sends a message to the group TO (\"ALL\": every group) of the running programs of this user, and "
     "prints the messages for its group that arrive meanwhile, such as the answers to a CALLBACK.\n\n",
     "quorlin send --group Tool Version CALLBACK Quorlin", "-"},
    {"listen", Command::Listen, "", "prints the messages for its group",
     "Prints each message for its group or for all, one a line (FROM_COMMAND_KIND_TO), answering "
     "every CALLBACK, until --count messages came or it is stopped.\n\n",
     "quorlin listen --group Quorlin --count 2", "-"},
    {"form", Command::Form, "FILE.dfm", "a form file's component tree",
     "Shows a form file's components as a tree, two blanks a level, then NAME: CLASS; --text prints "
     "the whole form in the text form, whichever form the file is in. It needs no add-in.\n\n",
     "quorlin form --text examples/Sample/MainForm.dfm", "dfm|lfm|xfm|res"},
    {"tasks", Command::Tasks, "TASKFILE", "a task tree, or one node's notes",
     "Opens a task file as the tool window's Open command does and prints its tree, one node a line, "
     "indented by one TAB per level; with --notes the notes the memo shows for the first node named "
     "NODE.\n\n",
     "quorlin tasks examples/Sample/Tasks.ini --notes README", "ini"},
    {"lsp", Command::Lsp, "", "a language server for editors",
     "Serves one editor over standard input and output with the Language Server Protocol: the "
     "outline of a unit, jumps to routines and units, a search over the workspace's routines and "
     "units, and the places a name is used. The editor starts it; see README's Editors section.\n\n",
     "quorlin lsp --home ~/.local/share/quorlin", "-"},
    {"help", Command::Help, "[COMMAND]", "this list, or the help of one command",
     "Lists every command, or shows one command's usage, options and an example.\n\n", "quorlin help routines", "-"},
    {"completion", Command::Completion, "bash|zsh", "a shell completion script",
     "Prints a script that completes quorlin's commands, options and files in bash or zsh.\n\n",
     "quorlin completion bash > ~/.local/share/bash-completion/completions/quorlin", "-"},
};

const char* const jsonHelp = "a JSON document instead of text (texts in UTF-8 whatever --raw says)";

// A whole decimal number of at least 1.
bool ParseLine(std::string_view text, int& line)
{
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), line);
    return failure == std::errc() && end == text.data() + text.size() && line >= 1;
}

constexpr int maxJobs = 256;

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

OptionDoc Describe(const CLI::Option& option)
{
    OptionDoc doc;
    for (const std::string& name : option.get_snames())
        doc.Names.push_back("-" + name);
    for (const std::string& name : option.get_lnames())
        doc.Names.push_back("--" + name);
    if (option.get_expected_min() > 0)
        doc.Value = option.get_type_name();
    doc.Description = option.get_description();
    return doc;
}

}  // namespace

CommandLine::CommandLine(CliOptions& options) : options_(options), app_(std::make_unique<CLI::App>())
{
    CLI::App& app = *app_;
    app.name("quorlin");
    app.set_help_flag("-h,--help", "this text");
    app.allow_extras();
    app.require_subcommand(0, 1);
    app.add_option("--home", options.Home,
                   "folder of the add-in's settings files (default $XDG_DATA_HOME/quorlin or "
                   "~/.local/share/quorlin)")
        ->type_name("DIR");
    app.add_option("--addin", options.Addin, "the add-in library (default libquorlin.so beside quorlin)")
        ->type_name("PATH");
    app.add_flag("--raw", options.Raw, "texts in code page 932 as stored, not converted to UTF-8");
    app.add_flag("--version")->description("the version of the add-in, from its version resource");

    std::map<std::string, CLI::App*> sub;
    for (const CommandEntry& entry : commandTable) {
        CLI::App* command = app.add_subcommand(entry.Name, entry.Summary);
        // The options before the command word may stand after it as well.
        command->fallthrough();
        command->allow_extras();
        command->add_option("operands", options.Operands);
        command->parse_complete_callback([&options, cmd = entry.Cmd] { options.Cmd = cmd; });
        sub[entry.Name] = command;
    }
    auto text = [](CLI::App* command, const std::string& names, std::string& value, const std::string& valueName,
                   const std::string& description) {
        command->add_option(names, value, description)->type_name(valueName);
    };
    auto json = [&](const std::string& name) { sub[name]->add_flag("--json", options.Json, jsonHelp); };

    json("units");
    sub["routines"]->add_flag("--unsorted", options.Unsorted, "routines in source order");
    text(sub["routines"], "-j,--jobs", jobs_, "N",
         "share the files among N worker processes, each with its own add-in (default: one per processor)");
    json("routines");
    json("jump");
    text(sub["report"], "-o,--output", options.Output, "OUT", "the file the report is written to");
    sub["report"]->add_flag("--unsorted", options.Unsorted, "routines in source order");
    text(sub["swap"], "--block", block_, "FIRST-LAST", "the lines copied with their sides swapped");
    text(sub["swap"], "--separator", separator_, "TEXT", "what separates the sides (default \":=\")");
    for (const char* name : {"swap", "insert"})
        text(sub[name], "--cursor", cursor_, "LINE", "the line the text goes in front of");
    text(sub["insert"], "--text", options.TextFile, "FILE2", "the file whose text is inserted");
    sub["insert"]->add_flag("--selected", options.Selected, "the whole text selected: it goes in unchanged");
    for (const char* name : {"swap", "insert"})
        sub[name]->add_flag("--dry-run", options.DryRun, "print the edited text instead of saving FILE");
    json("components");
    for (const char* name : {"properties", "db-access"})
        text(sub[name], "--select", options.Select, "NAME", "the component chosen in the designer");
    sub["properties"]->add_flag("--types", options.Types, "each property with its type word");
    json("properties");
    sub["db-access"]->add_flag("--grid", options.Grid, "routines for a control grid instead of a data set");
    for (const char* name : {"class-unit", "class-def", "methods"})
        text(sub[name], "--class", options.ClassName, "NAME", "the name of the class");
    for (const char* name : {"class-unit", "class-def"}) {
        text(sub[name], "--base", options.BaseName, "NAME", "the class it derives from");
        text(sub[name], "--comments", options.Comments, "0|1|2",
             "each row's comment in the style // (0), (* *) (1) or { } (2)");
    }
    text(sub["class-unit"], "--unit-comment", options.UnitComment, "FILE", "puts FILE's lines at the unit's top");
    text(sub["class-unit"], "-o,--output", options.Output, "OUT.pas", "the unit written");
    json("version-info");
    sub["version"]
        ->add_option("--set", options.Settings, "stores VALUE in field KEY first (repeatable)")
        ->type_name("KEY=VALUE")
        ->allow_extra_args(false);
    json("version");
    for (const char* name : {"send", "listen"})
        text(sub[name], "--group", options.Group, "NAME", "the group taken part as (default Console)");
    text(sub["listen"], "--count", count_, "N", "end after N messages");
    json("listen");
    sub["form"]->add_flag("--text", options.FormText, "the whole form in the text form");
    json("form");
    text(sub["tasks"], "--notes", options.Notes, "NODE", "the notes of the first node named NODE");
    json("tasks");
}

CommandLine::~CommandLine() = default;

const std::vector<CommandEntry>& CommandLine::Commands() const
{
    return commandTable;
}

const CommandEntry* CommandLine::Find(const std::string& name) const
{
    auto found = std::find_if(commandTable.begin(), commandTable.end(),
                              [&](const CommandEntry& entry) { return entry.Name == name; });
    return found == commandTable.end() ? nullptr : &*found;
}

std::vector<OptionDoc> CommandLine::GlobalOptions() const
{
    std::vector<OptionDoc> docs;
    for (const CLI::Option* option : app_->get_options())
        docs.push_back(Describe(*option));
    return docs;
}

std::vector<OptionDoc> CommandLine::OptionsOf(const CommandEntry& command) const
{
    std::vector<OptionDoc> docs;
    for (const CLI::Option* option : app_->get_subcommand(command.Name)->get_options()) {
        if (option->nonpositional())
            docs.push_back(Describe(*option));
    }
    return docs;
}

CommandLine::Outcome CommandLine::Parse(int argc, char** argv, std::string& text)
{
    // The parser would take the next argument as the value of "--name=".
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        std::string_view argument = argv[i];
        if (argument.starts_with("--") && argument.ends_with("=")) {
            text = std::string(argument.substr(0, argument.size() - 1)) + " needs a value";
            return Outcome::Wrong;
        }
    }
    std::vector<char*> arguments = CommandWordFirst(argc, argv);
    const CommandEntry* command = nullptr;
    try {
        app_->parse(static_cast<int>(arguments.size()), arguments.data());
    } catch (const CLI::CallForHelp&) {
        std::vector<CLI::App*> parsed = app_->get_subcommands();
        text = parsed.empty() ? std::string() : parsed.front()->get_name();
        return Outcome::Help;
    } catch (const CLI::ParseError& error) {
        std::vector<CLI::App*> parsed = app_->get_subcommands();
        std::string what = error.what();
        // A missing value is reported by the option's name and what it lacked.
        if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && what.find(':') != std::string::npos)
            what = what.substr(0, what.find(':')) + " needs a value";
        text = parsed.empty() ? what : parsed.front()->get_name() + ": " + what;
        return Outcome::Wrong;
    }
    if (app_->get_option("--version")->count() > 0)
        return Outcome::Version;
    std::vector<CLI::App*> parsed = app_->get_subcommands();
    if (!parsed.empty())
        command = Find(parsed.front()->get_name());
    for (const std::string& extra : app_->remaining(true)) {
        text = Misplaced(extra, command);
        if (!text.empty())
            return Outcome::Wrong;
    }
    if (!command) {
        text = "no command given";
        return Outcome::Wrong;
    }
    if (options_.Cmd == Command::Help) {
        if (options_.Operands.size() > 1 || (options_.Operands.size() == 1 && !Find(options_.Operands[0]))) {
            text = "help takes one command of quorlin --help's list";
            return Outcome::Wrong;
        }
        text = options_.Operands.empty() ? std::string() : options_.Operands[0];
        return Outcome::Help;
    }
    text = CheckArguments(*command);
    return text.empty() ? Outcome::Run : Outcome::Wrong;
}

// Options may stand in front of the command word as well; the parser takes a command's own options
// only after it, so those in front are moved behind it.
std::vector<char*> CommandLine::CommandWordFirst(int argc, char** argv) const
{
    std::vector<OptionDoc> options = GlobalOptions();
    for (const CommandEntry& entry : commandTable) {
        std::vector<OptionDoc> own = OptionsOf(entry);
        options.insert(options.end(), own.begin(), own.end());
    }
    std::vector<std::string> valueNames;
    for (const OptionDoc& option : options) {
        if (!option.Value.empty())
            valueNames.insert(valueNames.end(), option.Names.begin(), option.Names.end());
    }
    int word = 1;
    while (word < argc && argv[word][0] == '-' && std::string_view(argv[word]) != "--") {
        std::string_view argument = argv[word++];
        bool takesValue = argument.find('=') == std::string_view::npos &&
                          std::find(valueNames.begin(), valueNames.end(), argument) != valueNames.end();
        if (takesValue && word < argc)
            ++word;
    }
    std::vector<char*> arguments(argv, argv + argc);
    if (word < argc)
        std::rotate(arguments.begin() + 1, arguments.begin() + word, arguments.begin() + word + 1);
    return arguments;
}

// An argument no definition took: an unknown command, or an option of another command or of none.
std::string CommandLine::Misplaced(const std::string& argument, const CommandEntry* command) const
{
    if (argument == "--")
        return "";
    if (argument.size() < 2 || argument[0] != '-')
        return command ? "" : "unknown command " + argument;
    std::string name = argument.substr(0, argument.find('='));
    std::vector<std::string> owners;
    for (const CommandEntry& entry : commandTable) {
        for (const OptionDoc& option : OptionsOf(entry)) {
            if (std::find(option.Names.begin(), option.Names.end(), name) != option.Names.end())
                owners.push_back(entry.Name);
        }
    }
    if (owners.empty())
        return "unknown option " + argument;
    return name + " applies to " + JoinNames(owners) + " only";
}

std::string CommandLine::CheckArguments(const CommandEntry& command) const
{
    CLI::App& app = *app_->get_subcommand(command.Name);
    for (const CLI::App* level : {app_.get(), &app}) {
        for (const CLI::Option* option : level->get_options()) {
            if (option->nonpositional() && option->get_expected_min() > 0 && option->count() > 0 &&
                option->results().back().empty())
                return option->get_name() + " needs a value";
        }
    }
    size_t count = options_.Operands.size();
    const std::string& name = command.Name;
    switch (command.Cmd) {
    case Command::Units:
        return count == 1 ? "" : "units takes one project file";
    case Command::Routines:
        if (count == 0)
            return "routines takes at least one file";
        options_.Headers = count > 1;
        if (!jobs_.empty() && (!ParseLine(jobs_, options_.Jobs) || options_.Jobs > maxJobs))
            return "--jobs needs a number from 1 to " + std::to_string(maxJobs);
        return "";
    case Command::Jump:
        return count == 2 ? "" : "jump takes a file and a routine text";
    case Command::Report:
        if (count != 1)
            return "report takes one file";
        return options_.Output.empty() ? "report needs -o OUT" : "";
    case Command::Form:
        if (options_.FormText && options_.Json)
            return "form: --text and --json cannot go together";
        return count == 1 ? "" : "form takes one form file";
    case Command::ClassUnit:
    case Command::ClassDef:
    case Command::Methods:
        if (count != 1)
            return name + (command.Cmd == Command::Methods ? " takes one method table (.met)"
                                                          : " takes one property table (.prp)");
        if (options_.ClassName.empty())
            return name + " needs --class NAME";
        if (command.Cmd != Command::Methods && options_.BaseName.empty())
            return name + " needs --base NAME";
        if (command.Cmd == Command::ClassUnit && options_.Output.empty())
            return "class-unit needs -o OUT";
        if (!options_.Comments.empty() && options_.Comments != "0" && options_.Comments != "1" &&
            options_.Comments != "2")
            return "--comments takes 0, 1 or 2";
        return "";
    case Command::VersionInfo:
        return count == 1 ? "" : "version-info takes one file";
    case Command::Version:
        return count == 1 ? "" : "version takes one project file";
    case Command::Send:
        return count == 3 ? "" : "send takes a command, a kind and a group";
    case Command::Listen:
        if (!count_.empty() && !ParseLine(count_, options_.Count))
            return "--count needs a number above 0";
        return count == 0 ? "" : "listen takes no operands";
    case Command::Components:
        return count == 2 ? "" : "components takes a project file and a class name";
    case Command::Properties:
    case Command::DbAccess:
        if (count != 1)
            return name + " takes one unit";
        return options_.Select.empty() ? "--select NAME is needed" : "";
    case Command::Rename:
        return count == 3 ? "" : "rename takes a unit, the old name and the new name";
    case Command::Palette:
        return count <= 1 ? "" : "palette takes at most one package";
    case Command::Tasks:
        return count == 1 ? "" : "tasks takes one task file";
    case Command::Lsp:
        return count == 0 ? "" : "lsp takes no operands";
    case Command::Swap:
    case Command::Insert:
        break;
    case Command::Completion:
        return count == 1 && (options_.Operands[0] == "bash" || options_.Operands[0] == "zsh")
                   ? ""
                   : "completion takes bash or zsh";
    case Command::Help:
        return "";
    }
    bool swap = command.Cmd == Command::Swap;
    if (count != 1)
        return name + " takes one file";
    if (cursor_.empty())
        return "--cursor LINE is needed";
    if (!ParseLine(cursor_, options_.CursorLine))
        return "--cursor takes a line number";
    if (options_.CursorLine == 1)
        return "--cursor 1: nothing can go in front of the first line";
    if (swap) {
        size_t dash = block_.find('-');
        if (block_.empty())
            return "--block FIRST-LAST is needed";
        if (dash == std::string::npos || !ParseLine(block_.substr(0, dash), options_.BlockFirst) ||
            !ParseLine(block_.substr(dash + 1), options_.BlockLast) || options_.BlockFirst > options_.BlockLast)
            return "--block takes FIRST-LAST, two line numbers with FIRST not after LAST";
        if (!separator_.empty())
            options_.Separator = separator_;
        return "";
    }
    return options_.TextFile.empty() ? "--text FILE2 is needed" : "";
}

std::string UsageLine()
{
    return "usage: quorlin [--home DIR] [--addin PATH] [--raw] COMMAND [ARGUMENT...]  "
           "(quorlin --help lists the commands)";
}

}  // namespace cli
