#include "winamp/FileSelector.h"

#include <commdlg.h>

#include "base/DynamicProc.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "base/UniqueHandle.h"

namespace {

// comdlg32 is loaded only when a dialog is really shown, so a toolbar click never pays for it.
BOOL ShowOpenDialog(OPENFILENAMEA* record) {
    ModuleHandle comdlg(LoadLibraryA("comdlg32.dll"));
    if (!comdlg) return FALSE;
    auto getOpenFileName = LOAD_PROC(comdlg.get(), GetOpenFileNameA);
    return getOpenFileName ? getOpenFileName(record) : FALSE;
}

}  // namespace

std::optional<String> ChooseWinampFile(HWND owner, const char* title) {
    static const char filter[] = "Winamp.exe\0WINAMP.EXE\0";
    String file;
    file.resize(MAX_PATH);
    String fileTitle;
    fileTitle.resize(MAX_PATH);

    OPENFILENAMEA record = {};
    // The size Windows 95, 98, ME and NT 4.0 accept (they refuse any other); later ones too.
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = owner;
    record.hInstance = GetModuleHandleA(nullptr);
    record.lpstrFilter = filter;
    record.nFilterIndex = 1;
    record.lpstrFile = file.data();
    record.nMaxFile = static_cast<DWORD>(file.size());
    record.lpstrFileTitle = fileTitle.data();
    record.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    record.lpstrInitialDir = "";
    record.lpstrTitle = title;
    // No existence checks: whatever the user picks or types is accepted.
    record.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

    if (!ShowOpenDialog(&record)) return std::nullopt;
    // Whole, so that nothing stores a path relative to wherever the program started.
    String whole = WholePath(Trim(file.c_str()));
    if (whole.empty()) return std::nullopt;
    return whole;
}
