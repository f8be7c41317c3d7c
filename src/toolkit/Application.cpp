#include "toolkit/Application.h"

#include <algorithm>

#include "platform/Cp932.h"
#include "toolkit/Desktop.h"
#include "toolkit/Form.h"

namespace tk {

namespace {

// The desktop of a process without a screen: every question gets the cautious answer.
class HeadlessDesktop : public Desktop {
public:
    int MessageBox(const std::string&, const std::string&, int) override { return IDOK; }
    int RunModal(Form&) override { return mrCancel; }
    bool ExecuteDialog(FileDialog&) override { return false; }
    void Popup(PopupMenu&, Point) override {}
    Rect ScreenRect() override { return {0, 0, 1280, 1024}; }
    Rect WorkArea() override { return {0, 0, 1280, 1024}; }
    void Beep(int) override {}
};

}  // namespace

Application::Application() : Component(nullptr) {}

Application& Application::Instance()
{
    static Application* instance = new Application();
    return *instance;
}

Desktop& Application::GetDesktop()
{
    static HeadlessDesktop headless;
    return desktop_ ? *desktop_ : headless;
}

void Application::SetDesktop(Desktop* desktop)
{
    desktop_ = desktop;
}

void Application::Post(std::function<void()> message)
{
    queue_.push_back(std::move(message));
}

void Application::ProcessMessages()
{
    while (!queue_.empty()) {
        std::function<void()> message = std::move(queue_.front());
        queue_.pop_front();
        message();
    }
}

void Application::Idle()
{
    ProcessMessages();
    if (OnIdle) {
        OnIdle(this);
    }
}

void Application::Deactivate()
{
    if (OnDeactivate) {
        OnDeactivate(this);
    }
}

bool Application::DispatchMessage(Message& message)
{
    bool handled = false;
    if (OnMessage) {
        // A copy, so a hook that replaces itself while running stays alive to the end.
        MessageEvent hook = OnMessage;
        hook(message, handled);
    }
    return handled;
}

void Application::SetCursor(Cursor cursor)
{
    if (cursor == cursor_) {
        return;
    }
    cursor_ = cursor;
    GetDesktop().CursorChanged(cursor);
}

Form* Application::FindForm(std::string_view name) const
{
    for (Form* form : forms_) {
        if (platform::SameText(form->Name(), name)) {
            return form;
        }
    }
    return nullptr;
}

int Application::MessageBox(const std::string& text, int flags)
{
    return GetDesktop().MessageBox(text, title_, flags);
}

void Application::ShowMessage(const std::string& text)
{
    MessageBox(text, MB_OK);
}

void Application::AddForm(Form* form)
{
    forms_.push_back(form);
}

void Application::RemoveForm(Form* form)
{
    std::erase(forms_, form);
}

void ShowMessage(const std::string& text)
{
    Application::Instance().ShowMessage(text);
}

}  // namespace tk
