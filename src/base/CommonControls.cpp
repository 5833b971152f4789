#include "base/CommonControls.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "base/DynamicProc.h"

void LoadCommonControls() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    // Loaded only where a window or box is shown: a toolbar click that shows none never pays
    // for it. Never freed: the classes it registers live in it.
    const HMODULE comctl = LoadLibraryA("comctl32.dll");
    if (const auto initCommonControls = LOAD_PROC(comctl, InitCommonControls)) initCommonControls();
}
