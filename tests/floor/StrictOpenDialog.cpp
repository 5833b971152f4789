// Stands in for comdlg32.dll beside a copy of the program, for the test that its Open dialog
// record is the size Windows 95, 98, ME and NT 4.0 accept. Like them, it refuses any other
// size with CDERR_STRUCTSIZE (Wine and later Windows accept more). Given the right size, it
// answers as a user would, with the path in JUKELET_OPEN_DIALOG_ANSWER.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

namespace {

DWORD lastError = 0;

}  // namespace

// Exported under the system's names (StrictOpenDialog.def).
extern "C" DWORD WINAPI StrictCommDlgExtendedError() { return lastError; }

extern "C" BOOL WINAPI StrictGetOpenFileNameA(OPENFILENAMEA* record) {
    lastError = CDERR_STRUCTSIZE;
    if (!record || record->lStructSize != OPENFILENAME_SIZE_VERSION_400A) return FALSE;
    const DWORD length = GetEnvironmentVariableA("JUKELET_OPEN_DIALOG_ANSWER", record->lpstrFile, record->nMaxFile);
    lastError = length < record->nMaxFile ? 0 : FNERR_BUFFERTOOSMALL;
    return length > 0 && length < record->nMaxFile;
}
