#include "RenameWindow.h"

#include "AddinSession.h"
#include "WindowParts.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"

namespace cli {

bool RenameInWindow(tk::Form& toolWindow, ConsoleDesktop& desktop, const std::string& oldName,
                    const std::string& newName, WindowRename& rename)
{
    rename = {};
    auto* item = dynamic_cast<tk::MenuItem*>(FindOwned(toolWindow, "ChaneNameMenuItem"));
    if (!item)
        return false;
    desktop.SetModalAnswer([&](tk::Form& form) {
        rename.Opened = true;
        auto& components = Part<tk::ListBox>(form, "CompoListBox");
        int row = FindRow(components, oldName);
        rename.Listed = row >= 0;
        if (rename.Listed) {
            components.ClickItem(row);
            Part<tk::Edit>(form, "PropNameEdit").SetText(newName);
            Part<tk::Button>(form, "Button1").Click();
            rename.Renamed = components.Items()[row] == newName;
        }
        return Confirm(form);
    });
    item->Click();
    tk::Application::Instance().ProcessMessages();
    // Unused when no window came up; a later window must not take it.
    desktop.SetModalAnswer(nullptr);
    return true;
}

}  // namespace cli
