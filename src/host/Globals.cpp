#include "host/Globals.h"

namespace quorlin {

hostapi::TIToolServices* ToolServices = nullptr;
TQuorlinExpert* Expert = nullptr;
TCodeForm* CodeForm = nullptr;

void ResetGlobalsForTesting()
{
    ToolServices = nullptr;
    Expert = nullptr;
    CodeForm = nullptr;
}

}  // namespace quorlin
