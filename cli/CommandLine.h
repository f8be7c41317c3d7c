#pragma once
// The command line of quorlin, defined once: the parser, the help texts, the manual page and the
// shell completions are all made from these definitions, so none of them can miss a command.

#include <memory>
#include <string>
#include <vector>

#include "CliOptions.h"

namespace CLI {
class App;
}

namespace cli {

// What a command is for, beyond its options.
struct CommandEntry {
    std::string Name;
    Command Cmd;
    std::string Synopsis;     // what follows the command word
    std::string Summary;      // one line for the list of commands
    std::string Description;  // paragraphs, each ended by an empty line
    std::string Example;      // a whole command line
    std::string FileTypes;    // extensions of the file operands, "|" between them; "" any file,
                              // "-" no file
};

// One option as help texts and completions show it.
struct OptionDoc {
    std::vector<std::string> Names;  // "-j", "--jobs"
    std::string Value;               // "N"; empty for a switch
    std::string Description;
};

class CommandLine {
public:
    enum class Outcome { Run, Help, Version, Wrong };

    // The definitions bind their values to options, which must outlive this.
    explicit CommandLine(CliOptions& options);
    ~CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Reads argv into the options. Help: text is the help asked for; Wrong: a one-line reason.
    Outcome Parse(int argc, char** argv, std::string& text);

    const std::vector<CommandEntry>& Commands() const;
    const CommandEntry* Find(const std::string& name) const;
    // The options that stand before or after any command word, and those of one command.
    std::vector<OptionDoc> GlobalOptions() const;
    std::vector<OptionDoc> OptionsOf(const CommandEntry& command) const;

private:
    std::vector<char*> CommandWordFirst(int argc, char** argv) const;
    std::string CheckArguments(const CommandEntry& command) const;
    std::string Misplaced(const std::string& argument, const CommandEntry* command) const;

    CliOptions& options_;
    std::unique_ptr<CLI::App> app_;
    // Options given as text and checked once the whole line is read.
    std::string jobs_;
    std::string count_;
    std::string block_;
    std::string cursor_;
    std::string separator_;
};

// The synopsis printed with every argument error.
std::string UsageLine();

}  // namespace cli
