#pragma once
// quorlin lsp: the language server over standard input and output.

#include <string>

namespace lsp {

struct ServerOptions {
    std::string Addin;  // the add-in library to load
};

// Serves one client until it exits or its input ends; answers the process's exit status. The host
// folder is set up by the caller.
int RunServer(const ServerOptions& options);

}  // namespace lsp
