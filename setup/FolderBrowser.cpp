#include "FolderBrowser.h"

#include <shlobj.h>

#include "ComSession.h"
#include "ShellItem.h"
#include "base/DynamicProc.h"

namespace {

// Opens the browser on the starting folder once it is ready.
int CALLBACK SelectStart(HWND browser, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, start);
    return 0;
}

}  // namespace

String BrowseForFolder(HWND owner, const char* title, const String& start) {
    ComSession com;
    // shell32 is loaded only when the user asks for the browser.
    ModuleHandle shell32(LoadLibraryA("shell32.dll"));
    const auto browse = LOAD_PROC(shell32.get(), SHBrowseForFolderA);
    if (!browse) return String();

    char displayName[MAX_PATH];
    // As Windows 95 has it: no newer flag, no size member.
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectStart;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    return TakeItemPath(browse(&info));
}
