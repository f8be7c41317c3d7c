// Any bytes as the language server's input, after an initialize over a small workspace: the framing
// and the dispatch end, and every message the server sends is a JSON-RPC 2.0 object, each response
// to an id that came in (or to none, for input that could not be read).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "cli/AddinSession.h"
#include "fuzz/FuzzFolder.h"
#include "lsp/FrameReader.h"
#include "lsp/Server.h"
#include "lsp/ServerDesktop.h"
#include "platform/HostFolder.h"
#include "toolkit/Application.h"

namespace {

using json = nlohmann::json;

void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "LspFuzz.cpp:%d: check failed\n", line);
        std::abort();
    }
}

// The add-in loaded once for the whole run, as the server loads it, with a workspace of two units.
struct Session {
    lsp::ServerDesktop desktop;
    cli::AddinSession addin;
    tk::Form* toolWindow = nullptr;
    std::string workspace = FuzzFolder() + "/ws";

    Session()
    {
        tk::Application::Instance().SetDesktop(&desktop);
        platform::SetHostFolder(FuzzFolder() + "/");
        std::filesystem::create_directories(workspace);
        std::ofstream(workspace + "/Unit1.pas") << "unit Unit1;\ninterface\nuses Unit2;\nimplementation\n"
                                                   "procedure Foo;\nbegin\n  Bar;\nend;\nend.\n";
        std::ofstream(workspace + "/Unit2.pas") << "unit Unit2;\ninterface\nprocedure Bar;\nimplementation\n"
                                                   "procedure Bar;\nbegin\nend;\nend.\n";
        std::string library = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libquorlin.so";
        std::string error;
        if (!addin.Load(library, error) || !(toolWindow = addin.OpenToolWindow())) {
            std::fprintf(stderr, "LspFuzz: %s\n", error.c_str());
            std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Session session;
    std::set<std::string> ids = {"null"};
    lsp::Server server(session.addin.Host(), *session.toolWindow, session.desktop, [&](const std::string& body) {
        json message = json::parse(body, nullptr, false);
        Check(message.is_object() && message.value("jsonrpc", "") == "2.0");
        if (!message.contains("method"))
            Check(message.contains("id") && ids.contains(message["id"].dump())
                  && (message.contains("result") != message.contains("error")));
        return true;
    });
    auto handle = [&](const std::string& body) {
        json message = json::parse(body, nullptr, false);
        if (message.is_object() && message.contains("id"))
            ids.insert(message["id"].dump());
        if (!server.HandleCancellation(body))
            server.Handle(body);
    };
    handle(json({{"jsonrpc", "2.0"},
                 {"id", 0},
                 {"method", "initialize"},
                 {"params", {{"rootUri", "file://" + session.workspace}, {"capabilities", json::object()}}}})
               .dump());
    lsp::FrameReader reader;
    reader.Feed(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string body;
    for (;;) {
        lsp::FrameReader::Result result = reader.Next(body);
        if (result == lsp::FrameReader::Result::Message)
            handle(body);
        else if (result == lsp::FrameReader::Result::TooLarge)
            server.RejectTooLarge();
        else
            break;
        if (server.Ended())
            break;
    }
    return 0;
}
