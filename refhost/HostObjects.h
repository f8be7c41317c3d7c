#pragma once
// Factories of the objects the host hands to an add-in; each is born with a count of 1.

#include <memory>

#include "EditBuffer.h"
#include "RefHost.h"

namespace refhost {

hostapi::TIToolServices* NewToolServices(std::shared_ptr<HostLink> link);
hostapi::TIMainMenuIntf* NewMainMenu(std::shared_ptr<HostLink> link);
hostapi::TIMenuItemIntf* NewMenuItem(std::shared_ptr<HostLink> link, std::shared_ptr<MenuNode> node);
hostapi::TIModuleInterface* NewModule(std::shared_ptr<HostLink> link, std::shared_ptr<EditBuffer> buffer);
hostapi::TIFormInterface* NewForm(std::shared_ptr<HostLink> link, std::shared_ptr<FormDesigner> designer);

// The host's own menus with their ordinary items.
std::shared_ptr<MenuNode> BuildMainMenu();

}  // namespace refhost
