#include "ui/BrowserLink.h"

#include <objbase.h>
#include <shellapi.h>

#include "base/DynamicProc.h"
#include "base/UniqueHandle.h"

namespace {

// COM, apartment-threaded, for this thread while the program lives: ShellExecute's callers
// must provide it, as some links are opened through shell extensions. ole32 is loaded with
// the first link, so a toolbar click never pays for it.
class ComApartment {
public:
    ComApartment() : ole32_(LoadLibraryA("ole32.dll")) {
        if (auto coInitialize = LOAD_PROC(ole32_.get(), CoInitialize)) initialized_ = SUCCEEDED(coInitialize(nullptr));
    }
    ~ComApartment() {
        if (!initialized_) return;
        if (auto coUninitialize = LOAD_PROC(ole32_.get(), CoUninitialize)) coUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    ModuleHandle ole32_;
    bool initialized_ = false;
};

}  // namespace

void OpenLink(const char* link, HWND owner) {
    static ComApartment com;
    // shell32 is loaded on the first click only, for the same reason.
    static ModuleHandle shell(LoadLibraryA("shell32.dll"));
    if (auto shellExecute = LOAD_PROC(shell.get(), ShellExecuteA))
        shellExecute(owner, nullptr, link, nullptr, nullptr, SW_SHOWNORMAL);
}
