#pragma once
// Shows toolkit forms with Qt: one window per form and one widget kind per toolkit control, placed
// by the toolkit's computed bounds. Input goes to the toolkit; after every event the toolkit's state
// is shown again, so the add-in's windows need no Qt code of their own.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

class QEventLoop;
class QKeyEvent;

namespace tk {
class Control;
class Form;
class MenuItem;
class PopupMenu;
}  // namespace tk

namespace workbench {

class ControlView;
class FormWindow;

class FormRenderer : public QObject {
    Q_OBJECT
public:
    FormRenderer();
    ~FormRenderer() override;

    // The host's main window, which form windows belong to (they stay above it and go with it).
    void SetOwnerWindow(QWidget* owner) { owner_ = owner; }

    // Runs a person's action on the toolkit, then shows the new state. Actions arriving while the
    // renderer updates widgets are echoes of that update and are dropped.
    void Deliver(const std::function<void()>& action);
    // Brings every window and widget up to date with the toolkit.
    void Sync();
    bool Syncing() const { return syncing_ > 0; }

    // Runs a form modally: its window is shown and events are processed until the form has a modal
    // result or is hidden or destroyed.
    int RunModal(tk::Form& form);
    // Shows a pop-up menu at a screen point; a chosen item is clicked before this returns.
    void Popup(tk::PopupMenu& menu, tk::Point screen);

    void FormShown(tk::Form& form);
    void FormHidden(tk::Form& form);
    void FormDestroyed(tk::Form& form);
    void BringToFront(tk::Form& form);
    void DrawCaptionText(tk::Form& form, tk::Point at, const QString& text, bool active);

    FormWindow* WindowOf(const tk::Form* form) const;
    QWidget* WidgetOf(const tk::Control* control) const;
    tk::Control* ControlOf(const QWidget* widget) const;
    // The shown window of the visible form with the given name, or nullptr.
    FormWindow* FindWindow(const std::string& formName) const;

    // Key and mouse input of a control's widget, handled the same for every kind.
    bool HandleWidgetEvent(tk::Control* control, QWidget* widget, QEvent* event);

private:
    struct Entry {
        QPointer<QWidget> Widget;
        ControlView* View = nullptr;
    };
    struct ModalRun {
        tk::Form* Form;
        QEventLoop* Loop;
    };

    FormWindow* EnsureWindow(tk::Form& form);
    void SyncForm(tk::Form& form);
    void SyncChildren(tk::Control& parent, QWidget* container);
    void SyncControl(tk::Control& control, QWidget* container);
    void Forget(tk::Component* component);
    void CheckModalRuns();
    bool IsLiveForm(const tk::Form* form) const;
    bool KeyToToolkit(tk::Control* control, QKeyEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ScheduleSync();

    std::unique_ptr<tk::RemovalWatch> watch_;  // hears of every shown component destroyed
    std::map<const tk::Component*, Entry> entries_;
    std::map<const tk::Component*, QPointer<FormWindow>> windows_;
    std::vector<const tk::Component*> raiseRequests_;
    std::vector<ModalRun> modalRuns_;
    QPointer<QWidget> owner_;
    int syncing_ = 0;
    bool syncScheduled_ = false;
};

}  // namespace workbench
