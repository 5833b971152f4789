#include "ui/DialogWindow.h"

#include <algorithm>

#include "base/UnexpectedError.h"
#include "base/WindowsVersion.h"
#include "ui/Dpi.h"
#include "ui/WorkArea.h"

std::vector<DialogWindow*> DialogWindow::live_;

namespace {

// A fixed dialog frame: title bar and system menu, no sizing, no minimise or maximise box.
constexpr DWORD FrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;

// An empty in-memory template: the controls are made from the table once the font is known.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
    WORD pointSize;
    wchar_t font[14];
};

struct ControlClass {
    const char* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::DefaultPushButton: return {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0};
        // Statics report clicks and take the pointer's moves, so the window sees only
        // the moves over its own background.
        case ControlKind::Label: return {"STATIC", SS_LEFT | SS_NOTIFY, 0};
        case ControlKind::Frame: return {"BUTTON", BS_GROUPBOX, 0};
        // Drawn by the window: the system resizes SS_ETCHEDHORZ statics to two pixels
        // high and two wider than asked.
        case ControlKind::Line:
        case ControlKind::BareFrame: return {"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0};
        case ControlKind::TextBox: return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::ReadOnlyMemo:
            return {"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::IconPicture: return {"STATIC", SS_ICON | SS_CENTERIMAGE | SS_NOTIFY, 0};
        // Stretched to the control from XP on; before, the control takes the bitmap's size.
        case ControlKind::BitmapPicture:
            return {"STATIC", DWORD{SS_BITMAP | SS_NOTIFY} | (WindowsNtAtLeast(5, 1) ? SS_REALSIZECONTROL : 0),
                    WS_EX_CLIENTEDGE};
    }
    return {"STATIC", 0, 0};
}

// The etched line or bare frame of an owner-drawn static.
void DrawEtched(const DRAWITEMSTRUCT& item, ControlKind kind) {
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &area, EDGE_ETCHED, kind == ControlKind::BareFrame ? BF_RECT : BF_TOP);
}

}  // namespace

DialogWindow::~DialogWindow() {
    if (!window_) return;
    // The subclass is gone already: the window must not call back into it while it dies.
    SetWindowLongPtrA(window_, DWLP_USER, 0);
    live_.erase(std::remove(live_.begin(), live_.end(), this), live_.end());
    DestroyWindow(window_);
}

void DialogWindow::Destroy() {
    if (window_) DestroyWindow(window_);
}

bool DialogWindow::CreateFromTable(const WindowLayout& layout, const std::vector<ControlLayout>& controls,
                                   HWND centreOver) {
    if (window_) return true;
    layout_ = &layout;
    controls_ = &controls;
    EmptyDialogTemplate dialog = {};
    dialog.header.style = FrameStyle | (layout.showsIcon ? 0 : DS_MODALFRAME);
    dialog.pointSize = 8;
    wcscpy(dialog.font, L"MS Sans Serif");
    CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, nullptr, Procedure,
                               reinterpret_cast<LPARAM>(this));
    if (!window_) return false;
    SizeAndCentre(centreOver);
    return true;
}

void DialogWindow::CreateControls() {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const ControlLayout& control : *controls_) {
        const ControlClass kind = ClassFor(control.kind);
        const RECT r = ControlRect(control, *controls_, dpi_);
        HWND child = CreateWindowExA(kind.exStyle, kind.name, control.caption, WS_CHILD | WS_VISIBLE | kind.style,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void DialogWindow::SizeAndCentre(HWND centreOver) {
    RECT frame = {0, 0, TwipsToPixels(layout_->clientWidth, dpi_), TwipsToPixels(layout_->clientHeight, dpi_)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    RECT area = PrimaryWorkArea();
    if (centreOver && IsWindowVisible(centreOver)) GetWindowRect(centreOver, &area);
    const LONG left = area.left + (area.right - area.left - width) / 2;
    const LONG top = area.top + (area.bottom - area.top - height) / 2;
    const RECT centred = {left, top, left + width, top + height};
    const RECT placed = KeptInside(centred, WorkAreaOf(centred));
    SetWindowPos(window_, nullptr, placed.left, placed.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
        live_.push_back(self);
    } else {
        self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = NoExceptionEscapes([&] { return self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        live_.erase(std::remove(live_.begin(), live_.end(), self), live_.end());
        self->OnDestroyed();
        // The program ends as soon as none of its windows is left.
        if (live_.empty()) PostQuitMessage(0);
    }
    return result;
}

INT_PTR DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            dpi_ = ScreenDpi();
            SetWindowTextA(window_, layout_->caption);
            CreateControls();
            for (const ControlLayout& control : *controls_)
                if (control.kind == ControlKind::DefaultPushButton) SendMessageA(window_, DM_SETDEFID, control.id, 0);
            Form_Load();
            // No focus yet: focusing a control would activate the hidden window, which then
            // never looks active (Wine) once it is shown. ShowActive gives the focus.
            return FALSE;
        case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_CLOSE: Destroy(); return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const ControlLayout* control = LayoutOf(static_cast<int>(item.CtlID));
            if (item.CtlType != ODT_STATIC || !control) return FALSE;
            DrawEtched(item, control->kind);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = OnLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<INT_PTR>(brush);
            return FALSE;
        default: return FALSE;
    }
}

void DialogWindow::ShowActive() {
    const bool opening = !IsWindowVisible(window_);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    if (!opening) return;
    HWND focus = InitialFocus();
    if (!focus) {
        SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(window_, nullptr, FALSE)),
                     TRUE);
        return;
    }
    SetFocus(focus);
    // Activation let the dialog manager select all of its text and scroll to the end.
    SendMessageA(focus, EM_SETSEL, 0, 0);
    SendMessageA(focus, EM_SCROLLCARET, 0, 0);
}

const ControlLayout* DialogWindow::LayoutOf(int id) const {
    if (controls_)
        for (const ControlLayout& control : *controls_)
            if (control.id == id) return &control;
    return nullptr;
}

int DialogWindow::RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        bool handled = false;
        for (DialogWindow* window : live_) {
            if (message.hwnd != window->window_ && !IsChild(window->window_, message.hwnd)) continue;
            handled = window->PreTranslate(message) || IsDialogMessageA(window->window_, &message);
            break;
        }
        if (handled) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
