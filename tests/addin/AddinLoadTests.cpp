// The add-in as a host sees it: the shared library loaded by name, started through its entry point,
// driven through the host's menu, and unloaded again.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/HostSide.h"
#include "support/TempFolder.h"
#include "hostapi/HostRef.h"
#include "hostapi/ToolIntf.h"
#include "platform/HostFolder.h"
#include "refhost/Recorder.h"
#include "refhost/RefHost.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/ScriptedDesktop.h"
#include "toolkit/StdCtrls.h"

namespace {

using Lines = std::vector<std::string>;

class Library {
public:
    explicit Library(const std::string& fileName) : handle_(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~Library()
    {
        if (handle_)
            dlclose(handle_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    void* Handle() const { return handle_; }
    template <class F>
    F Symbol(const char* name) const { return reinterpret_cast<F>(dlsym(handle_, name)); }

private:
    void* handle_;
};

TEST(AddinLibrary, LoadOpenJumpAndUnload)
{
    TempFolder folder;
    std::filesystem::copy(std::string(QUORLIN_SOURCE_DIR) + "/examples/Sample", folder.Path() + "/Sample",
                          std::filesystem::copy_options::recursive);
    platform::SetHostFolder(folder.Path() + "/");
    tk::ScriptedDesktop desktop;
    tk::Application::Instance().SetDesktop(&desktop);
    auto sample = [&](const std::string& name) {
        return refhost::Host::NormalizeFileName(folder.Path() + "/Sample/" + name);
    };

    refhost::Host host;
    refhost::Recorder recorder;
    hostapi::HostRef<hostapi::TIToolServices> services(recorder.Wrap(host.CreateToolServices()));
    {
        Library library(std::string(QUORLIN_BINARY_DIR) + "/bin/libquorlin.so");
        ASSERT_NE(library.Handle(), nullptr) << dlerror();
        auto init = library.Symbol<hostapi::TExpertInitProc>(hostapi::ExpertEntryPoint);
        auto getFormList = library.Symbol<void (*)()>("GetFormList");
        ASSERT_NE(init, nullptr);
        ASSERT_NE(getFormList, nullptr);
        EXPECT_EQ(library.Symbol<void*>("_ZN7quorlin10InitExpertEPN7hostapi14TIToolServicesEPFbPNS0_8TIExpertEEPPFvvE"),
                  nullptr);  // only the two entry points are exported

        hostapi::TExpertTerminateProc terminate = nullptr;
        ASSERT_TRUE(init(services.Get(), RegisterExpert, &terminate));
        ASSERT_NE(registered, nullptr);
        ASSERT_NE(terminate, nullptr);
        EXPECT_EQ(registered->GetIDString(), "Pemberlot.Quorlin");
        EXPECT_FALSE(init(services.Get(), RegisterExpert, &terminate));
        EXPECT_EQ(EditMenuNames(host).size(), 7u);
        EXPECT_EQ(host.NotifierCount(), 1);

        ASSERT_TRUE(host.OpenProject(sample("Sample.dpr")));
        ASSERT_TRUE(host.PressShortCut(hostapi::scCtrl | tk::VK_F11));
        tk::Form* form = tk::Application::Instance().FindForm("CodeForm");
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(form->Visible());
        auto* units = form->Find<tk::ComboBox>("UnitCombo");
        auto* routines = form->Find<tk::ComboBox>("MethodCombo");
        ASSERT_NE(units, nullptr);
        ASSERT_NE(routines, nullptr);
        EXPECT_EQ(units->Items().Items(),
                  (Lines{sample("Consts.pas"), sample("Lib/Utils.pas"), sample("MainForm.pas"), sample("Shapes.pas"),
                         sample("ViewOptions.pas")}));

        units->ChooseItem(units->Items().IndexOf(sample("Lib/Utils.pas")));
        EXPECT_EQ(routines->Items().Items(),
                  (Lines{"Clamp(Value, Low, High: Integer): Integer;", "PadLeft(const S: string; Width: Integer): string;",
                         "Percent(Part, Whole: Integer): Integer;"}));
        recorder.Clear();
        routines->ChooseItem(routines->Items().IndexOf("Clamp(Value, Low, High: Integer): Integer;"));
        EXPECT_EQ(host.Cursor(sample("Lib/Utils.pas")).Line, 22);
        EXPECT_EQ(host.TopLine(sample("Lib/Utils.pas")).Line, 22);
        Lines releases;
        for (const std::string& line : recorder.Log()) {
            if (line.rfind("Release ", 0) == 0)
                releases.push_back(line);
        }
        // The jump, then bringing the unit's source to the front.
        EXPECT_EQ(releases, (Lines{"Release Reader(Utils.pas)", "Release View(Utils.pas)", "Release Editor(Utils.pas)",
                                   "Release Module(Utils.pas)", "Release Module(Utils.pas)"}));
        EXPECT_TRUE(desktop.Messages().empty());

        getFormList();
        EXPECT_EQ(desktop.Beeps(), 1);

        // Unloading: the terminate procedure, then the host releases the expert.
        terminate();
        recorder.Clear();
        registered->Release();
        registered = nullptr;
        EXPECT_EQ(recorder.Log(), (Lines{"ToolServices.RemoveNotifier", "MenuItem(EditCodeSepa1).DestroyMenuItem",
                                         "Release MenuItem(EditCodeSepa1)", "MenuItem(EditQuorlinItem).DestroyMenuItem",
                                         "Release MenuItem(EditQuorlinItem)"}));
        EXPECT_EQ(EditMenuNames(host).size(), 5u);
        EXPECT_EQ(host.NotifierCount(), 0);
        tk::Application::Instance().ProcessMessages();
        EXPECT_EQ(tk::Application::Instance().FindForm("CodeForm"), nullptr);
    }
    tk::Application::Instance().SetDesktop(nullptr);
}

}  // namespace
