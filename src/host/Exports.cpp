// The two functions a host finds in the library by name.

#include "host/EntryPoint.h"
#include "hostapi/ToolIntf.h"

#define QUORLIN_EXPORT extern "C" __attribute__((visibility("default")))

QUORLIN_EXPORT bool QUORLIN_STDCALL INITEXPERT0017(hostapi::TIToolServices* toolServices,
                                                   hostapi::TExpertRegisterProc registerProc,
                                                   hostapi::TExpertTerminateProc* terminate)
{
    return quorlin::InitExpert(toolServices, registerProc, terminate);
}

QUORLIN_EXPORT void QUORLIN_STDCALL GetFormList()
{
    quorlin::GetFormList();
}
