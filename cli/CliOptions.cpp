#include "CliOptions.h"

#include <charconv>
#include <map>

namespace cli {

namespace {

const std::map<std::string, Command> commandWords = {
    {"units", Command::Units}, {"routines", Command::Routines}, {"jump", Command::Jump},
    {"report", Command::Report}, {"swap", Command::Swap}, {"insert", Command::Insert},
    {"components", Command::Components}, {"properties", Command::Properties}, {"rename", Command::Rename},
    {"palette", Command::Palette}, {"db-access", Command::DbAccess}, {"version-info", Command::VersionInfo},
    {"version", Command::Version}, {"send", Command::Send}, {"listen", Command::Listen}};

// True when arg is the option name, written "name=value" or "name value"; a missing value is
// taken as empty.
bool TakeValue(const std::string& arg, const std::string& name, int& i, int argc, char** argv,
               std::string& value)
{
    if (arg == name) {
        value = i + 1 < argc ? argv[++i] : "";
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

// A whole decimal number of at least 1.
bool ParseLine(std::string_view text, int& line)
{
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), line);
    return failure == std::errc() && end == text.data() + text.size() && line >= 1;
}

// The values of the edit commands' options, given as text, checked and stored.
struct EditValues {
    std::string Block;
    std::string Cursor;
    bool SeparatorGiven = false;
};

bool CheckEditOptions(const EditValues& values, CliOptions& options, std::string& error)
{
    bool swap = options.Cmd == Command::Swap;
    bool insert = options.Cmd == Command::Insert;
    if (!swap && !insert) {
        if (!values.Block.empty() || !values.Cursor.empty() || values.SeparatorGiven || !options.TextFile.empty() ||
            options.Selected || options.DryRun)
            error = "--block, --cursor, --separator, --text, --selected and --dry-run apply to swap and insert only";
        return error.empty();
    }
    if (options.Operands.size() != 1)
        error = std::string(swap ? "swap" : "insert") + " takes one file";
    else if (values.Cursor.empty())
        error = "--cursor LINE is needed";
    else if (!ParseLine(values.Cursor, options.CursorLine))
        error = "--cursor takes a line number";
    else if (options.CursorLine == 1)
        error = "--cursor 1: nothing can go in front of the first line";
    else if (swap && values.Block.empty())
        error = "--block FIRST-LAST is needed";
    else if (swap && (values.Block.find('-') == std::string::npos ||
                      !ParseLine(values.Block.substr(0, values.Block.find('-')), options.BlockFirst) ||
                      !ParseLine(values.Block.substr(values.Block.find('-') + 1), options.BlockLast) ||
                      options.BlockFirst > options.BlockLast))
        error = "--block takes FIRST-LAST, two line numbers with FIRST not after LAST";
    else if (swap && (!options.TextFile.empty() || options.Selected))
        error = "--text and --selected apply to insert only";
    else if (insert && options.TextFile.empty())
        error = "--text FILE2 is needed";
    else if (insert && (!values.Block.empty() || values.SeparatorGiven))
        error = "--block and --separator apply to swap only";
    return error.empty();
}

constexpr int maxJobs = 256;

bool CheckOperands(CliOptions& options, std::string& error)
{
    size_t count = options.Operands.size();
    switch (options.Cmd) {
    case Command::Units:
        if (count != 1)
            error = "units takes one project file";
        break;
    case Command::Routines:
        if (count == 0)
            error = "routines takes at least one file";
        options.Headers = count > 1;
        break;
    case Command::Jump:
        if (count != 2)
            error = "jump takes a file and a routine text";
        break;
    case Command::Report:
        if (count != 1)
            error = "report takes one file";
        else if (options.Output.empty())
            error = "report needs -o OUT";
        break;
    case Command::VersionInfo:
        if (count != 1)
            error = "version-info takes one file";
        break;
    case Command::Version:
        if (count != 1)
            error = "version takes one project file";
        break;
    case Command::Send:
        if (count != 3)
            error = "send takes a command, a kind and a group";
        break;
    case Command::Listen:
        if (count != 0)
            error = "listen takes no operands";
        break;
    case Command::Components:
        if (count != 2)
            error = "components takes a project file and a class name";
        break;
    case Command::Properties:
    case Command::DbAccess:
        if (count != 1)
            error = std::string(options.Cmd == Command::Properties ? "properties" : "db-access") +
                    " takes one unit";
        else if (options.Select.empty())
            error = "--select NAME is needed";
        break;
    case Command::Rename:
        if (count != 3)
            error = "rename takes a unit, the old name and the new name";
        break;
    case Command::Palette:
        if (count > 1)
            error = "palette takes at most one package";
        break;
    case Command::Swap:
    case Command::Insert:
    case Command::Help:
        break;
    }
    if (error.empty() && !options.Select.empty() && options.Cmd != Command::Properties &&
        options.Cmd != Command::DbAccess)
        error = "--select applies to properties and db-access only";
    if (error.empty() && options.Types && options.Cmd != Command::Properties)
        error = "--types applies to properties only";
    if (error.empty() && options.Grid && options.Cmd != Command::DbAccess)
        error = "--grid applies to db-access only";
    if (error.empty() && !options.Settings.empty() && options.Cmd != Command::Version)
        error = "--set applies to version only";
    if (error.empty() && !options.Group.empty() && options.Cmd != Command::Send && options.Cmd != Command::Listen)
        error = "--group applies to send and listen only";
    if (error.empty() && options.Count != 0 && options.Cmd != Command::Listen)
        error = "--count applies to listen only";
    if (error.empty() && options.Unsorted && options.Cmd != Command::Routines &&
        options.Cmd != Command::Report)
        error = "--unsorted applies to routines and report only";
    if (error.empty() && options.Jobs != 0 && options.Cmd != Command::Routines)
        error = "--jobs applies to routines only";
    if (error.empty() && !options.Output.empty() && options.Cmd != Command::Report)
        error = "-o applies to report only";
    return error.empty();
}

}  // namespace

bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error)
{
    EditValues edit;
    bool haveCommand = false;
    bool optionsEnded = false;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (arg == "--help" || arg == "-h") {
                help = true;
                continue;
            }
            if (arg == "--raw") {
                options.Raw = true;
                continue;
            }
            if (arg == "--unsorted") {
                options.Unsorted = true;
                continue;
            }
            if (arg == "--types") {
                options.Types = true;
                continue;
            }
            if (arg == "--grid") {
                options.Grid = true;
                continue;
            }
            if (arg == "--selected") {
                options.Selected = true;
                continue;
            }
            if (arg == "--dry-run") {
                options.DryRun = true;
                continue;
            }
            std::string* target = nullptr;
            std::string value;
            if (TakeValue(arg, "--home", i, argc, argv, value))
                target = &options.Home;
            else if (TakeValue(arg, "--addin", i, argc, argv, value))
                target = &options.Addin;
            else if (TakeValue(arg, "--group", i, argc, argv, value))
                target = &options.Group;
            else if (TakeValue(arg, "--count", i, argc, argv, value)) {
                if (!ParseLine(value, options.Count)) {
                    error = "--count needs a number above 0";
                    return false;
                }
                continue;
            } else if (TakeValue(arg, "--set", i, argc, argv, value))
                target = &options.Settings.emplace_back();
            else if (TakeValue(arg, "--output", i, argc, argv, value) ||
                     TakeValue(arg, "-o", i, argc, argv, value))
                target = &options.Output;
            else if (TakeValue(arg, "--select", i, argc, argv, value))
                target = &options.Select;
            else if (TakeValue(arg, "--block", i, argc, argv, value))
                target = &edit.Block;
            else if (TakeValue(arg, "--cursor", i, argc, argv, value))
                target = &edit.Cursor;
            else if (TakeValue(arg, "--text", i, argc, argv, value))
                target = &options.TextFile;
            else if (TakeValue(arg, "--separator", i, argc, argv, value)) {
                target = &options.Separator;
                edit.SeparatorGiven = true;
            } else if (TakeValue(arg, "--jobs", i, argc, argv, value) ||
                       TakeValue(arg, "-j", i, argc, argv, value)) {
                if (!ParseLine(value, options.Jobs) || options.Jobs > maxJobs) {
                    error = "--jobs needs a number from 1 to " + std::to_string(maxJobs);
                    return false;
                }
                continue;
            }
            if (!target) {
                error = "unknown option " + arg;
                return false;
            }
            if (value.empty()) {
                error = arg.substr(0, arg.find('=')) + " needs a value";
                return false;
            }
            *target = value;
            continue;
        }
        if (!haveCommand) {
            auto word = commandWords.find(arg);
            if (word == commandWords.end()) {
                error = "unknown command " + arg;
                return false;
            }
            options.Cmd = word->second;
            haveCommand = true;
            continue;
        }
        options.Operands.push_back(arg);
    }
    if (help) {
        options.Cmd = Command::Help;
        return true;
    }
    if (!haveCommand) {
        error = "no command given";
        return false;
    }
    return CheckOperands(options, error) && CheckEditOptions(edit, options, error);
}

std::string UsageLine()
{
    return "usage: quorlin [--home DIR] [--addin PATH] [--raw] COMMAND [ARGUMENT...]  "
           "(quorlin --help lists the commands)";
}

std::string HelpText()
{
    return "usage: quorlin [--home DIR] [--addin PATH] [--raw] COMMAND [ARGUMENT...]\n"
           "\n"
           "Runs the add-in's tool window in a reference host without a display.\n"
           "\n"
           "  units PROJECT.dpr      the project's Pascal units, one a line\n"
           "  routines FILE...       the routines of each unit; several files each get a\n"
           "                         \"==> FILE <==\" header\n"
           "  jump FILE TEXT         the line the editor goes to for the routine TEXT\n"
           "                         (exit status 1 when the jump fails)\n"
           "  report FILE -o OUT     writes the routine list report to OUT (a name without\n"
           "                         an extension gets \".ini\", as in the save dialog)\n"
           "  swap FILE --block FIRST-LAST --cursor LINE [--separator TEXT] [--dry-run]\n"
           "                         inserts in front of line LINE a copy of lines FIRST to\n"
           "                         LAST with the sides of each assignment swapped (the\n"
           "                         separator is \":=\" unless given) and saves FILE\n"
           "  insert FILE --cursor LINE --text FILE2 [--selected] [--dry-run]\n"
           "                         inserts the lines of FILE2 in front of line LINE and\n"
           "                         saves FILE; --selected inserts FILE2's text unchanged\n"
           "  components PROJECT.dpr CLASS\n"
           "                         the components of class CLASS in the project's forms\n"
           "  properties UNIT.pas --select NAME [--types]\n"
           "                         the properties of component NAME of the unit's form\n"
           "  rename UNIT.pas OLD NEW\n"
           "                         renames component OLD of the unit's form and saves\n"
           "  palette [PACKAGE]      the installed packages, or the component classes of one\n"
           "  db-access UNIT.pas --select NAME [--grid]\n"
           "                         routines that copy component NAME's properties to and\n"
           "                         from a data set (--grid: a control grid)\n"
           "  version-info FILE      the eight version strings of a Windows program or\n"
           "                         library (or of the add-in), or \"No Version Info\"\n"
           "  version PROJECT.dpr    the project's version record, KEY=VALUE a line;\n"
           "                         --set KEY=VALUE (repeatable) stores values first\n"
           "  send COMMAND KIND TO   sends a message to the group TO (\"ALL\": every group) of\n"
           "                         the running programs of this user, and prints the answers\n"
           "  listen                 prints each message for its group or for all, one a line\n"
           "                         (FROM_COMMAND_KIND_TO), answering every CALLBACK\n"
           "\n"
           "  --unsorted             routines in source order\n"
           "  --jobs N, -j N         routines: share the files among N worker processes, each\n"
           "                         with its own add-in; output in the order of the files\n"
           "                         (default: one per processor)\n"
           "  --dry-run              swap, insert: print the edited text instead of saving it\n"
           "  --group NAME           the group send and listen take part as (default Console)\n"
           "  --count N              listen ends after N messages\n"
           "  --home DIR             folder of the add-in's settings files\n"
           "                         (default $XDG_DATA_HOME/quorlin or ~/.local/share/quorlin)\n"
           "  --addin PATH           the add-in library (default libquorlin.so beside quorlin)\n"
           "  --raw                  texts in code page 932 as stored, not converted to UTF-8\n"
           "  --help                 this text\n"
           "\n"
           "File names are used as given; routine texts and separators are converted from\n"
           "UTF-8 unless --raw. Files are taken as stored (code page 932).\n";
}

}  // namespace cli
