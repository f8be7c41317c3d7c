#include "AddinSession.h"

#include <dlfcn.h>

#include "toolkit/Application.h"

namespace cli {

namespace {

constexpr hostapi::TShortCut quorlinShortCut = hostapi::scCtrl | 0x7A;  // Ctrl+F11

// The registration procedure is a plain function, so the registered expert lives here. One add-in
// is loaded per process.
hostapi::TIExpert* registeredExpert = nullptr;

bool RegisterExpert(hostapi::TIExpert* expert)
{
    if (registeredExpert || !expert)
        return false;
    registeredExpert = expert;
    return true;
}

}  // namespace

tk::Component* FindOwned(const tk::Component& owner, const std::string& name)
{
    if (tk::Component* found = owner.FindComponent(name))
        return found;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        if (tk::Component* found = FindOwned(*owner.Components(i), name))
            return found;
    }
    return nullptr;
}

AddinSession::AddinSession() : host_(std::make_unique<refhost::Host>())
{
    toolServices_ = host_->CreateToolServices();
}

AddinSession::~AddinSession()
{
    Unload();
}

bool AddinSession::Load(const std::string& libraryPath, std::string& error)
{
    library_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
        const char* reason = dlerror();
        error = "cannot load the add-in: " + std::string(reason ? reason : libraryPath);
        return false;
    }
    auto init = reinterpret_cast<hostapi::TExpertInitProc>(dlsym(library_, hostapi::ExpertEntryPoint));
    if (!init) {
        error = libraryPath + " has no entry point " + hostapi::ExpertEntryPoint;
        return false;
    }
    if (!init(toolServices_, RegisterExpert, &terminate_)) {
        error = "the add-in refused to start";
        return false;
    }
    if (!host_->Exceptions().empty()) {
        error = "the add-in failed to start: " + host_->Exceptions().front();
        return false;
    }
    return true;
}

tk::Form* AddinSession::OpenToolWindow()
{
    if (!host_->ClickMenuItem("EditQuorlinItem"))
        host_->PressShortCut(quorlinShortCut);
    tk::Application::Instance().ProcessMessages();
    return tk::Application::Instance().FindForm("CodeForm");
}

// The order a host unloads an add-in in: terminate, release the expert, let the deferred releases
// run, and unload the code only when nothing of it is left (the host's objects hold the add-in's
// menu handlers, so the host goes before the library).
void AddinSession::Unload()
{
    if (terminate_) {
        terminate_();
        terminate_ = nullptr;
    }
    if (registeredExpert) {
        registeredExpert->Release();
        registeredExpert = nullptr;
    }
    tk::Application::Instance().ProcessMessages();
    if (toolServices_) {
        toolServices_->Release();
        toolServices_ = nullptr;
    }
    host_.reset();
    if (library_) {
        dlclose(library_);
        library_ = nullptr;
    }
}

}  // namespace cli
