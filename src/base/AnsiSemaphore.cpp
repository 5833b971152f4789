// GCC's win32 thread layer (libgcc's gthr-win32.o, linked for the C++ runtime's exception
// pool) creates its semaphores with CreateSemaphoreW, which Windows 9x has only as a stub
// that always fails. Its import slot is defined here instead, pointing at a function that
// makes the same unnamed semaphore with CreateSemaphoreA, so the program imports no
// Unicode function. Linked into the executable only.
#include <windows.h>

#if defined(__GNUC__)

namespace {

HANDLE WINAPI CreateUnnamedSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount, LONG maximumCount,
                                     LPCWSTR name) {
    // The runtime never names its semaphores; a name could not be passed on as ANSI text.
    if (name) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    return CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
}

}  // namespace

#if defined(_WIN64)
#define IMPORT_SLOT_NAME "__imp_CreateSemaphoreW"
#else
#define IMPORT_SLOT_NAME "__imp__CreateSemaphoreW@16"
#endif

extern "C" {
decltype(&::CreateSemaphoreW) createSemaphoreWSlot __asm__(IMPORT_SLOT_NAME) = CreateUnnamedSemaphore;
}

#endif
