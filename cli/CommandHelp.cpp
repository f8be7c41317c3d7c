#include "CommandHelp.h"

#include <algorithm>

namespace cli {

namespace {

constexpr size_t textWidth = 100;

const char* const globalSynopsis = "quorlin [--home DIR] [--addin PATH] [--raw]";

const char* const aboutText =
    "Runs the add-in's tool window in a reference host without a display.\n\n";

const char* const closingText =
    "quorlin COMMAND --help shows a command's options and an example. File names are used as given; "
    "routine texts, separators, class names, unit comments and node names are converted from UTF-8 "
    "unless --raw. Files are taken as stored (code page 932). Messages the tool window would show "
    "in a box go to standard error. Wrong arguments exit with status 2.\n\n";

// Paragraphs (each ended by an empty line) broken into lines of at most width, each indented.
std::string Wrap(const std::string& paragraphs, size_t indent, size_t width = textWidth)
{
    std::string text;
    std::string line;
    size_t start = 0;
    while (start < paragraphs.size()) {
        size_t end = paragraphs.find(' ', start);
        size_t lineEnd = paragraphs.find('\n', start);
        bool paragraphEnds = lineEnd != std::string::npos && (end == std::string::npos || lineEnd < end);
        if (paragraphEnds)
            end = lineEnd;
        else if (end == std::string::npos)
            end = paragraphs.size();
        std::string word = paragraphs.substr(start, end - start);
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            text += std::string(indent, ' ') + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
        if (paragraphEnds) {
            if (!line.empty())
                text += std::string(indent, ' ') + line + "\n";
            line.clear();
            if (start < paragraphs.size() && paragraphs[start] == '\n') {
                text += "\n";
                ++start;
            }
        }
    }
    if (!line.empty())
        text += std::string(indent, ' ') + line + "\n";
    return text;
}

std::string OptionTerm(const OptionDoc& option)
{
    std::string term;
    for (const std::string& name : option.Names)
        term += (term.empty() ? "" : ", ") + name;
    return option.Value.empty() ? term : term + " " + option.Value;
}

// Two columns: a term and its description, wrapped beside it.
std::string Table(const std::vector<std::pair<std::string, std::string>>& rows)
{
    size_t column = 0;
    for (const auto& [term, description] : rows)
        column = std::max(column, term.size());
    column = std::min<size_t>(column + 4, 28);
    std::string text;
    for (const auto& [term, description] : rows) {
        std::string body = Wrap(description + "\n", column);
        if (term.size() + 4 <= column)
            text += "  " + term + body.substr(term.size() + 2);
        else
            text += "  " + term + "\n" + body;
    }
    return text;
}

std::string OptionTable(const std::vector<OptionDoc>& options)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (const OptionDoc& option : options)
        rows.emplace_back(OptionTerm(option), option.Description);
    return Table(rows);
}

std::string Usage(const CommandLine& commandLine, const CommandEntry& command)
{
    std::string usage = std::string(globalSynopsis) + " " + command.Name;
    if (!command.Synopsis.empty())
        usage += " " + command.Synopsis;
    if (commandLine.OptionsOf(command).size() > 1)
        usage += " [OPTION...]";
    return usage;
}

// Text as roff reads it: backslashes and hyphens escaped, no line taken for a request.
std::string Roff(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
        if (c == '\n')
            escaped += "\\&";
    }
    return "\\&" + escaped;
}

// A description's paragraphs, one roff paragraph each.
std::string RoffParagraphs(const std::string& paragraphs)
{
    std::string text;
    size_t start = 0;
    while (start < paragraphs.size()) {
        size_t end = paragraphs.find("\n\n", start);
        if (end == std::string::npos)
            end = paragraphs.size();
        if (!text.empty())
            text += ".IP\n";
        text += Roff(paragraphs.substr(start, end - start)) + "\n";
        start = end + 2;
    }
    return text;
}

// The options of a section; the help switch, which every command has, only under OPTIONS.
std::string RoffOptions(const std::vector<OptionDoc>& options, bool withHelp)
{
    std::string text;
    for (const OptionDoc& option : options) {
        if (!withHelp && std::find(option.Names.begin(), option.Names.end(), "--help") != option.Names.end())
            continue;
        std::string names;
        for (const std::string& name : option.Names)
            names += (names.empty() ? "\\fB" : ", \\fB") + Roff(name) + "\\fR";
        if (!option.Value.empty())
            names += " \\fI" + Roff(option.Value) + "\\fR";
        text += ".TP\n" + names + "\n" + Roff(option.Description) + "\n";
    }
    return text;
}

}  // namespace

std::string HelpText(const CommandLine& commandLine)
{
    std::vector<std::pair<std::string, std::string>> commands;
    for (const CommandEntry& command : commandLine.Commands())
        commands.emplace_back(command.Name, command.Summary);
    return "usage: " + std::string(globalSynopsis) + " COMMAND [ARGUMENT...]\n\n" + aboutText + "commands:\n" +
           Table(commands) + "\noptions:\n" + OptionTable(commandLine.GlobalOptions()) + "\n" +
           Wrap(closingText, 0);
}

std::string CommandHelpText(const CommandLine& commandLine, const CommandEntry& command)
{
    return "usage: " + Usage(commandLine, command) + "\n\n" + Wrap(command.Description, 0) + "options:\n" +
           OptionTable(commandLine.OptionsOf(command)) + "\nexample:\n  " + command.Example + "\n";
}

std::string ManPage(const CommandLine& commandLine)
{
    std::string page = ".TH QUORLIN 1 \"\" \"Quorlin\" \"User Commands\"\n"
                       ".SH NAME\n"
                       "quorlin \\- the Quorlin tool window driven from the command line\n"
                       ".SH SYNOPSIS\n"
                       ".B quorlin\n" +
                       Roff("[--home DIR] [--addin PATH] [--raw] COMMAND [ARGUMENT...]") +
                       "\n.SH DESCRIPTION\n" + RoffParagraphs(aboutText) + ".SH COMMANDS\n";
    for (const CommandEntry& command : commandLine.Commands()) {
        page += ".SS " + Roff(command.Name + " " + command.Synopsis) + "\n" + RoffParagraphs(command.Description) +
                RoffOptions(commandLine.OptionsOf(command), false) + ".PP\nExample:\n.RS\n.nf\n" +
                Roff(command.Example) + "\n.fi\n.RE\n";
    }
    page += ".SH OPTIONS\n" + RoffOptions(commandLine.GlobalOptions(), true) + ".SH NOTES\n" + RoffParagraphs(closingText) +
            ".SH EXIT STATUS\n0 when the command did its work, 1 when it failed, 2 for wrong arguments.\n"
            ".SH ENVIRONMENT\n.TP\n.B XDG_DATA_HOME\nThe default data folder is $XDG_DATA_HOME/quorlin, "
            "else ~/.local/share/quorlin.\n";
    return page;
}

}  // namespace cli
