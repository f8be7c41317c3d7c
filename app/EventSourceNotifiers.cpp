#include "app/EventSourceNotifiers.h"

#include "platform/EventSources.h"

namespace workbench {

EventSourceNotifiers::EventSourceNotifiers()
{
    platform::EventSources::Instance().SetListener([this](int fd, bool watched) { Watch(fd, watched); });
}

EventSourceNotifiers::~EventSourceNotifiers()
{
    platform::EventSources::Instance().SetListener({});
}

void EventSourceNotifiers::Watch(int fd, bool watched)
{
    if (!watched) {
        auto found = notifiers_.find(fd);
        if (found != notifiers_.end()) {
            // The notifier may be the one whose signal is being handled.
            found->second.release()->deleteLater();
            notifiers_.erase(found);
        }
        return;
    }
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this,
            [fd] { platform::EventSources::Instance().Dispatch(fd); });
    notifiers_[fd] = std::move(notifier);
}

}  // namespace workbench
