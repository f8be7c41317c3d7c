#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "hostapi/HostRef.h"
#include "refhost/RefHost.h"

namespace refhost::test {
namespace {

using hostapi::HostRef;
using hostapi::TIMenuItemIntf;

struct MenuEvents : HostListener {
    void MenuChanged() override { ++changes; }
    int changes = 0;
};

TEST(RefHostMenu, TopLevelMenusAsAnIdeHasThem)
{
    Host host;
    const MenuNode& root = host.MenuRoot();
    std::vector<std::string> names;
    for (const auto& menu : root.Children) {
        names.push_back(menu->Name);
        EXPECT_FALSE(menu->Children.empty()) << menu->Name;
        EXPECT_EQ(menu->Parent, &root);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"FileMenu", "EditMenu", "SearchMenu", "ViewMenu", "ProjectMenu",
                                               "RunMenu", "ComponentMenu", "ToolsMenu", "HelpMenu"}));
    EXPECT_EQ(root.Children[1]->Caption, "&Edit");

    HostRef services(host.CreateToolServices());
    HostRef mainMenu(services->GetMainMenu());
    HostRef items(mainMenu->GetMenuItems());
    EXPECT_EQ(items->GetItemCount(), 9);
    EXPECT_EQ(items->GetParent(), nullptr);
    EXPECT_EQ(items->GetItem(9), nullptr);
    HostRef edit(items->GetItem(1));
    EXPECT_EQ(edit->GetName(), "EditMenu");
    EXPECT_EQ(edit->GetIndex(), 1);
    HostRef last(edit->GetItem(edit->GetItemCount() - 1));
    HostRef parent(last->GetParent());
    EXPECT_EQ(parent->GetName(), "EditMenu");
    HostRef save(mainMenu->FindMenuItem("FileSaveItem"));
    EXPECT_EQ(save->GetShortCut(), hostapi::scCtrl | 'S');
    EXPECT_EQ(save->GetFlags(), hostapi::mfEnabled | hostapi::mfVisible);
    EXPECT_EQ(mainMenu->FindMenuItem("NoSuchItem"), nullptr);
}

TEST(RefHostMenu, InsertDestroyAndClick)
{
    Host host;
    MenuEvents events;
    host.AddListener(&events);
    HostRef services(host.CreateToolServices());
    HostRef mainMenu(services->GetMainMenu());
    HostRef edit(mainMenu->FindMenuItem("EditMenu"));
    int before = edit->GetItemCount();

    std::vector<std::string> clicked;
    auto record = [&](TIMenuItemIntf* sender) { clicked.push_back(sender->GetName()); };
    HostRef separator(edit->InsertItem(2, "-", "Sepa", "", 0, 0, 0, hostapi::mfVisible, nullptr));
    HostRef command(edit->InsertItem(separator->GetIndex() + 1, "Cmd", "CmdItem", "", hostapi::scCtrl | 0x7A, 0, 0,
                                     hostapi::mfEnabled | hostapi::mfVisible, record));
    HostRef front(edit->InsertItem(-4, "Front", "FrontItem", "", 0, 0, 0, hostapi::mfEnabled, record));
    HostRef back(edit->InsertItem(1000, "Back", "BackItem", "", 0, 0, 0,
                                  hostapi::mfEnabled | hostapi::mfVisible, record));
    EXPECT_EQ(events.changes, 4);
    EXPECT_EQ(front->GetIndex(), 0);
    EXPECT_EQ(separator->GetIndex(), 3);
    EXPECT_EQ(command->GetIndex(), 4);
    EXPECT_EQ(back->GetIndex(), before + 3);
    EXPECT_EQ(host.MenuRoot().Children[1]->Children[4]->Caption, "Cmd");

    EXPECT_TRUE(host.PressShortCut(hostapi::scCtrl | 0x7A));
    EXPECT_TRUE(host.ClickMenuItem("BackItem"));
    EXPECT_FALSE(host.ClickMenuItem("FrontItem")) << "an invisible item is not clicked";
    EXPECT_FALSE(host.ClickMenuItem("Sepa")) << "a disabled item is not clicked";
    EXPECT_FALSE(host.PressShortCut(hostapi::scAlt | 0x7A));
    EXPECT_EQ(clicked, (std::vector<std::string>{"CmdItem", "BackItem"}));

    EXPECT_TRUE(separator->DestroyMenuItem());
    EXPECT_FALSE(separator->DestroyMenuItem());
    EXPECT_EQ(separator->GetIndex(), -1);
    EXPECT_EQ(separator->InsertItem(0, "x", "x", "", 0, 0, 0, 0, nullptr), nullptr);
    EXPECT_EQ(command->GetIndex(), 3);
    EXPECT_TRUE(command->DestroyMenuItem());
    EXPECT_FALSE(host.PressShortCut(hostapi::scCtrl | 0x7A));
    EXPECT_EQ(edit->GetItemCount(), before + 2);
    EXPECT_EQ(events.changes, 6);
    host.RemoveListener(&events);
}

TEST(RefHostMenu, ClickHandlersMayDestroyTheirItem)
{
    Host host;
    HostRef services(host.CreateToolServices());
    HostRef mainMenu(services->GetMainMenu());
    HostRef tools(mainMenu->FindMenuItem("ToolsMenu"));
    int clicks = 0;
    HostRef once(tools->InsertItem(0, "Once", "OnceItem", "", 0, 0, 0, hostapi::mfEnabled | hostapi::mfVisible,
                                   [&](TIMenuItemIntf* sender) {
                                       ++clicks;
                                       sender->DestroyMenuItem();
                                   }));
    EXPECT_TRUE(host.ClickMenuItem("OnceItem"));
    EXPECT_FALSE(host.ClickMenuItem("OnceItem"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(once->GetIndex(), -1);

    HostRef help(mainMenu->FindMenuItem("HelpMenu"));
    HostRef about(mainMenu->FindMenuItem("HelpAboutItem"));
    EXPECT_TRUE(help->DestroyMenuItem());
    help.Reset();
    EXPECT_EQ(about->GetIndex(), -1) << "items of a destroyed menu are gone with it";
    EXPECT_EQ(about->GetParent(), nullptr);
    EXPECT_FALSE(about->DestroyMenuItem());
    EXPECT_FALSE(host.ClickMenuItem("HelpAboutItem"));
    EXPECT_EQ(host.MenuRoot().Children.size(), 8u);
}

TEST(RefHostMenu, HostItemsRunFrontEndHandlersOrHostOperations)
{
    TempFolder folder;
    std::string unit = folder.Write("A.pas", "a\nb\n");
    Host host;
    int opened = 0;
    host.SetMenuHandler("FileOpenProjectItem", [&] { ++opened; });
    EXPECT_TRUE(host.ClickMenuItem("FileOpenProjectItem"));
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(host.ClickMenuItem("RunRunItem")) << "nothing handles it";

    ASSERT_TRUE(host.OpenFile(unit));
    host.SetText(unit, "c\r\n");
    EXPECT_TRUE(host.PressShortCut(hostapi::scCtrl | 'S'));
    EXPECT_EQ(TempFolder::Read(unit), "c\n");
    EXPECT_FALSE(host.IsModified(unit));
}

}  // namespace
}  // namespace refhost::test
