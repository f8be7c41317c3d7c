#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "hostapi/HostRef.h"
#include "refhost/Recorder.h"
#include "refhost/RefHost.h"

namespace refhost::test {
namespace {

using hostapi::HostRef;

TEST(RefHostRecorder, LogsCallsAndReleasesInOrder)
{
    TempFolder folder;
    std::string unit = folder.Write("Unit1.pas", "unit Unit1;\r\nend.\r\n");
    Host host;
    Recorder recorder;
    hostapi::TIToolServices* services = recorder.Wrap(host.CreateToolServices());
    {
        HostRef mainMenu(services->GetMainMenu());
        HostRef root(mainMenu->GetMenuItems());
        HostRef edit(root->GetItem(1));
        HostRef item(edit->InsertItem(edit->GetIndex() + 1, "Q", "QItem", "", 0, 0, 0, 0, nullptr));
    }
    ASSERT_TRUE(services->OpenFile(unit));
    {
        HostRef module(services->GetModuleInterface(unit));
        HostRef editor(module->GetEditorInterface());
        HostRef view(editor->GetView(0));
        HostRef reader(editor->CreateReader());
        char c;
        reader->GetText(0, &c, 1);
        view->SetPos(1, hostapi::TEditPos{1, 2});
    }
    std::vector<std::string> expected = {
        "ToolServices.GetMainMenu",
        "MainMenu.GetMenuItems",
        "MenuItem().GetItem(1)",
        "MenuItem(EditMenu).GetIndex",
        "MenuItem(EditMenu).InsertItem(2,QItem)",
        "Release MenuItem(QItem)",
        "Release MenuItem(EditMenu)",
        "Release MenuItem()",
        "Release MainMenu",
        "ToolServices.OpenFile(" + unit + ")",
        "ToolServices.GetModuleInterface(" + unit + ")",
        "Module(Unit1.pas).GetEditorInterface",
        "Editor(Unit1.pas).GetView(0)",
        "Editor(Unit1.pas).CreateReader",
        "Reader(Unit1.pas).GetText(0,1)",
        "View(Unit1.pas).SetPos(1,1:2)",
        "Release Reader(Unit1.pas)",
        "Release View(Unit1.pas)",
        "Release Editor(Unit1.pas)",
        "Release Module(Unit1.pas)",
    };
    EXPECT_EQ(recorder.Log(), expected);
    EXPECT_EQ(host.TopLine(unit).Line, 2) << "calls reach the host";

    recorder.Clear();
    EXPECT_EQ(services->GetModuleInterface(folder / "Other.pas"), nullptr);
    EXPECT_EQ(services->AddRef(), 2);
    services->Release();
    EXPECT_EQ(services->Release(), 0);
    EXPECT_EQ(recorder.Log(),
              (std::vector<std::string>{"ToolServices.GetModuleInterface(" + (folder / "Other.pas") + ")",
                                        "AddRef ToolServices", "Release ToolServices", "Release ToolServices"}));
}

}  // namespace
}  // namespace refhost::test
