#pragma once
// The texts made from the command line's definitions: the help of quorlin and of each command, and
// the manual page quorlin(1).

#include <string>

#include "CommandLine.h"

namespace cli {

std::string HelpText(const CommandLine& commandLine);
std::string CommandHelpText(const CommandLine& commandLine, const CommandEntry& command);
std::string ManPage(const CommandLine& commandLine);

}  // namespace cli
