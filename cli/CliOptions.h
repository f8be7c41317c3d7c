#pragma once
// The command line of quorlin: a command, its operands and the options that may stand anywhere.

#include <string>
#include <vector>

namespace cli {

enum class Command { Units, Routines, Jump, Report, Tasks, Help };

struct CliOptions {
    Command Cmd = Command::Help;
    std::vector<std::string> Operands;  // after the command word
    std::string Home;                   // empty: the default data folder
    std::string Addin;                  // empty: the add-in beside the executable
    std::string Output;                 // report: the file the save dialog is answered with
    std::string Notes;                  // tasks: the node whose notes are shown
    bool Raw = false;
    bool Unsorted = false;
};

// Fills options from argv; false with a one-line reason in error when the arguments are wrong.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The one-line synopsis printed with every argument error, and the text of --help.
std::string UsageLine();
std::string HelpText();

}  // namespace cli
