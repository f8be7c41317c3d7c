#pragma once
// What the library's exports do, kept in the core so tests reach it without loading the library.

#include "hostapi/ToolIntf.h"

namespace quorlin {

// INITEXPERT0017: keeps the tool services, registers the expert and hands out the terminate
// procedure; a second call while the tool services are kept is refused.
bool InitExpert(hostapi::TIToolServices* toolServices, hostapi::TExpertRegisterProc registerProc,
                hostapi::TExpertTerminateProc* terminate);
// GetFormList: the default beep.
void GetFormList();

}  // namespace quorlin
