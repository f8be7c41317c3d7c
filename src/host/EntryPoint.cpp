#include "host/EntryPoint.h"

#include <exception>

#include "host/Globals.h"
#include "host/QuorlinExpert.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace quorlin {

bool InitExpert(hostapi::TIToolServices* toolServices, hostapi::TExpertRegisterProc registerProc,
                hostapi::TExpertTerminateProc* terminate)
{
    if (ToolServices)
        return false;
    try {
        ToolServices = toolServices;
        if (toolServices)
            tk::Application::Instance().SetHandle(toolServices->GetParentHandle());
        if (terminate)
            *terminate = TerminateProc;
        Expert = new TQuorlinExpert();
        if (registerProc)
            registerProc(Expert);
    } catch (const std::exception& error) {
        if (toolServices)
            toolServices->RaiseException(error.what());
    }
    return true;
}

void GetFormList()
{
    tk::Application::Instance().GetDesktop().Beep(0);
}

}  // namespace quorlin
