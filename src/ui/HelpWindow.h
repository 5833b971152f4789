#pragma once
#include "ui/DialogWindow.h"

// frmHelp: the usage text, read-only, and a Close button. Esc does nothing here.
class HelpWindow : public DialogWindow {
public:
    // Opens the window unless it is open already, centred over centreOver.
    void Show(HWND centreOver);

    enum ControlId {
        Text1 = 401,
        cmdClose,
    };
    static const WindowLayout Layout;
    static const ControlTable Controls;

private:
    static const ControlLayout ControlRows[];
    static const char* const HelpText;

private:
    void Form_Load() override;
    HWND InitialFocus() override { return Control(Text1); }
    bool OnCommand(int id, int notification) override;
    bool PreTranslate(MSG& message) override;

    void cmdClose_Click();
};
