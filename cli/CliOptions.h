#pragma once
// The command line of quorlin: a command, its operands and the options that may stand anywhere.

#include <string>
#include <vector>

namespace cli {

enum class Command { Units, Routines, Jump, Report, ClassUnit, ClassDef, Methods, Help };

struct CliOptions {
    Command Cmd = Command::Help;
    std::vector<std::string> Operands;  // after the command word
    std::string Home;                   // empty: the default data folder
    std::string Addin;                  // empty: the add-in beside the executable
    std::string Output;                 // report, class-unit: the file the save dialog is answered with
    std::string ClassName;              // class-unit, class-def, methods
    std::string BaseName;               // class-unit, class-def
    std::string Comments;               // class-unit, class-def: empty, or the comment style 0, 1 or 2
    std::string UnitComment;            // class-unit: the file of the unit comment's lines
    bool Raw = false;
    bool Unsorted = false;
};

// Fills options from argv; false with a one-line reason in error when the arguments are wrong.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The one-line synopsis printed with every argument error, and the text of --help.
std::string UsageLine();
std::string HelpText();

}  // namespace cli
