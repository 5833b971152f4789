#include "base/SessionMutex.h"

KernelHandle CreateSessionObject(std::string_view name, HANDLE (*create)(const char* name), bool* alreadyExisted) {
    KernelHandle object(create(String(name).c_str()));
    const size_t separator = name.find('\\');
    if (!object && separator != std::string_view::npos)
        object.reset(create(String(name.substr(separator + 1)).c_str()));
    if (alreadyExisted) *alreadyExisted = object && GetLastError() == ERROR_ALREADY_EXISTS;
    return object;
}

SessionMutex::SessionMutex(std::string_view name) {
    mutex_ = CreateSessionObject(
        name, [](const char* plain) { return CreateMutexA(nullptr, FALSE, plain); }, &alreadyExisted_);
}

bool SessionMutex::Lock(DWORD timeoutMs) {
    if (!mutex_ || held_) return held_;
    const DWORD waited = WaitForSingleObject(mutex_.get(), timeoutMs);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return held_;
}

void SessionMutex::Unlock() {
    if (held_) ReleaseMutex(mutex_.get());
    held_ = false;
}
