#pragma once
// The form of the unit the programmer is editing, as the form tools reach it through the host, and
// the type word that generated code uses for a kind of property.

#include <string>

#include "hostapi/HostRef.h"
#include "hostapi/ToolIntf.h"

namespace quorlin {

class TRyFormInt {
public:
    // The module of the current unit; empty until OpenFormInterface found it. Released with the
    // wrapper.
    hostapi::HostRef<hostapi::TIModuleInterface> ModuleInterface;
    // The host's current file with the extension ".pas": the unit's source also when its form is
    // in front.
    std::string FileName;

    // The module's form, for the caller to release before the wrapper goes; empty when there is no
    // form to work on (a failure has been shown, except for a unit without a form).
    hostapi::HostRef<hostapi::TIFormInterface> OpenFormInterface();
};

// "Integer", "Float", "String", "Variant" or "UnKnown" for a property-type code of the host.
std::string PropTypeText(int code);

}  // namespace quorlin
