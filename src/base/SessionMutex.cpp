#include "base/SessionMutex.h"

namespace {

KernelHandle CreateMutexNamed(std::string_view name, bool* alreadyExisted) {
    KernelHandle mutex(CreateMutexA(nullptr, FALSE, String(name).c_str()));
    if (mutex && alreadyExisted) *alreadyExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}

}  // namespace

KernelHandle CreateSessionMutex(std::string_view name, bool* alreadyExisted) {
    if (alreadyExisted) *alreadyExisted = false;
    if (KernelHandle mutex = CreateMutexNamed(name, alreadyExisted)) return mutex;
    const size_t separator = name.find('\\');
    if (separator == std::string_view::npos) return KernelHandle();
    return CreateMutexNamed(name.substr(separator + 1), alreadyExisted);
}
