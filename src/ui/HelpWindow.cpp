#include "ui/HelpWindow.h"

// clang-format off
const WindowLayout HelpWindow::Layout = {"Help", 4680, 3540, false};

// In tab order.
const ControlLayout HelpWindow::ControlRows[] = {
    //  id      kind                            inside caption    left  top   width height
    {Text1,    ControlKind::ReadOnlyMemo,      0,     "",          120,  120, 4455, 2895},
    {cmdClose, ControlKind::DefaultPushButton, 0,     "&Close",   3240, 3120, 1215,  375},
};
const ControlTable HelpWindow::Controls = ControlRows;

const char* const HelpWindow::HelpText =
    "Jukelet Help\r\n"
    " \r\n"
    "Simply decide whether you want Winamp control icons \r\n"
    "added to just the current user, or every user on your \r\n"
    "computer, and click the appropriate button in the main \r\n"
    "dialog.\r\n"
    " \r\n"
    "Any open Internet Explorer windows will have to be \r\n"
    "closed and re-opened for the new toolbar icons to \r\n"
    "appear.\r\n"
    " \r\n"
    "Your Winamp Control icons can be added, rearranged, \r\n"
    "and removed just like any other IE toolbar icon by \r\n"
    "right-clicking the toolbar and selecting 'Customize...'\r\n"
    "  \r\n"
    "To remove the icons completely, click the Remove All button in the main dialog.  "
    "This removes the icons from all users on your computer.\r\n";
// clang-format on

void HelpWindow::Show(HWND centreOver) {
    if (!exists() && !CreateFromTable(Layout, Controls, centreOver)) return;
    ShowActive();
}

void HelpWindow::Form_Load() { SetWindowTextA(Control(Text1), HelpText); }

bool HelpWindow::PreTranslate(MSG& message) {
    // No cancel button: Esc must not close the window (the text box would ask it to).
    const bool isKey = message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
    return isKey && message.wParam == VK_ESCAPE;
}

bool HelpWindow::OnCommand(int id, int notification) {
    if (id != cmdClose || notification != BN_CLICKED) return false;
    cmdClose_Click();
    return true;
}

void HelpWindow::cmdClose_Click() { Destroy(); }
