#include "registry/RegistryView.h"

#include "base/DynamicProc.h"
#include "base/WindowsVersion.h"

namespace {

// Natively, or as a 32-bit process under WOW64.
bool RunningOn64BitWindows() {
#ifdef _WIN64
    return true;
#else
    // Every 64-bit Windows has IsWow64Process; Windows before XP SP2 lacks it and is 32-bit.
    static const auto isWow64Process = LOAD_PROC(GetModuleHandleA("kernel32.dll"), IsWow64Process);
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace

RegistryViews EveryRegistryView() {
    if (HasRegistryViews(GetVersion(), RunningOn64BitWindows()))
        return RegistryViews(RegistryView::Bits64, RegistryView::Bits32);
    return RegistryViews(RegistryView::Default);
}
