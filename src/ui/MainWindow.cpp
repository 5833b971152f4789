#include "ui/MainWindow.h"

#include "base/CodePage.h"
#include "base/SharedState.h"
#include "base/UserMessage.h"
#include "base/WindowsVersion.h"
#include "resource.h"
#include "toolbar/ToolbarButtons.h"
#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"
#include "winamp/FileExist.h"
#include "winamp/FileSelector.h"
#include "winamp/Locator.h"

namespace {

constexpr const char* UnknownPathText = "Unknown - Please click Browse to select ... ->>";

constexpr const char* AddHint =
    "If the buttons do not immediately appear on your IE toolbar, right-click the toolbar \r"
    "and click 'Customize...' then add the buttons manually.";

constexpr const char* MachineAddFailedMessage =
    "The icons could not be added for all users.\r\r"
    "Adding icons for every user of this computer needs administrator rights: "
    "close Jukelet, start it again as an administrator (right-click it and choose "
    "'Run as administrator') and click 'Add to this Machine' again.";
constexpr const char* UserAddFailedMessage =
    "The icons could not be added for the current user.\r\r"
    "Your settings could not be changed. Check that you may change Internet Explorer's "
    "settings on this computer, then click 'Add to Current User' again.";

constexpr const char* RemoveQuestion =
    "This will remove all Winamp control buttons from Internet Explorer,\r"
    "and applies to ALL users.\r\rContinue?";

constexpr COLORREF TitleBlue = 0x00FF0000;

// Arial 14.25 point, bold, at the window's DPI; ClearType where the system has it (XP on).
HFONT CreateTitleFont(UINT dpi) {
    const DWORD quality = HasClearType(GetVersion()) ? CLEARTYPE_QUALITY : DEFAULT_QUALITY;
    return CreateFontA(-MulDiv(1425, static_cast<int>(dpi), 7200), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH | FF_SWISS,
                       "Arial");
}

}  // namespace

// clang-format off
const WindowLayout MainWindow::Layout = {"Jukelet Configuration", 5955, 4680, true};

// In tab order; positions inside a frame are relative to the frame.
const ControlLayout MainWindow::ControlRows[] = {
    //  id                    kind                            inside      caption                                                                   left  top   width height
    {cmdAddUser,          ControlKind::DefaultPushButton, Frame1,            "&Add to Current User",                                               240,  360, 1695, 375},
    {cmdAddMachine,       ControlKind::PushButton,        Frame1,            "Add to this &Machine",                                               240,  960, 1695, 375},
    {cmdRemoveAllButtons, ControlKind::PushButton,        Frame1,            "&Remove All",                                                        240, 1560, 1695, 375},
    {txtWinampExe,        ControlKind::TextBox,           fraWinampLocation, UnknownPathText,                                                       180,  270, 3855, 285},
    {cmdBrowse,           ControlKind::PushButton,        fraWinampLocation, "Bro&wse...",                                                         4200,  240, 1215, 330},
    {Command1,            ControlKind::PushButton,        0,                 "&Help",                                                              1320, 4200, 1335, 375},
    {cmdAbout,            ControlKind::PushButton,        0,                 "A&bout",                                                             2880, 4200, 1335, 375},
    {DialogText1,         ControlKind::Label,             Frame1,            "Add Winamp control icons for the currently logged-on user only.",   2040,  360, 3375, 450},
    {cmdClose,            ControlKind::PushButton,        0,                 "&Close",                                                             4440, 4200, 1335, 375},
    {Frame1,              ControlKind::Frame,             0,                 "Toolbar Buttons",                                                     120, 1080, 5655, 2175},
    {Picture1,            ControlKind::IconPicture,       0,                 "",                                                                    210,  180,  480, 480},
    {DialogText0,         ControlKind::Label,             0,                 "Jukelet",                                                             855,  165, 2865, 330},
    {Label1,              ControlKind::Label,             0,                 "Control Winamp playback directly from your Internet Explorer window.", 795,  495, 5055, 255},
    {fraWinampLocation,   ControlKind::Frame,             0,                 "Winamp Location",                                                     120, 3360, 5655, 735},
    {DialogText2,         ControlKind::Label,             Frame1,            "Add icons for all users on this computer",                          2040, 1005, 3375, 270},
    {DialogText3,         ControlKind::Label,             Frame1,            "Remove all Winamp control icons from Internet Explorer for ALL users.", 2040, 1560, 3375, 450},
    // A line from (120, 840) to (5760, 840).
    {Line1,               ControlKind::Line,              0,                 "",                                                                    120,  840, 5640,  30},
};
const ControlTable MainWindow::Controls = ControlRows;
// clang-format on

HWND MainWindow::CreateHidden() {
    if (!exists()) CreateFromTable(Layout, Controls, nullptr);
    return handle();
}

void MainWindow::Show() {
    if (!CreateHidden()) return;
    ShowWinampPath();
    ShowActive();
}

void MainWindow::ShowWinampPath() {
    SetWindowTextA(Control(txtWinampExe), WinampPath.empty() ? UnknownPathText : WinampPath.c_str());
}

void MainWindow::Form_Load() {
    const int bigSize = GetSystemMetrics(SM_CXICON);
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    bigIcon_.reset(LoadIconSized(IDI_JUKELET, bigSize));
    smallIcon_.reset(LoadIconSized(IDI_JUKELET, smallSize));
    SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    pictureIcon_.reset(LoadIconSized(IDI_PICTURE, TwipsToPixels(LayoutOf(Picture1)->width, dpi())));
    SendMessageA(Control(Picture1), STM_SETICON, reinterpret_cast<WPARAM>(pictureIcon_.get()), 0);

    titleFont_.reset(CreateTitleFont(dpi()));
    SendMessageA(Control(DialogText0), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);

    ShowWinampPath();
}

HBRUSH MainWindow::OnLabelColour(HDC dc, HWND label) {
    if (label != Control(DialogText0)) return nullptr;
    SetTextColor(dc, TitleBlue);
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

bool MainWindow::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) return false;
    switch (id) {
        case cmdAddUser: cmdAddUser_Click(); return true;
        case cmdAddMachine: cmdAddMachine_Click(); return true;
        case cmdRemoveAllButtons: cmdRemoveAllButtons_Click(); return true;
        case cmdBrowse: cmdBrowse_Click(); return true;
        case cmdClose: cmdClose_Click(); return true;
        case cmdAbout: cmdAbout_Click(); return true;
        case Command1: Command1_Click(); return true;
        default: return false;
    }
}

void MainWindow::cmdAddUser_Click() {
    AddButtonsFor(HKEY_CURRENT_USER, "the current user", "Add to Current User", UserAddFailedMessage);
}

void MainWindow::cmdAddMachine_Click() {
    AddButtonsFor(HKEY_LOCAL_MACHINE, "all users", "Add to this Machine", MachineAddFailedMessage);
}

void MainWindow::AddButtonsFor(ScopeRoot root, const char* addedFor, const char* button, const char* failedMessage) {
    // Keys naming files by lost letters would point nowhere: nothing is written.
    if (HasLostLetters(LinksPath)) {
        const String text = Concat("The icons could not be added for ", addedFor, ".\r\r", LostLettersReason(LinksPath),
                                   " Move Jukelet to a folder whose name has only letters of that language, or rename "
                                   "the folder, then click '",
                                   button, "' again.");
        ShowMessage(handle(), text.c_str(), "Add", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (AddAllButtons(root)) {
        ShowMessage(handle(), Concat("Icons added to ", addedFor, ". \r\r", AddHint).c_str(), "Add",
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    const String link = ButtonBlockingLink(root, false);
    const String text =
        link.empty() ? String(failedMessage)
                     : Concat("The icons could not be added for ", addedFor,
                              ".\r\rAnother program's registry link stands where Jukelet keeps its buttons:\r", link,
                              "\r\rJukelet does not write through another program's link. Remove the link, or ask "
                              "the program that made it, then click '",
                              button, "' again.");
    ShowMessage(handle(), text.c_str(), "Add", MB_OK | MB_ICONEXCLAMATION);
}

void MainWindow::cmdRemoveAllButtons_Click() {
    if (ShowMessage(handle(), RemoveQuestion, "Remove Buttons", MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
    RemoveAllButtons(HKEY_LOCAL_MACHINE);
    RemoveAllButtons(HKEY_CURRENT_USER);

    // Say where buttons were left behind, and why: another program's link in a button's key,
    // or a key without the right to delete it.
    const bool machineLeft = AnyButtonInstalled(HKEY_LOCAL_MACHINE);
    const bool userLeft = AnyButtonInstalled(HKEY_CURRENT_USER);
    if (!machineLeft && !userLeft) return;
    const char* where = machineLeft && userLeft ? "all users and for the current user"
                        : machineLeft           ? "all users"
                                                : "the current user";
    String link = ButtonBlockingLink(HKEY_LOCAL_MACHINE, true);
    if (link.empty()) link = ButtonBlockingLink(HKEY_CURRENT_USER, true);
    const String reason =
        !link.empty() ? Concat("Another program's registry link stands where Jukelet keeps its buttons:\r", link,
                               "\r\rJukelet never deletes another program's link, nor the key it lies in. Remove "
                               "the link, or ask the program that made it, then click 'Remove All' again.")
        : machineLeft ? String(
                            "Removing buttons for every user needs administrator rights: start Jukelet as an "
                            "administrator and click 'Remove All' again.")
                      : String(
                            "Check that you may change your own Internet Explorer settings, then click "
                            "'Remove All' again.");
    const String text = Concat("Some toolbar buttons could not be removed for ", where, ".\r\r", reason);
    ShowMessage(handle(), text.c_str(), "Remove Buttons", MB_OK | MB_ICONEXCLAMATION);
}

void MainWindow::cmdBrowse_Click() {
    if (const std::optional<String> chosen = ChooseWinampFile(handle(), BrowseSelectorTitle)) {
        WinampPath = *chosen;
        SetWindowTextA(Control(txtWinampExe), WinampPath.c_str());
        return;
    }
    if (!FileExist(TextOf(Control(txtWinampExe))))
        ShowMessage(handle(), NotLocatedWarning, AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void MainWindow::cmdClose_Click() {
    if (FileExist(WinampPath)) SaveWinampPathOrSayWhy(handle(), WinampPath);
    // The program ends with its last window.
    about_.Destroy();
    help_.Destroy();
    Destroy();
}

void MainWindow::cmdAbout_Click() { about_.Show(PictureIcon()); }

void MainWindow::Command1_Click() { help_.Show(handle()); }
