#include "base/SessionLock.h"

#include "base/SessionMutex.h"

SessionLock::SessionLock(std::string_view name, DWORD timeoutMs) : mutex_(CreateSessionMutex(name)) {
    if (!mutex_) return;
    const DWORD waited = WaitForSingleObject(mutex_.get(), timeoutMs);
    // Abandoned: its last holder ended without letting go, and it is ours now.
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

SessionLock::~SessionLock() {
    if (held_) ReleaseMutex(mutex_.get());
}
