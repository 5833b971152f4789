#pragma once
#include "base/UniqueHandle.h"
#include "ui/DialogWindow.h"

// frmAbout: the program's name, version and description, and the two support links.
class AboutWindow : public DialogWindow {
public:
    // Opens the window unless it is open already; the icon is copied.
    void Show(HICON programIcon);

    enum ControlId {
        cmdOK = IDOK,  // Enter and Esc both close the window
        picIcon = 301,
        lblDescription0,
        lblURL,
        lblTitle,
        lblVersion,
        lblDescription1,
        Frame1,
        lblEmail,
        Picture1,
    };
    static const WindowLayout Layout;
    static const ControlTable Controls;

private:
    static const ControlLayout ControlRows[];

    void Form_Load() override;
    bool OnCommand(int id, int notification) override;
    HBRUSH OnLabelColour(HDC dc, HWND label) override;
    bool PreTranslate(MSG& message) override;

    void Form_MouseMove();
    void lblEmail_MouseMove();
    void lblURL_MouseMove();
    void lblEmail_Click();
    void lblURL_Click();
    void cmdOK_Click();

    void Underline(int labelId, bool underlined);

    HICON sourceIcon_ = nullptr;
    IconHandle icon_;
    GdiObject banner_;
    GdiObject underlinedFont_;
};
