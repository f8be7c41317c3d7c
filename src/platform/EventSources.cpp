#include "platform/EventSources.h"

#include <poll.h>

#include <vector>

namespace platform {

EventSources& EventSources::Instance()
{
    static EventSources instance;
    return instance;
}

void EventSources::Add(int fd, Ready ready)
{
    bool added = sources_.count(fd) == 0;
    sources_[fd] = std::move(ready);
    if (added && listener_)
        listener_(fd, true);
}

void EventSources::Remove(int fd)
{
    if (sources_.erase(fd) != 0 && listener_)
        listener_(fd, false);
}

void EventSources::Dispatch(int fd)
{
    auto found = sources_.find(fd);
    if (found == sources_.end())
        return;
    // A copy: the work may remove its own descriptor.
    Ready ready = found->second;
    ready();
}

bool EventSources::Serve(int timeoutMs)
{
    std::vector<pollfd> fds;
    for (const auto& source : sources_)
        fds.push_back({source.first, POLLIN, 0});
    if (fds.empty())
        return false;
    // A signal ends the wait too, so that a loop can look at what the signal set.
    int count = ::poll(fds.data(), fds.size(), timeoutMs);
    if (count <= 0)
        return false;
    for (const pollfd& fd : fds) {
        if (fd.revents != 0)
            Dispatch(fd.fd);
    }
    return true;
}

void EventSources::SetListener(Listener listener)
{
    listener_ = std::move(listener);
    if (listener_) {
        for (const auto& source : sources_)
            listener_(source.first, true);
    }
}

}  // namespace platform
