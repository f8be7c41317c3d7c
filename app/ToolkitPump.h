#pragma once
// Drives the toolkit from Qt's event loop: when the loop is about to wait, queued toolkit messages
// and the idle event run and the renderer shows the result; when the application loses the focus
// to another one, the toolkit hears of the deactivation.

#include <QObject>

namespace workbench {

class FormRenderer;

class ToolkitPump : public QObject {
    Q_OBJECT
public:
    explicit ToolkitPump(FormRenderer& renderer);

    // Idle work and a renderer update; does nothing when called again from inside itself.
    void Pump();

private:
    FormRenderer& renderer_;
    bool pumping_ = false;
};

}  // namespace workbench
