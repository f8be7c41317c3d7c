#pragma once
// What a request handler throws when it cannot answer; the server turns it into the JSON-RPC error.

#include <stdexcept>

namespace lsp {

// The parameters do not say what the request needs: InvalidParams.
struct ParamsError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The request was understood but the tool refused or failed: RequestFailed, with the tool's message.
struct RequestFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace lsp
