#include "base/SessionMutex.h"

#include "base/WindowsVersion.h"

KernelHandle CreateSessionObject(std::string_view name, HANDLE (*create)(const char* name), bool* alreadyExisted) {
    static const bool namespaces = HasObjectNamespaces(GetVersion());
    const size_t separator = name.find('\\');
    const std::string_view plain = separator == std::string_view::npos ? name : name.substr(separator + 1);
    const String given(namespaces ? name : plain);
    HANDLE object = create(given.c_str());
    // Read at once: whatever runs in between (a string freed) may change it.
    DWORD error = GetLastError();
    if (!object && namespaces && plain.size() != name.size()) {
        const String fallback(plain);
        object = create(fallback.c_str());
        error = GetLastError();
    }
    if (alreadyExisted) *alreadyExisted = object && error == ERROR_ALREADY_EXISTS;
    return KernelHandle(object);
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
