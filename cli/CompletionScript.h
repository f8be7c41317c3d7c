#pragma once
// Shell completion for quorlin, made from the command line's definitions: commands, their options,
// the values of options that name files or folders, and file operands by extension.

#include <string>

#include "CommandLine.h"

namespace cli {

// The script for shell "bash" or "zsh".
std::string CompletionScript(const CommandLine& commandLine, const std::string& shell);

}  // namespace cli
