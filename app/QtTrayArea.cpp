#include "app/QtTrayArea.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include "app/TextCodec.h"

namespace workbench {

namespace {

QIcon IconFor(intptr_t icon)
{
    (void)icon;  // the add-in shows only the program's own icon
    if (!QApplication::windowIcon().isNull())
        return QApplication::windowIcon();
    QPixmap picture(32, 32);
    picture.fill(QColor(0x1f, 0x4e, 0x8c));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(24);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, "Q");
    return QIcon(picture);
}

}  // namespace

QtTrayArea::QtTrayArea(bool available, std::function<void(const QString&)> warn)
    : available_(available), warn_(std::move(warn))
{
}

QtTrayArea::~QtTrayArea()
{
    for (auto& entry : shown_)
        delete entry.second.Icon;
}

bool QtTrayArea::Notify(platform::TrayRequest request, const platform::NotifyIconData& data)
{
    Key key(data.Window, data.Id);
    auto found = shown_.find(key);
    switch (request) {
    case platform::TrayRequest::Add: {
        if (!available_) {
            if (!warned_ && warn_)
                warn_(tr("The desktop has no notification area: Quorlin's tray icon is not shown."));
            warned_ = true;
            return false;
        }
        if (found != shown_.end())
            return false;
        auto* icon = new QSystemTrayIcon(IconFor(data.Icon));
        icon->setToolTip(FromCp932(data.Tip));
        connect(icon, &QSystemTrayIcon::activated, this,
                [this, key](QSystemTrayIcon::ActivationReason reason) { Activated(key, reason); });
        shown_[key] = Shown{data, icon};
        icon->show();
        return true;
    }
    case platform::TrayRequest::Modify:
        if (found == shown_.end())
            return false;
        if (data.Flags & platform::NIF_TIP)
            found->second.Icon->setToolTip(FromCp932(data.Tip));
        if (data.Flags & platform::NIF_ICON)
            found->second.Icon->setIcon(IconFor(data.Icon));
        if (data.Flags & platform::NIF_MESSAGE)
            found->second.Data.CallbackMessage = data.CallbackMessage;
        return true;
    case platform::TrayRequest::Delete:
        if (found == shown_.end())
            return false;
        delete found->second.Icon;
        shown_.erase(found);
        return true;
    }
    return false;
}

std::vector<QSystemTrayIcon*> QtTrayArea::Icons() const
{
    std::vector<QSystemTrayIcon*> icons;
    for (const auto& entry : shown_)
        icons.push_back(entry.second.Icon);
    return icons;
}

void QtTrayArea::Activated(const Key& key, QSystemTrayIcon::ActivationReason reason)
{
    auto found = shown_.find(key);
    if (found == shown_.end())
        return;
    uint32_t action = 0;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        action = platform::WM_LBUTTONDOWN;
        break;
    case QSystemTrayIcon::Context:
        action = platform::WM_RBUTTONDOWN;
        break;
    case QSystemTrayIcon::DoubleClick:
        action = platform::WM_LBUTTONDBLCLK;
        break;
    default:
        return;
    }
    const platform::NotifyIconData& data = found->second.Data;
    data.Window->TrayMessage(data.CallbackMessage, data.Id, action);
}

}  // namespace workbench
