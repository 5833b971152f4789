#include "registry/RegistryView.h"

#include "base/DynamicProc.h"
#include "base/WindowsVersion.h"

namespace {

// What IsWow64Process says of this process: false where Windows lacks it (before XP SP2,
// all 32-bit) or cannot tell.
bool Wow64Answer() {
    static const auto isWow64Process = LOAD_PROC(GetModuleHandleA("kernel32.dll"), IsWow64Process);
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

RegistryViews EveryRegistryView() {
    if (HasRegistryViews(GetVersion(), sizeof(void*) == 8, Wow64Answer()))
        return RegistryViews(RegistryView::Bits64, RegistryView::Bits32);
    return RegistryViews(RegistryView::Default);
}
