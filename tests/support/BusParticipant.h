#pragma once
// Participants of the local bus for tests: a private runtime folder for the test's bus, and other
// programs taking part, each a child process that reports what it hears through a pipe.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/EventSources.h"
#include "support/TempFolder.h"

// Points $XDG_RUNTIME_DIR at a fresh folder for the test's life, so that its bus is its own, and
// stands for a message loop that serves the process's event sources (the test calls Serve).
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder()
    {
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        hadPrevious_ = previous != nullptr;
        if (previous)
            previous_ = previous;
        setenv("XDG_RUNTIME_DIR", folder_.Path().c_str(), 1);
        platform::EventSources::Instance().SetListener([](int, bool) {});
    }
    ~PrivateRuntimeFolder()
    {
        platform::EventSources::Instance().SetListener({});
        if (hadPrevious_)
            setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    const std::string& Path() const { return folder_.Path(); }
    // The folder of a channel, which holds a folder of endpoints for each address.
    std::string Channel(const std::string& channel) const { return folder_.Path() + "/quorlin/" + channel; }
    // The paths of a channel's endpoints in the order of their names (the order of joining), of
    // participants that are starting left out; a folder or endpoint going meanwhile is no failure.
    std::vector<std::string> Endpoints(const std::string& channel) const
    {
        std::vector<std::filesystem::path> found;
        std::error_code failure;
        for (std::filesystem::recursive_directory_iterator entry(Channel(channel), failure), end;
             !failure && entry != end; entry.increment(failure)) {
            std::error_code gone;
            if (entry->is_socket(gone) && entry->path().filename().string()[0] != '.')
                found.push_back(entry->path());
        }
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.filename() < b.filename(); });
        return {found.begin(), found.end()};
    }

private:
    TempFolder folder_;
    bool hadPrevious_ = false;
    std::string previous_;
};

// A child process running body with the write end of a report pipe; the child ends with body's
// result and never returns into the test. Killed, if still running, when the object goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<int(int report)>& body)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            close(pipeEnds[0]);
            _exit(body(pipeEnds[1]));
        }
        close(pipeEnds[1]);
        report_ = pipeEnds[0];
    }
    ~ChildProcess()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(report_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // The next line the child reported, without its line break; empty when none came in time.
    std::string ReadLine(int timeoutMs = 5000)
    {
        for (;;) {
            size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            pollfd wait{report_, POLLIN, 0};
            char bytes[256];
            ssize_t got = 0;
            if (poll(&wait, 1, timeoutMs) <= 0 || (got = read(report_, bytes, sizeof(bytes))) <= 0)
                return "";
            buffer_.append(bytes, static_cast<size_t>(got));
        }
    }

    // The child's exit status; -1 when it did not exit normally or was still running after
    // timeoutMs, when it is killed, so that a test that waits for the wrong thing fails instead of
    // hanging.
    int Wait(int timeoutMs = 10000)
    {
        int status = 0;
        for (int waited = 0; waitpid(pid_, &status, WNOHANG) != pid_; waited += 5) {
            if (waited >= timeoutMs) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
                pid_ = -1;
                return -1;
            }
            usleep(5000);
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int report_ = -1;
    std::string buffer_;
};

// Writes a line to a report pipe.
inline void Report(int report, const std::string& line)
{
    std::string text = line + "\n";
    [[maybe_unused]] ssize_t written = write(report, text.data(), text.size());
}
