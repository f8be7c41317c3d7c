#include "tasks/DragFile.h"

#include "platform/DropFiles.h"
#include "toolkit/Form.h"

namespace quorlin {

namespace {

// The longest file name a drop hands over, with its terminating zero.
constexpr size_t NameBufferSize = 512;

}  // namespace

TAcceptFile::TAcceptFile(tk::Component* owner) : tk::Component(owner)
{
    tk::Application& application = tk::Application::Instance();
    previousHook_ = application.OnMessage;
    application.OnMessage = [this](tk::Message& message, bool& handled) { AppMessage(message, handled); };
    if (auto* form = dynamic_cast<tk::Form*>(owner)) {
        window_ = form->Handle();
        platform::DragAcceptFiles(window_, true);
    }
}

TAcceptFile::~TAcceptFile()
{
    if (window_)
        platform::DragAcceptFiles(window_, false);
    tk::Application::Instance().OnMessage = previousHook_;
}

void TAcceptFile::AppMessage(tk::Message& message, bool& handled)
{
    if (message.Msg == platform::WM_DROPFILES) {
        auto drop = static_cast<platform::HDROP>(message.WParam);
        unsigned count = platform::DragQueryFileCount(drop);
        for (unsigned i = 0; i < count; ++i) {
            std::string name = platform::DragQueryFile(drop, i, NameBufferSize);
            if (OnDropFile && !OnDropFile(name))
                break;
        }
        platform::DragFinish(drop);
    }
    if (previousHook_)
        previousHook_(message, handled);
}

}  // namespace quorlin
