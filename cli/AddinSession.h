#pragma once
// The add-in loaded into a reference host the way an IDE loads it: dlopen, the entry point with the
// host's tool services, and at the end the terminate procedure, the expert's release and dlclose.

#include <memory>
#include <string>

#include "hostapi/ToolIntf.h"
#include "refhost/RefHost.h"
#include "toolkit/Form.h"

namespace cli {

// The component of that name owned by owner or by one of its components, at any depth: menu items
// are owned by their window or by their menu.
tk::Component* FindOwned(const tk::Component& owner, const std::string& name);

class AddinSession {
public:
    AddinSession();
    ~AddinSession();
    AddinSession(const AddinSession&) = delete;
    AddinSession& operator=(const AddinSession&) = delete;

    // False with the reason in error when the library, its entry point or its start fail.
    bool Load(const std::string& libraryPath, std::string& error);
    // Runs the host's command "Quorlin" (its Ctrl+F11 shortcut when the item cannot be found by
    // name) and answers the tool window; nullptr when none appeared.
    tk::Form* OpenToolWindow();

    refhost::Host& Host() { return *host_; }

private:
    void Unload();

    std::unique_ptr<refhost::Host> host_;
    hostapi::TIToolServices* toolServices_ = nullptr;
    void* library_ = nullptr;
    hostapi::TExpertTerminateProc terminate_ = nullptr;
};

}  // namespace cli
