#pragma once
// Descriptors that the program's message loop watches for input, with the work to run when one
// becomes readable: the stand-in for a hidden window that receives messages from other programs.
// A loop of its own (the workbench's Qt loop) follows the set through a listener; loops without one
// (the command, tests) wait in Serve.

#include <functional>
#include <map>

namespace platform {

class EventSources {
public:
    using Ready = std::function<void()>;
    using Listener = std::function<void(int fd, bool watched)>;

    // The one set of the process, shared by the host and the add-ins it loads.
    static EventSources& Instance();

    // Watches fd; Ready runs whenever it is readable. A descriptor watched again gets the new work.
    void Add(int fd, Ready ready);
    void Remove(int fd);
    bool Watches(int fd) const { return sources_.count(fd) != 0; }

    // Runs the work of fd, if it is still watched.
    void Dispatch(int fd);
    // Waits up to timeoutMs (-1: without limit) until a watched descriptor is readable and runs the
    // work of each readable one. False when the time ran out, a signal came or nothing is watched.
    bool Serve(int timeoutMs);

    // Hears of every descriptor added or removed from now on, after hearing of those watched
    // already; an empty listener stops that.
    void SetListener(Listener listener);
    // Whether a message loop follows the set. A program without one (the command) would leave
    // whoever writes to its descriptors waiting.
    bool HasLoop() const { return static_cast<bool>(listener_); }

private:
    EventSources() = default;

    std::map<int, Ready> sources_;
    Listener listener_;
};

}  // namespace platform
