#include "CliOptions.h"

#include <map>

namespace cli {

namespace {

const std::map<std::string, Command> commandWords = {
    {"units", Command::Units}, {"routines", Command::Routines}, {"jump", Command::Jump},
    {"report", Command::Report}, {"tasks", Command::Tasks}};

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
    case Command::Tasks:
        if (count != 1)
            error = "tasks takes one task file";
        break;
    case Command::Help:
        break;
    }
    if (error.empty() && !options.Notes.empty() && options.Cmd != Command::Tasks)
        error = "--notes applies to tasks only";
    if (error.empty() && options.Unsorted && options.Cmd != Command::Routines &&
        options.Cmd != Command::Report)
        error = "--unsorted applies to routines and report only";
    if (error.empty() && !options.Output.empty() && options.Cmd != Command::Report)
        error = "-o applies to report only";
    return error.empty();
}

}  // namespace

bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error)
{
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
            std::string* target = nullptr;
            std::string value;
            if (TakeValue(arg, "--home", i, argc, argv, value))
                target = &options.Home;
            else if (TakeValue(arg, "--addin", i, argc, argv, value))
                target = &options.Addin;
            else if (TakeValue(arg, "--output", i, argc, argv, value) ||
                     TakeValue(arg, "-o", i, argc, argv, value))
                target = &options.Output;
            else if (TakeValue(arg, "--notes", i, argc, argv, value))
                target = &options.Notes;
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
    return CheckOperands(options, error);
}

std::string UsageLine()
{
    return "usage: quorlin [--home DIR] [--addin PATH] [--raw] {units PROJECT.dpr | routines [--unsorted] "
           "FILE... | jump FILE TEXT | report [--unsorted] FILE -o OUT | tasks TASKFILE [--notes NODE]}";
}

std::string HelpText()
{
    return UsageLine() + "\n"
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
           "  tasks TASKFILE         the task tree, one node a line, indented by a TAB per level\n"
           "  tasks TASKFILE --notes NODE\n"
           "                         the notes the memo shows for the first node named NODE\n"
           "\n"
           "  --unsorted             routines in source order\n"
           "  --home DIR             folder of the add-in's settings files\n"
           "                         (default $XDG_DATA_HOME/quorlin or ~/.local/share/quorlin)\n"
           "  --addin PATH           the add-in library (default libquorlin.so beside quorlin)\n"
           "  --raw                  texts in code page 932 as stored, not converted to UTF-8\n"
           "  --help                 this text\n"
           "\n"
           "File names are used as given; routine texts are converted from UTF-8 unless --raw.\n";
}

}  // namespace cli
