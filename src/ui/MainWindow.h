#pragma once
#include "base/UniqueHandle.h"
#include "registry/Registry.h"
#include "ui/DialogWindow.h"

class AboutWindow;
class HelpWindow;

// frmMain: installs and removes the toolbar buttons, relocates Winamp.exe, opens About
// and Help, and ends the program from its Close button.
class MainWindow : public DialogWindow {
public:
    MainWindow(AboutWindow& about, HelpWindow& help) : about_(about), help_(help) {}

    // Creates the window without showing it: it owns the start-up file selector.
    HWND CreateHidden();
    void Show();

    HICON PictureIcon() const { return pictureIcon_.get(); }

    enum ControlId {
        cmdAddUser = 101,
        cmdAddMachine,
        cmdRemoveAllButtons,
        txtWinampExe,
        cmdBrowse,
        Command1,
        cmdAbout,
        cmdClose = IDCANCEL,  // Esc presses Close
        DialogText0 = 201,
        DialogText1,
        DialogText2,
        DialogText3,
        Label1,
        Frame1,
        fraWinampLocation,
        Picture1,
        Line1,
    };
    static const WindowLayout Layout;
    static const ControlTable Controls;

private:
    static const ControlLayout ControlRows[];

    void Form_Load() override;
    bool OnCommand(int id, int notification) override;
    HBRUSH OnLabelColour(HDC dc, HWND label) override;

    void cmdAddUser_Click();
    void cmdAddMachine_Click();
    void cmdRemoveAllButtons_Click();
    void cmdBrowse_Click();
    void cmdClose_Click();
    void cmdAbout_Click();
    void Command1_Click();

    void ShowWinampPath();
    void AddButtonsFor(ScopeRoot root, const char* addedFor, const char* button, const char* failedMessage);

    AboutWindow& about_;
    HelpWindow& help_;
    GdiObject titleFont_;
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    IconHandle pictureIcon_;
};
