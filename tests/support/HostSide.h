#pragma once
// What a test host keeps of the add-in it started: the expert it was handed, and the names of the
// items in its Edit menu.

#include <string>
#include <vector>

#include "hostapi/ToolIntf.h"
#include "refhost/RefHost.h"

inline hostapi::TIExpert* registered = nullptr;

// The registration procedure a host passes to the entry point.
inline bool RegisterExpert(hostapi::TIExpert* expert)
{
    registered = expert;
    return true;
}

inline std::vector<std::string> EditMenuNames(const refhost::Host& host)
{
    std::vector<std::string> names;
    for (const auto& item : host.MenuRoot().Children[1]->Children)
        names.push_back(item->Name);
    return names;
}
