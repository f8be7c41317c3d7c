#include "app/FormRenderer.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "app/ControlWidgets.h"
#include "app/FormWindow.h"
#include "app/KeyMap.h"
#include "app/MenuBinding.h"
#include "app/TextCodec.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"

namespace workbench {

FormRenderer::FormRenderer()
    : watch_(std::make_unique<tk::RemovalWatch>([this](tk::Component* removed) { Forget(removed); }))
{
}

FormRenderer::~FormRenderer()
{
    for (auto& [form, window] : windows_) {
        delete window.data();
    }
}

void FormRenderer::Deliver(const std::function<void()>& action)
{
    if (syncing_ > 0) {
        return;
    }
    action();
    Sync();
}

void FormRenderer::ScheduleSync()
{
    if (syncScheduled_) {
        return;
    }
    syncScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        syncScheduled_ = false;
        Sync();
    });
}

void FormRenderer::Sync()
{
    if (syncing_ > 0) {
        return;
    }
    ++syncing_;
    std::vector<tk::Form*> forms = tk::Application::Instance().Forms();
    for (tk::Form* form : forms) {
        SyncForm(*form);
    }
    std::vector<const tk::Component*> raise;
    raise.swap(raiseRequests_);
    for (const tk::Component* form : raise) {
        if (FormWindow* window = WindowOf(static_cast<const tk::Form*>(form)); window && window->isVisible()) {
            window->raise();
            window->activateWindow();
        }
    }
    --syncing_;
    CheckModalRuns();
}

FormWindow* FormRenderer::EnsureWindow(tk::Form& form)
{
    QPointer<FormWindow>& window = windows_[&form];
    if (!window) {
        window = new FormWindow(*this, form, owner_);
        form.FreeNotification(watch_.get());
    }
    return window;
}

void FormRenderer::SyncForm(tk::Form& form)
{
    auto known = windows_.find(&form);
    if (!form.Visible()) {
        if (known != windows_.end() && known->second && known->second->isVisible()) {
            known->second->hide();
        }
        return;
    }
    FormWindow* window = EnsureWindow(form);
    window->SyncFromForm();
    SyncChildren(form, window->Client());
    if (!window->isVisible()) {
        window->show();
    }
    Entry* active = nullptr;
    if (auto entry = entries_.find(form.ActiveControl()); entry != entries_.end()) {
        active = &entry->second;
    }
    // A widget whose child has the focus (an in-place editor) keeps it.
    if (active && active->Widget && window->isActiveWindow() && !active->Widget->hasFocus() &&
        !active->Widget->isAncestorOf(QApplication::focusWidget())) {
        active->Widget->setFocus(Qt::OtherFocusReason);
    }
}

void FormRenderer::SyncChildren(tk::Control& parent, QWidget* container)
{
    QWidgetList desired;
    for (tk::Control* child : parent.Controls()) {
        SyncControl(*child, container);
        desired.append(entries_[child].Widget);
    }
    QWidgetList actual;
    for (QObject* object : container->children()) {
        if (auto* widget = qobject_cast<QWidget*>(object); widget && desired.contains(widget)) {
            actual.append(widget);
        }
    }
    if (actual != desired) {
        for (QWidget* widget : desired) {
            widget->raise();
        }
    }
}

void FormRenderer::SyncControl(tk::Control& control, QWidget* container)
{
    Entry& entry = entries_[&control];
    if (!entry.Widget) {
        auto [widget, view] = CreateControlView(*this, control, container);
        widget->setObjectName(FromCp932(control.Name()));
        widget->installEventFilter(this);
        if (view->ClickedByRenderer()) {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        entry = {widget, view};
        control.FreeNotification(watch_.get());
    }
    QWidget* widget = entry.Widget;
    if (widget->parentWidget() != container) {
        widget->setParent(container);
    }
    QRect bounds(control.Left(), control.Top(), control.Width(), control.Height());
    if (widget->geometry() != bounds) {
        widget->setGeometry(bounds);
    }
    if (widget->isEnabled() != control.Enabled()) {
        widget->setEnabled(control.Enabled());
    }
    const tk::Font& font = control.GetFont();
    QFont wanted = widget->parentWidget()->font();
    if (font.Height > 0) {
        wanted.setPixelSize(font.Height);
    }
    if (!font.Name.empty()) {
        wanted.setFamily(FromCp932(font.Name));
    }
    if (widget->font() != wanted) {
        widget->setFont(wanted);
    }
    entry.View->SyncFromControl();
    SyncChildren(control, widget);
    if (widget->isVisibleTo(container) != control.Visible()) {
        widget->setVisible(control.Visible());
    }
}

void FormRenderer::Forget(tk::Component* component)
{
    if (auto entry = entries_.find(component); entry != entries_.end()) {
        entry->second.View->Detach();
        if (QWidget* widget = entry->second.Widget) {
            widget->removeEventFilter(this);
            widget->hide();
            widget->deleteLater();
        }
        entries_.erase(entry);
    }
    if (auto window = windows_.find(component); window != windows_.end()) {
        if (FormWindow* shown = window->second) {
            shown->Detach();
            shown->hide();
            shown->deleteLater();
        }
        windows_.erase(window);
    }
    std::erase(raiseRequests_, component);
}

bool FormRenderer::IsLiveForm(const tk::Form* form) const
{
    const auto& forms = tk::Application::Instance().Forms();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

void FormRenderer::CheckModalRuns()
{
    for (const ModalRun& run : modalRuns_) {
        if (!IsLiveForm(run.Form) || run.Form->ModalResult() != tk::mrNone || !run.Form->Visible()) {
            run.Loop->exit();
        }
    }
}

int FormRenderer::RunModal(tk::Form& form)
{
    FormWindow* window = EnsureWindow(form);
    if (window->windowModality() != Qt::ApplicationModal) {
        window->hide();
        window->setWindowModality(Qt::ApplicationModal);
    }
    Sync();
    raiseRequests_.push_back(&form);
    Sync();
    QEventLoop loop;
    modalRuns_.push_back({&form, &loop});
    bool ended = !IsLiveForm(&form) || form.ModalResult() != tk::mrNone || !form.Visible();
    if (!ended) {
        loop.exec();
    }
    modalRuns_.pop_back();
    if (!IsLiveForm(&form)) {
        return tk::mrCancel;
    }
    if (FormWindow* shown = WindowOf(&form)) {
        shown->hide();
        shown->setWindowModality(Qt::NonModal);
    }
    return form.ModalResult() == tk::mrNone ? tk::mrCancel : form.ModalResult();
}

void FormRenderer::Popup(tk::PopupMenu& menu, tk::Point screen)
{
    QMenu shown;
    auto* binding = new MenuBinding(*this, &shown);
    binding->Sync(menu.Items());
    shown.exec(QPoint(screen.X, screen.Y));
    binding->Detach();
}

void FormRenderer::FormShown(tk::Form& form)
{
    (void)form;
    ScheduleSync();
}

void FormRenderer::FormHidden(tk::Form& form)
{
    (void)form;
    ScheduleSync();
}

void FormRenderer::FormDestroyed(tk::Form& form)
{
    Forget(&form);
}

void FormRenderer::BringToFront(tk::Form& form)
{
    raiseRequests_.push_back(&form);
    ScheduleSync();
}

void FormRenderer::DrawCaptionText(tk::Form& form, tk::Point at, const QString& text, bool active)
{
    if (FormWindow* window = WindowOf(&form)) {
        window->SetCaptionText(at, text, active);
    }
}

FormWindow* FormRenderer::WindowOf(const tk::Form* form) const
{
    auto window = windows_.find(form);
    return window == windows_.end() ? nullptr : window->second.data();
}

QWidget* FormRenderer::WidgetOf(const tk::Control* control) const
{
    auto entry = entries_.find(control);
    return entry == entries_.end() ? nullptr : entry->second.Widget.data();
}

tk::Control* FormRenderer::ControlOf(const QWidget* widget) const
{
    for (const auto& [component, entry] : entries_) {
        if (entry.Widget == widget) {
            return entry.View->Control();
        }
    }
    return nullptr;
}

FormWindow* FormRenderer::FindWindow(const std::string& formName) const
{
    for (const auto& [component, window] : windows_) {
        if (window && window->Form() && window->isVisible() && window->Form()->Name() == formName) {
            return window;
        }
    }
    return nullptr;
}

bool FormRenderer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn: case QEvent::Enter: case QEvent::Leave: case QEvent::KeyPress:
    case QEvent::ContextMenu: case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    tk::Control* control = widget ? ControlOf(widget) : nullptr;
    if (!control) {
        return QObject::eventFilter(watched, event);
    }
    return HandleWidgetEvent(control, widget, event);
}

bool FormRenderer::HandleWidgetEvent(tk::Control* control, QWidget* widget, QEvent* event)
{
    if (syncing_ > 0) {
        return false;
    }
    ControlView* view = nullptr;
    if (auto entry = entries_.find(control); entry != entries_.end()) {
        view = entry->second.View;
    }
    switch (event->type()) {
    case QEvent::FocusIn: {
        tk::Form* form = control->ParentForm();
        if (form && form != control && form->ActiveControl() != control) {
            Deliver([control] { control->SetFocus(); });
        }
        return false;
    }
    case QEvent::Enter:
        Deliver([control] { control->MouseEnter(); });
        return false;
    case QEvent::Leave:
        Deliver([control] { control->MouseLeave(); });
        return false;
    case QEvent::KeyPress:
        return KeyToToolkit(control, static_cast<QKeyEvent*>(event));
    // The toolkit shows a control's pop-up menu on the right button's release; kinds the renderer
    // clicks get that release below, the others get it here instead of Qt's own menu.
    case QEvent::ContextMenu: {
        if (view && view->ClickedByRenderer()) {
            return true;
        }
        if (!control->GetPopupMenu()) {
            return false;
        }
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QPoint at = menuEvent->pos();
        tk::ShiftState shift = ShiftStateOf(menuEvent->modifiers());
        Deliver([control, shift, at] { control->MouseUp(tk::MouseButton::Right, shift, at.x(), at.y()); });
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        if (!view || !view->ClickedByRenderer()) {
            return false;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        tk::MouseButton button = mouse->button() == Qt::RightButton ? tk::MouseButton::Right
                                 : mouse->button() == Qt::MiddleButton ? tk::MouseButton::Middle
                                                                       : tk::MouseButton::Left;
        tk::ShiftState shift = ShiftStateOf(mouse->modifiers());
        QPoint at = mouse->position().toPoint();
        if (event->type() == QEvent::MouseButtonPress) {
            Deliver([control, button, shift, at] { control->MouseDown(button, shift, at.x(), at.y()); });
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            Deliver([control] { control->DblClick(); });
        } else {
            bool click = button == tk::MouseButton::Left && widget->rect().contains(at);
            Deliver([control, button, shift, at, click] {
                control->MouseUp(button, shift, at.x(), at.y());
                if (click) {
                    control->Click();
                }
            });
        }
        return false;
    }
    default:
        return false;
    }
}

// A key goes to the toolkit form (menu shortcuts, the active control, Tab), then its character, as
// a key-down and a character message would; text widgets keep the keys they edit with.
bool FormRenderer::KeyToToolkit(tk::Control* control, QKeyEvent* event)
{
    tk::Form* form = control->ParentForm();
    if (!form) {
        return false;
    }
    uint16_t key = VirtualKey(event->key());
    tk::ShiftState shift = ShiftStateOf(event->modifiers());
    ControlView* view = nullptr;
    if (auto entry = entries_.find(control); entry != entries_.end()) {
        view = entry->second.View;
    }
    tk::ShortCut shortCut = ShortCutOf(*event);
    bool menuShortCut = shortCut != 0 && form->Menu() && form->Menu()->Items()->FindShortCut(shortCut);
    if (view && view->EditsText(*event) && !menuShortCut) {
        return false;
    }
    if (key != 0) {
        Deliver([form, key, shift] { form->DispatchKey(key, shift); });
    }
    QString text = event->text();
    bool character = !text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                     (text[0] >= ' ' || text[0] == '\r' || text[0] == '\x1b' || text[0] == '\b');
    if (character && !menuShortCut && IsLiveForm(form)) {
        for (char byte : ToCp932(text)) {
            Deliver([form, byte] { form->DispatchChar(byte); });
        }
    }
    return true;
}

}  // namespace workbench
