#pragma once
// The desktop's notification area for the add-in's icons: each icon a QSystemTrayIcon whose
// clicks reach the icon's window as the mouse actions a notification carries. Where the desktop
// has no notification area, the first icon's request is refused with one warning.

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <map>
#include <utility>

#include "platform/TrayArea.h"

namespace workbench {

class QtTrayArea : public QObject, public platform::TrayArea {
    Q_OBJECT
public:
    // available: whether the desktop has a notification area; warn hears the refusal, once.
    QtTrayArea(bool available, std::function<void(const QString&)> warn);
    ~QtTrayArea() override;

    bool Notify(platform::TrayRequest request, const platform::NotifyIconData& data) override;
    // The icons shown, for tests.
    std::vector<QSystemTrayIcon*> Icons() const;

private:
    struct Shown {
        platform::NotifyIconData Data;
        QSystemTrayIcon* Icon = nullptr;
    };
    using Key = std::pair<platform::TrayWindow*, uint32_t>;

    void Activated(const Key& key, QSystemTrayIcon::ActivationReason reason);

    bool available_;
    std::function<void(const QString&)> warn_;
    bool warned_ = false;
    std::map<Key, Shown> shown_;
};

}  // namespace workbench
