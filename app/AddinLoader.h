#pragma once
// Loads an add-in's shared library the way the IDE does: INITEXPERT0017 with the host's tool
// services, a registration procedure and the terminate procedure it hands back; unloading calls
// the terminate procedure and releases the registered expert.

#include <string>

#include "hostapi/ToolIntf.h"

namespace workbench {

class AddinLoader {
public:
    AddinLoader() = default;
    ~AddinLoader();
    AddinLoader(const AddinLoader&) = delete;
    AddinLoader& operator=(const AddinLoader&) = delete;

    // Loads the library and runs its entry point; false with Error() set when that fails.
    bool Load(const std::string& libraryPath, hostapi::TIToolServices* toolServices);
    // Terminate procedure, release of the expert, queued toolkit messages, then the library goes.
    void Unload();

    bool Loaded() const { return library_ != nullptr; }
    const std::string& Error() const { return error_; }

private:
    static bool RegisterExpert(hostapi::TIExpert* expert);

    void* library_ = nullptr;
    hostapi::TIExpert* expert_ = nullptr;
    hostapi::TExpertTerminateProc terminate_ = nullptr;
    std::string error_;
};

}  // namespace workbench
