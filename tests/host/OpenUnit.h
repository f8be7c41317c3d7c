#pragma once
// A unit file in a temporary folder, opened in the reference host, with its editor and a reader.

#include <fstream>
#include <string>

#include "../platform/TempFolder.h"
#include "hostapi/HostRef.h"
#include "host/Globals.h"
#include "refhost/RefHost.h"

class OpenUnit {
public:
    explicit OpenUnit(const std::string& text)
    {
        fileName_ = folder_.Path() + "/Unit1.pas";
        std::ofstream(fileName_, std::ios::binary) << text;
        host_.OpenFile(fileName_);
        services_.Reset(host_.CreateToolServices());
        module_.Reset(services_->GetModuleInterface(refhost::Host::NormalizeFileName(fileName_)));
        editor_.Reset(module_ ? module_->GetEditorInterface() : nullptr);
        reader_.Reset(editor_ ? editor_->CreateReader() : nullptr);
    }

    hostapi::TIEditorInterface* Editor() const { return editor_.Get(); }
    hostapi::TIEditReader* Reader() const { return reader_.Get(); }

private:
    TempFolder folder_;
    std::string fileName_;
    refhost::Host host_;
    hostapi::HostRef<hostapi::TIToolServices> services_;
    hostapi::HostRef<hostapi::TIModuleInterface> module_;
    hostapi::HostRef<hostapi::TIEditorInterface> editor_;
    hostapi::HostRef<hostapi::TIEditReader> reader_;
};

// The editor operations work only while the tool window exists. The window class belongs to a
// later layer, so these tests stand a non-null marker in for it and forget it afterwards.
class ToolWindowPresent {
public:
    ToolWindowPresent() { quorlin::CodeForm = reinterpret_cast<quorlin::TCodeForm*>(&marker_); }
    ~ToolWindowPresent() { quorlin::CodeForm = nullptr; }

private:
    int marker_ = 0;
};
