#include "SetupWindow.h"

#include "ExitCodes.h"
#include "FolderBrowser.h"
#include "InstallFolder.h"
#include "InstallSteps.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "version.h"

namespace {

constexpr int IconResource = 1;
constexpr const char* FolderName = "\\Jukelet";

constexpr const char* InstalledMessage =
    "Jukelet is installed.\r\n\r\nOpen Jukelet from the Start menu to add its buttons to Internet Explorer's toolbar.";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() &&
           lstrcmpiA(String(text.substr(text.size() - end.size())).c_str(), String(end).c_str()) == 0;
}

}  // namespace

// clang-format off
const WindowLayout SetupWindow::Layout = {"Jukelet Setup", 6600, 2640, true};

// In tab order.
const ControlLayout SetupWindow::ControlRows[] = {
    //  id         kind                            inside caption                                      left   top  width height
    {lblFolder,  ControlKind::Label,             0, "Install Jukelet in this &folder:",               240, 1080, 6120,  255},
    {txtFolder,  ControlKind::TextBox,           0, "",                                                240, 1350, 4800,  315},
    {cmdBrowse,  ControlKind::PushButton,        0, "Bro&wse...",                                     5160, 1335, 1200,  345},
    {cmdInstall, ControlKind::DefaultPushButton, 0, "&Install",                                       3720, 2100, 1215,  375},
    {cmdCancel,  ControlKind::PushButton,        0, "Cancel",                                         5145, 2100, 1215,  375},
    {picIcon,    ControlKind::IconPicture,       0, "",                                                240,  240,  480,  480},
    {lblIntro,   ControlKind::Label,             0, "Setup will install Jukelet " JUKELET_VERSION_TEXT
                                                    ", which drives Winamp from seven buttons on Internet "
                                                    "Explorer's toolbar.",                             960,  270, 5400,  600},
    // A line from (120, 1890) to (6480, 1890).
    {linButtons, ControlKind::Line,              0, "",                                                120, 1890, 6360,   30},
};
const ControlTable SetupWindow::Controls = ControlRows;
// clang-format on

bool SetupWindow::Show() {
    if (!CreateFromTable(Layout, Controls, nullptr)) return false;
    ShowActive();
    return true;
}

void SetupWindow::Form_Load() {
    bigIcon_.reset(LoadIconSized(IconResource, GetSystemMetrics(SM_CXICON)));
    smallIcon_.reset(LoadIconSized(IconResource, GetSystemMetrics(SM_CXSMICON)));
    SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    pictureIcon_.reset(LoadIconSized(IconResource, TwipsToPixels(LayoutOf(picIcon)->width, dpi())));
    SendMessageA(Control(picIcon), STM_SETICON, reinterpret_cast<WPARAM>(pictureIcon_.get()), 0);
    SetWindowTextA(Control(txtFolder), folder_.c_str());
    prompt_.SetOwner(handle());
}

bool SetupWindow::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) return false;
    switch (id) {
        case cmdInstall: cmdInstall_Click(); return true;
        case cmdBrowse: cmdBrowse_Click(); return true;
        case cmdCancel: cmdCancel_Click(); return true;
        default: return false;
    }
}

void SetupWindow::cmdInstall_Click() {
    const String typed = Trim(TextOf(Control(txtFolder)), " \t");
    const FolderVerdict verdict = CheckInstallFolder(typed);
    if (verdict != FolderVerdict::Usable) {
        prompt_.Tell(FolderRefusal(verdict, typed), MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Control(txtFolder));
        return;
    }
    const String folder = WholePath(TidyFolder(typed));
    const String other = OtherCopyToRemove(folder);
    if (!other.empty() && prompt_.Ask(Concat("Jukelet is installed in ", other,
                                             ".\r\n\r\nSetup will remove that copy, then install "
                                             "Jukelet into ",
                                             folder, "."),
                                      MB_OKCANCEL | MB_ICONINFORMATION, IDOK) != IDOK)
        return;

    for (int id : {txtFolder, cmdBrowse, cmdInstall, cmdCancel}) EnableWindow(Control(id), FALSE);
    exitCode_ = InstallInto(folder, prompt_);
    if (exitCode_ == SetupExit::Installed) prompt_.Tell(InstalledMessage, MB_OK | MB_ICONINFORMATION);
    Destroy();
}

void SetupWindow::cmdBrowse_Click() {
    const String typed = TidyFolder(Trim(TextOf(Control(txtFolder)), " \t"));
    String chosen = BrowseForFolder(handle(), "Choose the folder to install Jukelet in:", TrimFileName(typed));
    if (chosen.empty()) return;
    // As the folder suggested at first: Jukelet's own, inside the one chosen.
    chosen = TidyFolder(chosen);
    if (!EndsWith(chosen, FolderName)) chosen += FolderName;
    SetWindowTextA(Control(txtFolder), chosen.c_str());
}
