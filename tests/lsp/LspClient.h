#pragma once
// A client of the real language server for tests: starts `quorlin lsp` with a home of its own,
// sends framed messages through a pipe and reads the answers. Every wait is bounded, so a server
// that hangs fails the test instead of stopping it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/QuorlinRun.h"

using json = nlohmann::json;

class LspClient {
public:
    // Starts the server; home is the add-in's data folder.
    explicit LspClient(const std::string& home)
    {
        int toServer[2];
        int fromServer[2];
        if (pipe(toServer) != 0 || pipe(fromServer) != 0)
            throw std::runtime_error("pipe failed");
        std::string program = quorlinBinary.string();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(toServer[0], 0);
            dup2(fromServer[1], 1);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            close(toServer[1]);
            close(fromServer[0]);
            execl(program.c_str(), program.c_str(), "lsp", "--home", home.c_str(), nullptr);
            _exit(127);
        }
        close(toServer[0]);
        close(fromServer[1]);
        in_ = toServer[1];
        out_ = fromServer[0];
        signal(SIGPIPE, SIG_IGN);
    }
    ~LspClient()
    {
        CloseInput();
        if (pid_ > 0 && Wait(10000) == -2) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }
    LspClient(const LspClient&) = delete;
    LspClient& operator=(const LspClient&) = delete;

    void SendRaw(const std::string& bytes)
    {
        for (size_t done = 0; done < bytes.size();) {
            ssize_t written = write(in_, bytes.data() + done, bytes.size() - done);
            if (written <= 0)
                throw std::runtime_error("the server no longer reads");
            done += static_cast<size_t>(written);
        }
    }
    void Send(const json& message)
    {
        std::string body = message.dump();
        SendRaw("Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    }
    void Notify(const std::string& method, json params)
    {
        Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }
    // Sends a request and answers its response; notifications that come first are kept.
    json Request(const std::string& method, json params)
    {
        int id = ++lastId_;
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
        return ResponseTo(id);
    }
    json ResponseTo(const json& id)
    {
        for (;;) {
            json message = Read();
            if (message.contains("id") && message["id"] == id && !message.contains("method"))
                return message;
            Keep(std::move(message));
        }
    }
    // The next message from the server; throws after a while without one, or at its end.
    json Read(int timeoutMs = 60000)
    {
        for (;;) {
            size_t headerEnd = buffer_.find("\r\n\r\n");
            if (headerEnd != std::string::npos) {
                size_t length = std::stoul(buffer_.substr(buffer_.find(':') + 1, headerEnd));
                if (buffer_.size() >= headerEnd + 4 + length) {
                    json message = json::parse(buffer_.substr(headerEnd + 4, length));
                    buffer_.erase(0, headerEnd + 4 + length);
                    return message;
                }
            }
            if (!Fill(timeoutMs))
                throw std::runtime_error("the server sent nothing more");
        }
    }
    // The notifications of a method received so far, the oldest first; taken out.
    std::vector<json> Notifications(const std::string& method)
    {
        std::vector<json> found;
        std::vector<json> rest;
        for (json& message : kept_)
            (message.value("method", "") == method ? found : rest).push_back(std::move(message));
        kept_ = std::move(rest);
        return found;
    }
    // Reads until a notification of that method comes; answers its parameters.
    json WaitFor(const std::string& method)
    {
        std::vector<json> found = Notifications(method);
        if (!found.empty())
            return found.front()["params"];
        for (;;) {
            json message = Read();
            if (message.value("method", "") == method && !message.contains("id"))
                return message["params"];
            Keep(std::move(message));
        }
    }

    // Reads until the server sends a request of that method; answers the whole message, with its id.
    json WaitForRequest(const std::string& method)
    {
        for (size_t i = 0; i < kept_.size(); ++i) {
            if (kept_[i].value("method", "") == method && kept_[i].contains("id")) {
                json message = std::move(kept_[i]);
                kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(i));
                return message;
            }
        }
        for (;;) {
            json message = Read();
            if (message.value("method", "") == method && message.contains("id"))
                return message;
            Keep(std::move(message));
        }
    }
    void Answer(const json& id, json result) { Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}); }

    void Initialize(const std::string& folder, json capabilities = json::object())
    {
        json result = Request("initialize", {{"processId", nullptr},
                                             {"rootUri", Uri(folder)},
                                             {"capabilities", std::move(capabilities)}});
        if (!result.contains("result"))
            throw std::runtime_error("initialize failed: " + result.dump());
        Notify("initialized", json::object());
    }
    void Open(const std::string& file, const std::string& text)
    {
        Notify("textDocument/didOpen",
               {{"textDocument", {{"uri", Uri(file)}, {"languageId", "pascal"}, {"version", 1}, {"text", text}}}});
    }
    // Ends with shutdown and exit; answers the exit status.
    int Finish()
    {
        Request("shutdown", nullptr);
        Notify("exit", nullptr);
        return Wait(10000);
    }

    void CloseInput()
    {
        if (in_ >= 0)
            close(in_);
        in_ = -1;
    }
    // The exit status, 128 + the signal for a server killed by one, -2 when it has not ended in time.
    int Wait(int timeoutMs)
    {
        if (status_ != -1)
            return status_;
        for (int waited = 0; waited <= timeoutMs; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return status_;
            }
            usleep(10000);
        }
        return -2;
    }

    static std::string Uri(const std::string& path) { return "file://" + path; }

private:
    bool Fill(int timeoutMs)
    {
        pollfd ready{out_, POLLIN, 0};
        if (poll(&ready, 1, timeoutMs) <= 0)
            return false;
        char block[65536];
        ssize_t got = read(out_, block, sizeof block);
        if (got <= 0)
            return false;
        buffer_.append(block, static_cast<size_t>(got));
        return true;
    }
    void Keep(json message) { kept_.push_back(std::move(message)); }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int lastId_ = 0;
    int status_ = -1;
    std::string buffer_;
    std::vector<json> kept_;
};
