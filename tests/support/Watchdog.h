#pragma once
// Kills the test program instead of letting a blocked open or lock hang the run.

#include <unistd.h>

class Watchdog {
public:
    Watchdog() { alarm(20); }
    ~Watchdog() { alarm(0); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};
