#include "RunServer.h"

#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <deque>

#include "Server.h"
#include "ServerDesktop.h"
#include "Transport.h"
#include "cli/AddinSession.h"
#include "toolkit/Application.h"

namespace lsp {

namespace {

int ProcessorCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    return sched_getaffinity(0, sizeof set, &set) == 0 ? std::max(CPU_COUNT(&set), 1) : 1;
}

int Serve(Server& server, Transport& transport)
{
    std::deque<std::string> queue;
    bool broken = false;
    auto take = [&](Transport::Status status, std::string& body) {
        if (status == Transport::Status::Message) {
            if (!server.HandleCancellation(body))
                queue.push_back(std::move(body));
        } else if (status == Transport::Status::TooLarge) {
            server.RejectTooLarge();
        } else {
            broken = true;
        }
    };
    auto poll = [&] {
        std::string body;
        Transport::Status status;
        while (!broken && transport.ReadReady(body, status))
            take(status, body);
    };
    server.SetPoll(poll);
    while (!server.Ended()) {
        if (queue.empty()) {
            if (broken)
                break;
            std::string body;
            Transport::Status status = transport.Read(body);
            if (status == Transport::Status::End)
                break;
            take(status, body);
            continue;
        }
        std::string body = std::move(queue.front());
        queue.pop_front();
        server.Handle(body);
    }
    if (broken)
        std::fprintf(stderr, "quorlin lsp: the input's framing is broken; the server ends\n");
    return server.Ended() ? server.ExitCode() : 1;
}

}  // namespace

int RunServer(const ServerOptions& options)
{
    // The protocol gets descriptors of its own; whatever any layer prints goes to standard error.
    int in = dup(STDIN_FILENO);
    int out = dup(STDOUT_FILENO);
    if (in < 0 || out < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::perror("quorlin lsp");
        return 1;
    }
    signal(SIGPIPE, SIG_IGN);
    ServerDesktop desktop;
    tk::Application::Instance().SetDesktop(&desktop);
    int status = 1;
    {
        cli::AddinSession session;
        std::string error;
        tk::Form* toolWindow = nullptr;
        if (!session.Load(options.Addin, error))
            std::fprintf(stderr, "quorlin lsp: %s\n", error.c_str());
        else if (!(toolWindow = session.OpenToolWindow()))
            std::fprintf(stderr, "quorlin lsp: the add-in opened no tool window\n");
        if (toolWindow) {
            Transport transport(in, out);
            Server server(session.Host(), *toolWindow, desktop,
                          [&transport](const std::string& body) { return transport.Send(body); });
            server.SetIndexWorkers(ProcessorCount());
            status = server.Prepare(error) ? Serve(server, transport) : 1;
            if (!error.empty())
                std::fprintf(stderr, "quorlin lsp: %s\n", error.c_str());
        }
    }
    tk::Application::Instance().SetDesktop(nullptr);
    close(in);
    close(out);
    return status;
}

}  // namespace lsp
