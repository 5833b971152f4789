#pragma once
#include <windows.h>

#include "base/UniqueHandle.h"
#include "runtime/String.h"
#include "ui/ControlTable.h"

// A window's or control's text.
String TextOf(HWND window);
// An icon of the program's resources at this size in pixels.
HICON LoadIconSized(int resourceId, int size);

// One modeless dialog window built from a control table: the dialog manager gives it Tab,
// Enter, Esc and access keys. Subclasses handle the events; one instance = one window.
class DialogWindow {
public:
    DialogWindow() = default;
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND handle() const { return window_; }
    bool exists() const { return window_ != nullptr; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    UINT dpi() const { return dpi_; }

    void Destroy();

    // The message loop of the whole program; returns when the last window has gone.
    static int RunMessageLoop();

protected:
    // Creates the window hidden, sized and laid out at its DPI, and centred over
    // centreOver (or on the screen when that is null).
    bool CreateFromTable(const WindowLayout& layout, ControlTable controls, HWND centreOver);
    // Shows the window in front; when it opens, the initial control takes the focus.
    void ShowActive();

    virtual void Form_Load() {}
    // A control to focus without selecting its text when the window opens; nullptr: the
    // first in tab order.
    virtual HWND InitialFocus() { return nullptr; }
    virtual bool OnCommand(int id, int notification) = 0;
    // Colours for labels; nullptr leaves the default.
    virtual HBRUSH OnLabelColour(HDC, HWND) { return nullptr; }
    // A queued message on its way to this window or one of its controls; true eats it.
    virtual bool PreTranslate(MSG&) { return false; }

    // This window's row of its control table.
    const ControlLayout* LayoutOf(int id) const;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(UINT screenDpi);
    // The window's size at this DPI, frame included.
    SIZE FrameSize(UINT dpi) const;
    // The work area the window opens in: its owner's monitor's, or the primary one's.
    RECT TargetArea() const;
    // The screen DPI, or less where the window would not fit its work area at it: the
    // layout then shrinks as a whole, text included.
    UINT DpiThatFits(UINT screenDpi) const;
    // Widens each label whose text its lines cannot hold in the label's font, and the window
    // with it where needed.
    void FitLabelsToText();
    void SizeAndCentre();
    // Takes this window off the list of those alive.
    void Unlink();

    HWND window_ = nullptr;
    UINT dpi_ = 96;
    int widened_ = 0;  // pixels the window grew by to show every label's text
    HWND centreOver_ = nullptr;
    GdiObject fittedFont_;
    const WindowLayout* layout_ = nullptr;
    ControlTable controls_;

    // The windows alive, most recent first: the message loop hands each its own messages.
    static DialogWindow* firstLive_;
    DialogWindow* nextLive_ = nullptr;
};
