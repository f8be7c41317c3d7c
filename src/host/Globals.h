#pragma once
// The add-in's three process-wide objects. Every host call tests ToolServices, every tool-window
// handler CodeForm, before it does anything.

#include "hostapi/ToolIntf.h"

namespace quorlin {

class TCodeForm;
class TQuorlinExpert;

extern hostapi::TIToolServices* ToolServices;
extern TQuorlinExpert* Expert;
extern TCodeForm* CodeForm;

// Forgets all three without releasing anything; for tests that start the add-in afresh.
void ResetGlobalsForTesting();

}  // namespace quorlin
