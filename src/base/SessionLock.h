#pragma once
#include <windows.h>

#include <string>

#include "base/UniqueHandle.h"

// Holds a session mutex (see SessionMutex.h) for its lifetime, across processes, having
// waited at most timeoutMs for it. held() is false when the wait ran out or no mutex could
// be had: the caller then goes on without it.
class SessionLock {
public:
    SessionLock(const std::string& name, DWORD timeoutMs);
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    bool held() const { return held_; }

private:
    KernelHandle mutex_;
    bool held_ = false;
};
