#pragma once
#include <utility>

#include "ExitCodes.h"
#include "Prompt.h"
#include "base/UniqueHandle.h"
#include "ui/DialogWindow.h"

// Interactive setup's one window: what setup does, the folder to install into (typed or
// browsed for), Install and Cancel. Install says what is wrong with a folder it cannot use
// and lets the user choose again; once it has installed, or failed, it says so and the
// window closes.
class SetupWindow : public DialogWindow {
public:
    explicit SetupWindow(String folder) : folder_(std::move(folder)) {}

    bool Show();
    // A SetupExit code: Cancelled until Install has run.
    int exitCode() const { return exitCode_; }

    enum ControlId {
        txtFolder = 101,
        cmdBrowse,
        cmdInstall,
        cmdCancel = IDCANCEL,  // Esc presses Cancel
        lblFolder = 201,
        lblIntro,
        picIcon,
        linButtons,
    };
    static const WindowLayout Layout;
    static const ControlTable Controls;

private:
    static const ControlLayout ControlRows[];

    void Form_Load() override;
    HWND InitialFocus() override { return Control(txtFolder); }
    bool OnCommand(int id, int notification) override;

    void cmdInstall_Click();
    void cmdBrowse_Click();
    void cmdCancel_Click() { Destroy(); }

    String folder_;
    int exitCode_ = SetupExit::Cancelled;
    Prompt prompt_ = Prompt(false, "Jukelet Setup");
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    IconHandle pictureIcon_;
};
