#pragma once
// A copy of the sample project in a temporary folder that is also the host folder, a reference host
// over it, a scripted desktop, and the add-in's globals pointed at them. The tool window is made on
// request and destroyed with the fixture.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "controls/ComboBoxEx.h"
#include "host/Globals.h"
#include "hostapi/HostRef.h"
#include "platform/HostFolder.h"
#include "refhost/RefHost.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "toolkit/ScriptedDesktop.h"

class ToolWindowFixture : public testing::Test {
protected:
    void SetUp() override
    {
        tk::Application::Instance().SetDesktop(&desktop);
        platform::SetHostFolder(folder.Path() + "/");
        std::filesystem::copy(std::string(QUORLIN_SOURCE_DIR) + "/examples/Sample", folder.Path() + "/Sample",
                              std::filesystem::copy_options::recursive);
        quorlin::ResetGlobalsForTesting();
        services.Reset(host.CreateToolServices());
        quorlin::ToolServices = services.Get();
    }

    void TearDown() override
    {
        delete quorlin::CodeForm;
        tk::Application::Instance().ProcessMessages();
        quorlin::ResetGlobalsForTesting();
        tk::Application::Instance().SetDesktop(nullptr);
    }

    quorlin::TCodeForm& CreateForm()
    {
        quorlin::CodeForm = new quorlin::TCodeForm(&tk::Application::Instance());
        return *quorlin::CodeForm;
    }

    // The tool window with the sample project open and its unit list made.
    quorlin::TCodeForm& FormWithSample()
    {
        EXPECT_TRUE(host.OpenProject(Sample("Sample.dpr")));
        quorlin::TCodeForm& form = CreateForm();
        form.MakeUnitList();
        return form;
    }

    std::string Sample(const std::string& name) const
    {
        return refhost::Host::NormalizeFileName(folder.Path() + "/Sample/" + name);
    }

    // A file of the temporary folder with the given bytes; answers its full name.
    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::string fileName = refhost::Host::NormalizeFileName(folder.Path() + "/" + name);
        std::ofstream(fileName, std::ios::binary) << bytes;
        return fileName;
    }

    static std::string ReadFile(const std::string& fileName)
    {
        std::ifstream file(fileName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    static std::vector<std::string> Entries(const quorlin::TComboBoxEx& combo) { return combo.Items().Items(); }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : desktop.Messages())
            texts.push_back(message.Text);
        return texts;
    }

    TempFolder folder;
    tk::ScriptedDesktop desktop;
    refhost::Host host;
    hostapi::HostRef<hostapi::TIToolServices> services;
};
