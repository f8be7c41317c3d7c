#include "CompletionScript.h"

namespace cli {

namespace {

enum class ValueKind { None, File, Folder };

// What an option's value names, read from the name the help gives it.
ValueKind KindOf(const OptionDoc& option)
{
    if (option.Value == "DIR")
        return ValueKind::Folder;
    for (const char* word : {"FILE", "OUT", "PATH"}) {
        if (option.Value.find(word) != std::string::npos)
            return ValueKind::File;
    }
    return ValueKind::None;
}

// The words an operand of the command may be, when they are not files.
std::string OperandWords(const CommandLine& commandLine, const CommandEntry& command)
{
    std::string words;
    if (command.Cmd == Command::Help) {
        for (const CommandEntry& other : commandLine.Commands())
            words += (words.empty() ? "" : " ") + other.Name;
    } else if (command.Cmd == Command::Completion) {
        words = "bash zsh";
    }
    return words;
}

std::string Join(const std::vector<std::string>& words, const std::string& separator)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : separator) + word;
    return text;
}

std::string BashScript(const CommandLine& commandLine)
{
    std::vector<std::string> commands;
    std::vector<std::string> globals;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    std::vector<std::string> values;
    auto note = [&](const OptionDoc& option) {
        ValueKind kind = KindOf(option);
        for (const std::string& name : option.Names) {
            if (option.Value.empty())
                continue;
            (kind == ValueKind::Folder ? folders : kind == ValueKind::File ? files : values).push_back(name);
        }
    };
    for (const OptionDoc& option : commandLine.GlobalOptions()) {
        globals.insert(globals.end(), option.Names.begin(), option.Names.end());
        note(option);
    }
    std::string cases;
    for (const CommandEntry& command : commandLine.Commands()) {
        commands.push_back(command.Name);
        std::vector<std::string> names;
        for (const OptionDoc& option : commandLine.OptionsOf(command)) {
            names.insert(names.end(), option.Names.begin(), option.Names.end());
            note(option);
        }
        std::string words = OperandWords(commandLine, command);
        cases += "        " + command.Name + ") options=\"" + Join(names, " ") + "\" extensions=\"" +
                 (words.empty() ? command.FileTypes : "-") + "\" words=\"" + words + "\" ;;\n";
    }
    auto pattern = [](std::vector<std::string> names) { return names.empty() ? std::string("--") : Join(names, "|"); };
    return "# bash completion for quorlin: quorlin completion bash > "
           "~/.local/share/bash-completion/completions/quorlin\n"
           "_quorlin()\n"
           "{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local command= options= extensions= words= i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "        " + pattern(folders) + "|" + pattern(files) + "|" + pattern(values) + ") ((i++)) ;;\n"
           "        -*) ;;\n"
           "        *) command=${COMP_WORDS[i]}; break ;;\n"
           "        esac\n"
           "    done\n"
           "    case $prev in\n"
           "    " + pattern(folders) + ") COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
           "    " + pattern(files) + ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "    " + pattern(values) + ") COMPREPLY=(); return ;;\n"
           "    esac\n"
           "    case $command in\n"
           "        '') COMPREPLY=($(compgen -W \"" + Join(commands, " ") + " " + Join(globals, " ") +
           "\" -- \"$cur\")); return ;;\n" + cases +
           "        *) return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options " + Join(globals, " ") + "\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    if [[ $extensions == - ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    local IFS=$'\\n' extension\n"
           "    COMPREPLY=($(compgen -d -- \"$cur\"))\n"
           "    if [[ -z $extensions ]]; then\n"
           "        COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    for extension in ${extensions//|/$'\\n'}; do\n"
           "        COMPREPLY+=($(compgen -f -X \"!*.$extension\" -- \"$cur\"))\n"
           "    done\n"
           "}\n"
           "complete -o filenames -F _quorlin quorlin\n";
}

// A text inside a single-quoted zsh word, with the brackets and colons of _arguments escaped.
std::string ZshText(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '\'')
            escaped += "'\\''";
        else if (c == '[' || c == ']' || c == ':')
            escaped += std::string("\\") + c;
        else
            escaped += c;
    }
    return escaped;
}

std::string ZshOption(const OptionDoc& option)
{
    std::string names = option.Names.size() == 1 ? option.Names[0] : "{" + Join(option.Names, ",") + "}";
    std::string exclusive = option.Names.size() == 1 ? "" : "'(" + Join(option.Names, " ") + ")'";
    std::string entry = "'[" + ZshText(option.Description) + "]";
    if (!option.Value.empty()) {
        ValueKind kind = KindOf(option);
        entry += ":" + ZshText(option.Value) + ":" +
                (kind == ValueKind::Folder ? "_files -/" : kind == ValueKind::File ? "_files" : " ");
    }
    return exclusive + names + entry + "'";
}

std::string ZshScript(const CommandLine& commandLine)
{
    std::string globals;
    for (const OptionDoc& option : commandLine.GlobalOptions())
        globals += " " + ZshOption(option);
    std::string described;
    std::string cases;
    for (const CommandEntry& command : commandLine.Commands()) {
        described += "        '" + ZshText(command.Name) + ":" + ZshText(command.Summary) + "'\n";
        std::string options;
        for (const OptionDoc& option : commandLine.OptionsOf(command))
            options += " " + ZshOption(option);
        std::string words = OperandWords(commandLine, command);
        std::string operand = !words.empty()                ? "'*:argument:(" + words + ")'"
                              : command.FileTypes == "-"    ? "'*:argument: '"
                              : command.FileTypes.empty()   ? "'*:file:_files'"
                                                            : "'*:file:_files -g \"*.(" + command.FileTypes + ")\"'";
        cases += "        " + command.Name + ") _arguments -s" + globals + options + " " + operand + " ;;\n";
    }
    return "#compdef quorlin\n"
           "# zsh completion for quorlin: quorlin completion zsh > ~/.zfunc/_quorlin, with ~/.zfunc in $fpath\n"
           "_quorlin() {\n"
           "    local context state state_descr line\n"
           "    typeset -A opt_args\n"
           "    local -a commands=(\n" + described +
           "    )\n"
           "    _arguments -C -s" + globals + " '1:command:->command' '*::argument:->argument'\n"
           "    case $state in\n"
           "    command) _describe -t commands 'quorlin command' commands ;;\n"
           "    argument)\n"
           "        case $words[1] in\n" + cases +
           "        esac ;;\n"
           "    esac\n"
           "}\n"
           "_quorlin \"$@\"\n";
}

}  // namespace

std::string CompletionScript(const CommandLine& commandLine, const std::string& shell)
{
    return shell == "zsh" ? ZshScript(commandLine) : BashScript(commandLine);
}

}  // namespace cli
