#include "tasks/DragFile.h"

#include "platform/DropFiles.h"
#include "toolkit/Form.h"

namespace quorlin {

namespace {

// The longest file name a drop hands over, with its terminating zero.
constexpr size_t NameBufferSize = 512;

}  // namespace

// The hook as the chain holds it: it names its component, so that the chain can be walked.
struct TAcceptFile::Hook {
    TAcceptFile* Owner;
    void operator()(tk::Message& message, bool& handled) const { Owner->AppMessage(message, handled); }
};

TAcceptFile::TAcceptFile(tk::Component* owner) : tk::Component(owner)
{
    tk::Application& application = tk::Application::Instance();
    previousHook_ = application.OnMessage;
    application.OnMessage = Hook{this};
    if (auto* form = dynamic_cast<tk::Form*>(owner)) {
        window_ = form->Handle();
        platform::DragAcceptFiles(window_, true);
    }
}

TAcceptFile::~TAcceptFile()
{
    if (window_)
        platform::DragAcceptFiles(window_, false);
    // Putting back the hook noted at the start would be wrong when a window opened later is still
    // there (its hook would go) or one opened earlier is gone (its hook would come back dangling):
    // the hook that chains to this one chains to this one's previous hook instead.
    tk::MessageEvent* link = &tk::Application::Instance().OnMessage;
    while (const Hook* hook = link->target<Hook>()) {
        if (hook->Owner == this) {
            *link = std::move(previousHook_);
            return;
        }
        link = &hook->Owner->previousHook_;
    }
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
