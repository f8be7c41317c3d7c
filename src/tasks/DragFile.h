#pragma once
// Receives the files dropped onto its owner window from the desktop: it registers the window as a
// drop target and hooks the application's messages, chained in front of the hook it found. Going
// away, it takes itself out of the chain wherever it is, so windows may close in any order.

#include <functional>
#include <string>

#include "toolkit/Application.h"
#include "toolkit/Component.h"

namespace quorlin {

// Called once per dropped file with its full name; answering false leaves the drop's remaining
// files unhandled.
using TOnDropFile = std::function<bool(const std::string& fileName)>;

class TAcceptFile : public tk::Component {
public:
    // The owner is the window that files are dropped onto.
    explicit TAcceptFile(tk::Component* owner);
    ~TAcceptFile() override;

    TOnDropFile OnDropFile;

private:
    struct Hook;
    void AppMessage(tk::Message& message, bool& handled);

    tk::MessageEvent previousHook_;
    uintptr_t window_ = 0;
};

}  // namespace quorlin
