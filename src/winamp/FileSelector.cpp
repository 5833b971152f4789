#include "winamp/FileSelector.h"

#include <commdlg.h>

#include "base/CodePage.h"
#include "base/DynamicProc.h"
#include "base/Paths.h"
#include "base/SharedState.h"
#include "base/Text.h"
#include "base/UniqueHandle.h"
#include "base/UserMessage.h"

namespace {

// comdlg32 is loaded only when a dialog is really shown, so a toolbar click never pays for it.
BOOL ShowOpenDialog(OPENFILENAMEA* record) {
    ModuleHandle comdlg(LoadLibraryA("comdlg32.dll"));
    if (!comdlg) return FALSE;
    auto getOpenFileName = LOAD_PROC(comdlg.get(), GetOpenFileNameA);
    return getOpenFileName ? getOpenFileName(record) : FALSE;
}

void ExplainLostLetters(HWND owner, std::string_view path) {
    const String text = Concat(LostLettersReason(path),
                               " Choose a Winamp.exe in a folder whose name has only letters of that language, or "
                               "rename the folder, then try again.");
    ShowMessage(owner, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

// The Open dialog once: what the user chose, trimmed, or nothing.
std::optional<String> AskOnce(HWND owner, const char* title) {
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
    return Trim(file.c_str());
}

}  // namespace

std::optional<String> ChooseWinampFile(HWND owner, const char* title) {
    for (;;) {
        const std::optional<String> chosen = AskOnce(owner, title);
        if (!chosen) return std::nullopt;
        if (HasLostLetters(*chosen)) {
            // Nothing is taken: the user chooses again, or cancels.
            ExplainLostLetters(owner, *chosen);
            continue;
        }
        // Whole, so that nothing stores a path relative to wherever the program started.
        String whole = WholePath(*chosen);
        if (whole.empty()) return std::nullopt;
        return whole;
    }
}
