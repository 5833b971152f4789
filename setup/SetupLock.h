#pragma once
#include "Prompt.h"
#include "base/SessionMutex.h"

// One setup or uninstaller of Jukelet at a time on the machine: two at once would each
// find no other copy and install two, or remove what the other is writing.
class SetupLock {
public:
    SetupLock();
    // Held until this goes. Silent: waits a bounded while; interactive: offers Retry and
    // Cancel while another runs. False when it was not had.
    bool Take(const Prompt& prompt);

private:
    SessionMutex mutex_;
};
