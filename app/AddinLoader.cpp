#include "app/AddinLoader.h"

#include <dlfcn.h>

#include "toolkit/Application.h"

namespace workbench {

namespace {

// The registration procedure has no context argument; the loader running an entry point is here.
AddinLoader* registering = nullptr;
hostapi::TIExpert* registeredExpert = nullptr;

}  // namespace

AddinLoader::~AddinLoader()
{
    Unload();
}

bool AddinLoader::RegisterExpert(hostapi::TIExpert* expert)
{
    if (!registering || !expert) {
        return false;
    }
    registeredExpert = expert;
    return true;
}

bool AddinLoader::Load(const std::string& libraryPath, hostapi::TIToolServices* toolServices)
{
    Unload();
    error_.clear();
    library_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
        const char* reason = dlerror();
        error_ = reason ? reason : "cannot load " + libraryPath;
        return false;
    }
    auto init = reinterpret_cast<hostapi::TExpertInitProc>(dlsym(library_, hostapi::ExpertEntryPoint));
    if (!init) {
        error_ = libraryPath + " does not export " + hostapi::ExpertEntryPoint;
        dlclose(library_);
        library_ = nullptr;
        return false;
    }
    registering = this;
    registeredExpert = nullptr;
    hostapi::TExpertTerminateProc terminate = nullptr;
    bool ok = init(toolServices, &AddinLoader::RegisterExpert, &terminate);
    registering = nullptr;
    expert_ = registeredExpert;
    terminate_ = terminate;
    if (!ok) {
        error_ = std::string(hostapi::ExpertEntryPoint) + " refused to initialise";
        Unload();
        return false;
    }
    return true;
}

void AddinLoader::Unload()
{
    if (!library_) {
        return;
    }
    tk::Application& application = tk::Application::Instance();
    if (terminate_) {
        terminate_();
        terminate_ = nullptr;
    }
    application.ProcessMessages();
    if (expert_) {
        expert_->Release();
        expert_ = nullptr;
    }
    // Windows the add-in released are destroyed here, while their code is still mapped.
    application.ProcessMessages();
    dlclose(library_);
    library_ = nullptr;
}

}  // namespace workbench
