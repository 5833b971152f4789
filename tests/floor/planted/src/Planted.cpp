// Not built: the audit of sizes and flags is pointed at it, with planted-values.tsv, to show
// that it names a flag no row audits, a row whose site is gone and a flag a row still lists
// though its site no longer passes it.
#include <windows.h>

void ShowPlanted(HWND window) {
    ShowWindow(window, SW_SHOWNORMAL);
    MessageBoxA(window, "Planted", "Planted", MB_OK | MB_TOPMOST);
}
