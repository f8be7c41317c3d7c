#include "UnitScanner.h"

#include "cli/AddinSession.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

namespace lsp {

namespace {

tk::ComboBox* Combo(tk::Form& toolWindow, const std::string& name)
{
    return dynamic_cast<tk::ComboBox*>(cli::FindOwned(toolWindow, name));
}

}  // namespace

UnitScanner::UnitScanner(refhost::Host& host, tk::Form& toolWindow, ServerDesktop& desktop)
    : host_(host), toolWindow_(toolWindow), desktop_(desktop)
{
}

bool UnitScanner::Prepare(std::string& error)
{
    auto* unsorted = dynamic_cast<tk::MenuItem*>(cli::FindOwned(toolWindow_, "MethodNoSort"));
    if (!unsorted || !Combo(toolWindow_, "UnitCombo") || !Combo(toolWindow_, "MethodCombo")) {
        error = "the tool window has no routine list";
        return false;
    }
    unsorted->Click();
    tk::Application::Instance().ProcessMessages();
    return true;
}

bool UnitScanner::Scan(const std::string& path, Result& result, std::string& reason)
{
    bool wasOpen = host_.IsFileOpen(path);
    if (!wasOpen && !host_.OpenFile(path, reason))
        return false;
    desktop_.TakeNotices();
    int messages = desktop_.MessageCount();
    tk::ComboBox& units = *Combo(toolWindow_, "UnitCombo");
    units.Items().Clear();
    units.ChooseItem(units.Items().Add(path));
    tk::Application::Instance().ProcessMessages();
    tk::ComboBox& routines = *Combo(toolWindow_, "MethodCombo");
    result.Entries.clear();
    for (std::string_view entry : routines.Items())
        result.Entries.emplace_back(entry);
    result.Text = host_.Text(path);
    result.Notices = desktop_.TakeNotices();
    if (!wasOpen)
        host_.CloseFile(path);
    tk::Application::Instance().ProcessMessages();
    if (desktop_.MessageCount() != messages) {
        reason = "the tool window could not list the unit's routines";
        return false;
    }
    return true;
}

}  // namespace lsp
