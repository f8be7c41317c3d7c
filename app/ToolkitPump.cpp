#include "app/ToolkitPump.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>

#include "app/FormRenderer.h"
#include "toolkit/Application.h"

namespace workbench {

ToolkitPump::ToolkitPump(FormRenderer& renderer) : renderer_(renderer)
{
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, &ToolkitPump::Pump);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationInactive) {
            tk::Application::Instance().Deactivate();
            renderer_.Sync();
        }
    });
}

void ToolkitPump::Pump()
{
    if (pumping_) {
        return;
    }
    pumping_ = true;
    tk::Application::Instance().Idle();
    renderer_.Sync();
    pumping_ = false;
}

}  // namespace workbench
