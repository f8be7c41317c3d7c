// Writes the files made from the command line's definitions into a folder at build time: the
// manual page quorlin.1 and the completion scripts quorlin.bash and _quorlin (zsh).
//
//     quorlin-make-command-files FOLDER

#include <cstdio>
#include <string>

#include "CommandHelp.h"
#include "CompletionScript.h"
#include "platform/FileWrite.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorlin-make-command-files FOLDER\n");
        return 2;
    }
    cli::CliOptions options;
    cli::CommandLine commandLine(options);
    std::string folder = std::string(argv[1]) + "/";
    for (const auto& [name, text] : {std::pair{std::string("quorlin.1"), cli::ManPage(commandLine)},
                                     std::pair{std::string("quorlin.bash"), cli::CompletionScript(commandLine, "bash")},
                                     std::pair{std::string("_quorlin"), cli::CompletionScript(commandLine, "zsh")}}) {
        std::string error;
        if (!platform::WriteFileReplacing(folder + name, text, error)) {
            std::fprintf(stderr, "quorlin-make-command-files: %s%s: %s\n", folder.c_str(), name.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
