#pragma once
// A non-visual component that reads the string part of the version resource of the file it was
// loaded from when its window has been made, and keeps eight values for labels to show.

#include <string>

#include "toolkit/Component.h"
#include "toolkit/Strings.h"

namespace quorlin {

class TVersionInfoCompo : public tk::Component {
public:
    explicit TVersionInfoCompo(tk::Component* owner);

    // The eight values of VersionInfoKeys in order, "No Version Info", or nothing.
    tk::Strings InfoList;

    void Loaded() override;
    void ReadVersionInfo();
    // Entry index for 0 to 7; an empty text for any other index or one the list does not hold.
    std::string InfoText(int index) const;

    // The file read: the executable or library that holds this component's code.
    static std::string ModuleFileName();
};

}  // namespace quorlin
