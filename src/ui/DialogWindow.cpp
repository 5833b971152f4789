#include "ui/DialogWindow.h"

#include <string.h>

#include <algorithm>

#include "base/CommonControls.h"
#include "base/WindowsVersion.h"
#include "runtime/String.h"
#include "ui/Dpi.h"
#include "ui/WorkArea.h"

DialogWindow* DialogWindow::firstLive_ = nullptr;

namespace {

// A fixed dialog frame: title bar and system menu, no sizing, no minimise or maximise box.
constexpr DWORD FrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;

// An empty in-memory template: the controls are made from the table once the font is known.
constexpr wchar_t DialogFont[] = L"MS Sans Serif";
constexpr int DialogFontPoints = 8;
// Below this a layout is past reading anyway; a window that still does not fit is kept
// inside the screen by its top left corner.
constexpr int MinimumDpi = 48;

struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
    WORD pointSize;
    wchar_t font[sizeof(DialogFont) / sizeof(DialogFont[0])];
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
            return {"STATIC",
                    DWORD{SS_BITMAP | SS_NOTIFY} | (StretchesStaticImages(GetVersion()) ? SS_REALSIZECONTROL : 0),
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

String TextOf(HWND window) {
    String text;
    text.resize(static_cast<size_t>(GetWindowTextLengthA(window)));
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size() + 1))));
    return text;
}

HICON LoadIconSized(int resourceId, int size) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, 0));
}

void DialogWindow::Unlink() {
    for (DialogWindow** link = &firstLive_; *link; link = &(*link)->nextLive_)
        if (*link == this) {
            *link = nextLive_;
            break;
        }
    nextLive_ = nullptr;
}

DialogWindow::~DialogWindow() {
    if (!window_) return;
    // The subclass is gone already: the window must not call back into it while it dies.
    SetWindowLongPtrA(window_, DWLP_USER, 0);
    Unlink();
    DestroyWindow(window_);
}

void DialogWindow::Destroy() {
    if (window_) DestroyWindow(window_);
}

bool DialogWindow::CreateFromTable(const WindowLayout& layout, ControlTable controls, HWND centreOver) {
    if (window_) return true;
    layout_ = &layout;
    controls_ = controls;
    EmptyDialogTemplate dialog = {};
    dialog.header.style = FrameStyle | (layout.showsIcon ? 0 : DS_MODALFRAME);
    dialog.pointSize = DialogFontPoints;
    memcpy(dialog.font, DialogFont, sizeof(DialogFont));
    centreOver_ = centreOver && IsWindowVisible(centreOver) ? centreOver : nullptr;
    LoadCommonControls();
    CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, nullptr, Procedure,
                               reinterpret_cast<LPARAM>(this));
    if (!window_) return false;
    SizeAndCentre();
    return true;
}

SIZE DialogWindow::FrameSize(UINT dpi) const {
    RECT frame = {0, 0, TwipsToPixels(layout_->clientWidth, dpi) + widened_, TwipsToPixels(layout_->clientHeight, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

RECT DialogWindow::TargetArea() const {
    if (!centreOver_) return PrimaryWorkArea();
    RECT owner = {};
    GetWindowRect(centreOver_, &owner);
    return WorkAreaOf(owner);
}

UINT DialogWindow::DpiThatFits(UINT screenDpi) const {
    const RECT area = TargetArea();
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    UINT dpi = screenDpi;
    // The title bar and borders do not shrink with the layout: a second pass takes them in.
    for (int pass = 0; pass < 3; ++pass) {
        const SIZE frame = FrameSize(dpi);
        if (frame.cx <= areaWidth && frame.cy <= areaHeight) break;
        const int byWidth = MulDiv(static_cast<int>(dpi), areaWidth, frame.cx);
        const int byHeight = MulDiv(static_cast<int>(dpi), areaHeight, frame.cy);
        const int fitted = byWidth < byHeight ? byWidth : byHeight;
        if (fitted < MinimumDpi) return MinimumDpi;
        dpi = static_cast<UINT>(fitted < static_cast<int>(dpi) ? fitted : static_cast<int>(dpi) - 1);
    }
    return dpi;
}

void DialogWindow::CreateControls(UINT screenDpi) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    if (dpi_ != screenDpi) {
        // Shrunk to fit the screen: the text shrinks with the controls.
        LOGFONTA scaled = {};
        GetObjectA(font, sizeof(scaled), &scaled);
        scaled.lfHeight = -MulDiv(DialogFontPoints, static_cast<int>(dpi_), 72);
        scaled.lfWidth = 0;
        fittedFont_.reset(CreateFontIndirectA(&scaled));
        if (fittedFont_) {
            font = static_cast<HFONT>(fittedFont_.get());
            SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const ControlLayout& control : controls_) {
        const ControlClass kind = ClassFor(control.kind);
        const RECT r = ControlRect(control, controls_, dpi_);
        HWND child = CreateWindowExA(kind.exStyle, kind.name, control.caption, WS_CHILD | WS_VISIBLE | kind.style,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

namespace {

// The text's height when wrapped at `width` pixels, or its width on one line (width 0).
SIZE MeasuredText(HWND label, int width) {
    const String text = TextOf(label);
    HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    RECT area = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CALCRECT | (width ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return SIZE{area.right - area.left, area.bottom - area.top};
}

}  // namespace

void DialogWindow::FitLabelsToText() {
    // The window is sized after this: its client area is the layout's.
    const int clientWidth = TwipsToPixels(layout_->clientWidth, dpi_);
    int widest = clientWidth;
    for (const ControlLayout& control : controls_) {
        if (control.kind != ControlKind::Label) continue;
        HWND label = Control(control.id);
        RECT place = {};
        GetWindowRect(label, &place);
        ScreenToClient(window_, reinterpret_cast<POINT*>(&place.left));
        ScreenToClient(window_, reinterpret_cast<POINT*>(&place.right));
        const int height = place.bottom - place.top;
        int width = place.right - place.left;
        // Another font than the layout was drawn with (another language's, large fonts) may
        // need more room: the label widens until its lines hold the text, never cut.
        if (MeasuredText(label, width).cy <= height) continue;
        const int oneLine = MeasuredText(label, 0).cx;
        do width = std::min(oneLine, width + height / 2 + 1);
        while (width < oneLine && MeasuredText(label, width).cy > height);
        if (width <= place.right - place.left) continue;
        SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The margin the layout gives on the right stays.
        widest = std::max(widest, static_cast<int>(place.left + width + std::max(0L, clientWidth - place.right)));
    }
    widened_ = widest - clientWidth;
}

void DialogWindow::SizeAndCentre() {
    const SIZE frame = FrameSize(dpi_);
    const int width = frame.cx;
    const int height = frame.cy;

    RECT area = PrimaryWorkArea();
    if (centreOver_) GetWindowRect(centreOver_, &area);
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
        self->nextLive_ = firstLive_;
        firstLive_ = self;
    } else {
        self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        self->Unlink();
        // The program ends as soon as none of its windows is left.
        if (!firstLive_) PostQuitMessage(0);
    }
    return result;
}

INT_PTR DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const UINT screenDpi = ScreenDpi();
            dpi_ = DpiThatFits(screenDpi);
            SetWindowTextA(window_, layout_->caption);
            CreateControls(screenDpi);
            for (const ControlLayout& control : controls_)
                if (control.kind == ControlKind::DefaultPushButton) SendMessageA(window_, DM_SETDEFID, control.id, 0);
            Form_Load();
            FitLabelsToText();
            // No focus yet: focusing a control would activate the hidden window, which then
            // never looks active (Wine) once it is shown. ShowActive gives the focus.
            return FALSE;
        }
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
    for (const ControlLayout& control : controls_)
        if (control.id == id) return &control;
    return nullptr;
}

int DialogWindow::RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        bool handled = false;
        for (DialogWindow* window = firstLive_; window; window = window->nextLive_) {
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
