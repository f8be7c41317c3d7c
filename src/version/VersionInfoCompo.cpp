#include "version/VersionInfoCompo.h"

#include "platform/FileVersionInfo.h"
#include "version/VersionInfoList.h"

namespace quorlin {

TVersionInfoCompo::TVersionInfoCompo(tk::Component* owner) : tk::Component(owner)
{
}

void TVersionInfoCompo::Loaded()
{
    tk::Component::Loaded();
    ReadVersionInfo();
}

void TVersionInfoCompo::ReadVersionInfo()
{
    std::vector<std::string> items = InfoList.Items();
    ReadVersionInfoList(ModuleFileName(), items);
    InfoList.Assign(items);
}

std::string TVersionInfoCompo::InfoText(int index) const
{
    return index >= 0 && index < 8 && index < InfoList.Count() ? std::string(InfoList[index]) : std::string();
}

std::string TVersionInfoCompo::ModuleFileName()
{
    return platform::ModuleFileName(reinterpret_cast<const void*>(&TVersionInfoCompo::ModuleFileName));
}

}  // namespace quorlin
