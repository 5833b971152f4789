#pragma once
#include <windows.h>

#include <string>
#include <vector>

constexpr DWORD WindowTimeoutMs = 10000;

// Top-level windows of process `processId` (0: any process) with this class ("" for any)
// and this exact title (nullptr for any).
std::vector<HWND> FindTopWindows(DWORD processId, const std::string& className, const char* title);
// Waits for the first such window that is visible; nullptr when none came in time.
HWND WaitForTopWindow(DWORD processId, const std::string& className, const char* title,
                      DWORD timeoutMs = WindowTimeoutMs);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = WindowTimeoutMs);

std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);
// The child with this control id, searched through the whole tree.
HWND FindDescendant(HWND parent, int controlId);
// The first descendant of this class whose text is exactly `text`.
HWND FindDescendantByText(HWND parent, const std::string& className, const std::string& text);
void ClickButton(HWND button);

// A message box ("#32770") as its user sees it.
struct MessageBoxView {
    HWND window = nullptr;
    std::string title;
    std::string text;
    bool hasIcon = false;
    std::vector<int> buttons;  // IDOK, IDYES, IDNO... present and visible
};
MessageBoxView ReadMessageBox(HWND box);
// Waits for a visible message box of this process with this title.
HWND WaitForMessageBox(DWORD processId, const char* title, DWORD timeoutMs = WindowTimeoutMs);
// Presses a message box's button by its id.
void PressDialogButton(HWND dialog, int id);

// The Open dialog: types a path into its file-name box and presses Open.
bool ChooseInOpenDialog(HWND dialog, const std::string& path);
// The same, typed as Unicode text: a name the ANSI code page cannot hold.
bool ChooseInOpenDialog(HWND dialog, const std::wstring& path);
std::vector<std::string> OpenDialogFilters(HWND dialog);
