#include "ui/BrowserLink.h"

#include <shellapi.h>

#include "base/DynamicProc.h"
#include "base/UniqueHandle.h"

void OpenLink(const char* link, HWND owner) {
    // shell32 is loaded on the first click only: a toolbar click never pays for it.
    static ModuleHandle shell(LoadLibraryA("shell32.dll"));
    if (auto shellExecute = LOAD_PROC(shell.get(), ShellExecuteA))
        shellExecute(owner, nullptr, link, nullptr, nullptr, SW_SHOWNORMAL);
}
