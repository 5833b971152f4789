#pragma once
#include <windows.h>

#include "runtime/String.h"

#include "base/UniqueHandle.h"

// Holds a session mutex (see SessionMutex.h) for its lifetime, across processes, having
// waited at most timeoutMs for it. When the wait runs out or no mutex can be had, the
// caller goes on without it.
class SessionLock {
public:
    SessionLock(std::string_view name, DWORD timeoutMs);
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

private:
    KernelHandle mutex_;
    bool held_ = false;
};
