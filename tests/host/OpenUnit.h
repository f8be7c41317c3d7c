#pragma once
// A unit file in a temporary folder, opened in the reference host, with its editor and a reader.

#include <fstream>
#include <string>

#include "support/TempFolder.h"
#include "hostapi/HostRef.h"
#include "host/Globals.h"
#include "platform/HostFolder.h"
#include "refhost/RefHost.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "toolkit/ScriptedDesktop.h"

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

// The editor operations work only while the tool window exists: a real one, with its settings in
// a folder of its own.
class ToolWindowPresent {
public:
    ToolWindowPresent()
    {
        tk::Application::Instance().SetDesktop(&desktop_);
        platform::SetHostFolder(folder_.Path() + "/");
        quorlin::CodeForm = new quorlin::TCodeForm(&tk::Application::Instance());
    }
    ~ToolWindowPresent()
    {
        delete quorlin::CodeForm;
        quorlin::CodeForm = nullptr;
        tk::Application::Instance().ProcessMessages();
        platform::SetHostFolder("");
        tk::Application::Instance().SetDesktop(nullptr);
    }

private:
    TempFolder folder_;
    tk::ScriptedDesktop desktop_;
};
