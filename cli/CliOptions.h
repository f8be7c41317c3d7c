#pragma once
// The command line of quorlin: a command, its operands and the options that may stand anywhere.

#include <string>
#include <vector>

namespace cli {

enum class Command { Units, Routines, Jump, Report, Form, Help };

struct CliOptions {
    Command Cmd = Command::Help;
    std::vector<std::string> Operands;  // after the command word
    std::string Home;                   // empty: the default data folder
    std::string Addin;                  // empty: the add-in beside the executable
    std::string Output;                 // report: the file the save dialog is answered with
    bool Raw = false;
    bool Unsorted = false;
    bool Text = false;  // form: the whole form in the text form
};

// Fills options from argv; false with a one-line reason in error when the arguments are wrong.
bool ParseCliOptions(int argc, char** argv, CliOptions& options, std::string& error);

// The one-line synopsis printed with every argument error, and the text of --help.
std::string UsageLine();
std::string HelpText();

}  // namespace cli
