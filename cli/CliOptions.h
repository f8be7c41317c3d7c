#pragma once
// The command line of quorlin: a command, its operands and the options that may stand anywhere.

#include <string>
#include <vector>

namespace cli {

enum class Command {
    Units, Routines, Jump, Report, Swap, Insert, Components, Properties, Rename, Palette, DbAccess, VersionInfo,
    Version, Send, Listen, Help
};

struct CliOptions {
    Command Cmd = Command::Help;
    std::vector<std::string> Operands;  // after the command word
    std::string Home;                   // empty: the default data folder
    std::string Addin;                  // empty: the add-in beside the executable
    std::string Output;                 // report: the file the save dialog is answered with
    std::string Select;                 // properties, db-access: the component chosen in the designer
    std::vector<std::string> Settings;  // version: the KEY=VALUE of each --set
    std::string Group;                  // send, listen: the group taken part as
    int Count = 0;                      // listen: messages to print before ending; 0: no limit
    bool Raw = false;
    bool Unsorted = false;
    int Jobs = 0;                       // routines: worker processes; 0: one per processor
    bool Headers = false;               // routines: several files named, so each list gets a header
    bool Types = false;                 // properties: names with their type words
    bool Grid = false;                  // db-access: the control-grid routines
    // swap and insert: the block's first and last line, the cursor's line, the separator, the
    // file whose text the memo takes, whether all of it is selected, whether FILE stays untouched.
    int BlockFirst = 0;
    int BlockLast = 0;
    int CursorLine = 0;
    std::string Separator = ":=";
    std::string TextFile;
    bool Selected = false;
    bool DryRun = false;
};

// Fills options from argv; false with a one-line reason in error when the arguments are wrong.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The one-line synopsis printed with every argument error, and the text of --help.
std::string UsageLine();
std::string HelpText();

}  // namespace cli
