#pragma once
// The process-wide application object: owner of top-level forms, the message queue that carries
// deferred work such as a form's release, the idle and deactivation events, the mouse cursor, and
// the desktop that stands for the person in front of the screen.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace tk {

class Desktop;
class Form;

// A message from the platform to one of the application's windows, as the message loop takes it.
struct Message {
    uintptr_t Window = 0;
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
};
using MessageEvent = std::function<void(Message& message, bool& handled)>;

class Application : public Component {
public:
    // The one instance. It is never destroyed, so forms made by a library that was unloaded are
    // never touched at exit; hosts release forms and run ProcessMessages before unloading one.
    static Application& Instance();

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // The window that the application's windows belong to.
    uintptr_t Handle() const { return handle_; }
    void SetHandle(uintptr_t handle) { handle_ = handle; }

    // The installed desktop; a silent headless one until a host installs its own.
    Desktop& GetDesktop();
    void SetDesktop(Desktop* desktop);

    // Queues work for the message loop.
    void Post(std::function<void()> message);
    // Runs queued messages, including those they queue, until the queue is empty.
    void ProcessMessages();
    bool HasMessages() const { return !queue_.empty(); }
    // The message loop ran dry: runs queued messages, then OnIdle.
    void Idle();
    // Another application became active: OnDeactivate.
    void Deactivate();
    // The message loop took a platform message: the application's message hook (OnMessage) sees it
    // first. Answers whether the hook handled it.
    bool DispatchMessage(Message& message);

    Cursor GetCursor() const { return cursor_; }
    void SetCursor(Cursor cursor);

    // Every form that exists, in creation order.
    const std::vector<Form*>& Forms() const { return forms_; }
    Form* FindForm(std::string_view name) const;

    // Shows a message box with the application's title as caption.
    int MessageBox(const std::string& text, int flags);
    void ShowMessage(const std::string& text);

    NotifyEvent OnIdle;
    NotifyEvent OnDeactivate;
    MessageEvent OnMessage;

private:
    friend class Form;
    Application();
    void AddForm(Form* form);
    void RemoveForm(Form* form);

    std::string title_;
    uintptr_t handle_ = 0;
    Desktop* desktop_ = nullptr;
    std::deque<std::function<void()>> queue_;
    Cursor cursor_ = Cursor::Default;
    std::vector<Form*> forms_;
};

// Shorthand for Application::Instance().ShowMessage.
void ShowMessage(const std::string& text);

}  // namespace tk
