#pragma once
// The base of the windows that work on one component of the current unit's form while they are
// open.

#include "hostapi/HostRef.h"
#include "hostapi/ToolIntf.h"
#include "toolkit/Form.h"

namespace quorlin {

class TBaseExpForm : public tk::Form {
public:
    explicit TBaseExpForm(tk::Component* owner);
    // Runs FormDestroy while the window's fields still exist, as a destroy handler does.
    ~TBaseExpForm() override;

    // The component the window works on; released when the window is destroyed.
    hostapi::HostRef<hostapi::TIComponentInterface> CompInterface;
    // Set by the opener before the window is shown; the opener releases it after the window closed.
    hostapi::TIFormInterface* FormInterface = nullptr;

    void FormDestroy(tk::Component* sender);
};

// The font of the form tools' windows: MS P Gothic, 15 pixels.
void SetFormToolsFont(tk::Form& form);

}  // namespace quorlin
