#pragma once
#include <windows.h>

#include "base/UniqueHandle.h"
#include "runtime/String.h"

// A named kernel object shared by the programs of this user's session, made by `create`
// (CreateMutexA, CreateFileMappingA...). `name` carries its namespace, as in
// "Local\Orvalle.Jukelet.Configuration". Namespaces exist from Windows 2000 (Terminal
// Services) on: before (9x, NT 4.0), and wherever the name cannot be created as given, the
// plain name after the namespace is used instead. `alreadyExisted` tells whether another
// process had created it first. An empty handle when it could not be created.
KernelHandle CreateSessionObject(std::string_view name, HANDLE (*create)(const char* name),
                                 bool* alreadyExisted = nullptr);

// A named mutex of the session (see above): the configuration window's single instance,
// and the lock clicks take turns with. Let go when it goes, if held.
class SessionMutex {
public:
    explicit SessionMutex(std::string_view name);
    ~SessionMutex() { Unlock(); }
    SessionMutex(const SessionMutex&) = delete;
    SessionMutex& operator=(const SessionMutex&) = delete;

    // Another process had it first: its holder, or a program still using it, is running.
    bool AlreadyExisted() const { return alreadyExisted_; }
    explicit operator bool() const { return static_cast<bool>(mutex_); }

    // Waits at most timeoutMs to hold it. A mutex abandoned by a holder that ended is held
    // too; false when the time ran out or there is no mutex.
    bool Lock(DWORD timeoutMs);
    void Unlock();

private:
    KernelHandle mutex_;
    bool alreadyExisted_ = false;
    bool held_ = false;
};
