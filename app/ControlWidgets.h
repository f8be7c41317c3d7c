#pragma once
// The Qt widgets that show toolkit controls: what the renderer needs of each, and the widget made
// for a control. Each control kind's widget has a file of its own (GridView.h, TreeViewView.h...);
// it shows its control's state when asked and hands a person's input to the control through the
// renderer.

#include <QWidget>
#include <string>
#include <vector>

#include "toolkit/Types.h"

class QKeyEvent;

namespace tk {
class Control;
}

namespace workbench {

class FormRenderer;

// What the renderer needs of every control's widget.
class ControlView {
public:
    ControlView(FormRenderer& renderer, tk::Control* control) : renderer_(renderer), control_(control) {}
    virtual ~ControlView() = default;

    tk::Control* Control() const { return control_; }
    // The control is gone; the widget is about to be deleted and must not touch it any more.
    void Detach() { control_ = nullptr; }
    // Shows the control's kind-specific state (text, items, check marks, selection...).
    virtual void SyncFromControl() = 0;
    // True when the widget edits text itself and so keeps this key from the toolkit.
    virtual bool EditsText(const QKeyEvent& event) const { (void)event; return false; }
    // True for kinds whose plain mouse clicks the renderer turns into Click and DblClick.
    virtual bool ClickedByRenderer() const { return false; }

protected:
    FormRenderer& renderer_;
    tk::Control* control_;
};

// A new widget for the control's kind, with parent as its parent widget.
std::pair<QWidget*, ControlView*> CreateControlView(FormRenderer& renderer, tk::Control& control,
                                                   QWidget* parent);
QColor ToQColor(tk::Color color, const QPalette& palette);

}  // namespace workbench
