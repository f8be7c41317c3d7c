#pragma once
// A large unit loaded into the reference host, with the add-in's globals pointing at that host and
// a tool window, as they are while a person works: the scene of the scanner benchmarks.

#include <cstddef>
#include <string>

#include "hostapi/HostRef.h"
#include "hostapi/ToolIntf.h"

namespace bench {

// A temporary folder for the benchmark's files, removed at exit.
const std::string& ScratchFolder();

class BigUnit {
public:
    // The scene, made on first use: a unit of at least 10 MB with its interface declaring every
    // routine that its implementation defines, in the sample's style (CR LF, Japanese comments);
    // with lf the same unit with LF line breaks, as most files on this system have them, in the
    // same host.
    static BigUnit& Instance(bool lf = false);

    hostapi::TIEditorInterface* Editor() const { return editor_.Get(); }
    // A fresh reader; the caller releases it.
    hostapi::TIEditReader* NewReader() const { return editor_->CreateReader(); }
    size_t Bytes() const { return bytes_; }
    // Bytes in front of the implementation line, the part FindImplementationLine reads.
    size_t InterfaceBytes() const { return interfaceBytes_; }
    int RoutineCount() const { return routineCount_; }

private:
    explicit BigUnit(bool lf);

    size_t bytes_ = 0;
    size_t interfaceBytes_ = 0;
    int routineCount_ = 0;
    hostapi::HostRef<hostapi::TIModuleInterface> module_;
    hostapi::HostRef<hostapi::TIEditorInterface> editor_;
};

}  // namespace bench
