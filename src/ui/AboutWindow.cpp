#include "ui/AboutWindow.h"

#include "base/SharedState.h"
#include "resource.h"
#include "ui/BrowserLink.h"
#include "ui/SupportLinks.h"
#include "ui/VersionLine.h"
#include "version.h"

namespace {

constexpr COLORREF LinkBlue = 0x00FF0000;
constexpr COLORREF Black = 0x00000000;

}  // namespace

// clang-format off
const WindowLayout AboutWindow::Layout = {"About", 5730, 2610, false};

// In tab order.
const ControlLayout AboutWindow::ControlRows[] = {
    //  id             kind                            inside caption                                                          left  top   width height
    {cmdOK,           ControlKind::DefaultPushButton, 0, "OK",                                                               4320, 2040, 1260, 345},
    {picIcon,         ControlKind::IconPicture,       0, "",                                                                  240,  240,  540, 540},
    {lblDescription0, ControlKind::Label,             0, "Control Winamp playback from your Internet Explorer toolbar.",    1050,  960, 4365, 330},
    {lblURL,          ControlKind::Label,             0, ProductWebAddress,                                                  1590, 1965, 2595, 225},
    {lblTitle,        ControlKind::Label,             0, "Jukelet",                                                          1080,  240, 3885, 360},
    {lblVersion,      ControlKind::Label,             0, "",                                                                 1050,  600, 3885, 225},
    {lblDescription1, ControlKind::Label,             0, JUKELET_COPYRIGHT,                                                  1080, 1320, 4605, 210},
    {Frame1,          ControlKind::BareFrame,         0, "",                                                                  120, 1680, 5535, 135},
    {lblEmail,        ControlKind::Label,             0, SupportEmail,                                                       1590, 2205, 2430, 225},
    {Picture1,        ControlKind::BitmapPicture,     0, "",                                                                  150, 1965, 1380, 525},
};
const ControlTable AboutWindow::Controls = ControlRows;
// clang-format on

void AboutWindow::Show(HICON programIcon) {
    sourceIcon_ = programIcon;
    if (!exists() && !CreateFromTable(Layout, Controls, nullptr)) return;
    ShowActive();
}

void AboutWindow::Form_Load() {
    icon_.reset(sourceIcon_ ? CopyIcon(sourceIcon_) : nullptr);
    SendMessageA(Control(picIcon), STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);

    banner_.reset(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0));
    SendMessageA(Control(Picture1), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));

    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    font.lfUnderline = TRUE;
    underlinedFont_.reset(CreateFontIndirectA(&font));

    SetWindowTextA(handle(), "About");
    SetWindowTextA(Control(lblVersion), OwnVersionLine().c_str());
    SetWindowTextA(Control(lblTitle), AppTitle);
}

HBRUSH AboutWindow::OnLabelColour(HDC dc, HWND label) {
    const int id = GetDlgCtrlID(label);
    if (id == lblEmail || id == lblURL)
        SetTextColor(dc, LinkBlue);
    else if (id == lblTitle || id == lblDescription0 || id == lblDescription1)
        SetTextColor(dc, Black);
    else
        return nullptr;
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

bool AboutWindow::PreTranslate(MSG& message) {
    if (message.message != WM_MOUSEMOVE) return false;
    if (message.hwnd == handle())
        Form_MouseMove();
    else if (message.hwnd == Control(lblEmail))
        lblEmail_MouseMove();
    else if (message.hwnd == Control(lblURL))
        lblURL_MouseMove();
    return false;
}

bool AboutWindow::OnCommand(int id, int notification) {
    if (id == cmdOK || id == IDCANCEL) {
        cmdOK_Click();
        return true;
    }
    if (notification != STN_CLICKED) return false;
    if (id == lblEmail) lblEmail_Click();
    if (id == lblURL) lblURL_Click();
    return id == lblEmail || id == lblURL;
}

void AboutWindow::Underline(int labelId, bool underlined) {
    // The label's own font says whether it is underlined: nothing to remember, so a new
    // window starts plain whatever the last one showed.
    HWND label = Control(labelId);
    HFONT font = underlined ? static_cast<HFONT>(underlinedFont_.get())
                            : reinterpret_cast<HFONT>(SendMessageA(handle(), WM_GETFONT, 0, 0));
    if (reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)) == font) return;
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void AboutWindow::Form_MouseMove() {
    Underline(lblEmail, false);
    Underline(lblURL, false);
}

void AboutWindow::lblEmail_MouseMove() {
    Underline(lblEmail, true);
    Underline(lblURL, false);
}

void AboutWindow::lblURL_MouseMove() {
    Underline(lblURL, true);
    Underline(lblEmail, false);
}

void AboutWindow::lblEmail_Click() {
    const String mailLink = Concat("mailto:", SupportEmail, "?subject=", SupportMailSubject);
    OpenLink(mailLink.c_str(), handle());
}

void AboutWindow::lblURL_Click() { OpenLink(ProductWebAddress, handle()); }

void AboutWindow::cmdOK_Click() { Destroy(); }
