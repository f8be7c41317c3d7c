#pragma once
// Lets Qt's event loop watch the descriptors of the process's event sources (the endpoints through
// which other programs' messages arrive), so that they are served while the workbench waits.

#include <QObject>
#include <QSocketNotifier>
#include <map>
#include <memory>

namespace workbench {

class EventSourceNotifiers : public QObject {
    Q_OBJECT
public:
    EventSourceNotifiers();
    ~EventSourceNotifiers() override;

private:
    void Watch(int fd, bool watched);

    std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
};

}  // namespace workbench
