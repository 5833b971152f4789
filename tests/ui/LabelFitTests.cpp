// A label's text is never cut, whatever font the system puts in place of the layout's: the
// window of the program's own kind, built here from a table with labels too small for their
// text, as another language's fonts or "large fonts" make them.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/DialogWindow.h"
#include "ui/UiDriver.h"

namespace {

enum { OneLine = 301, TwoLines, Fitting };

const WindowLayout Layout = {"Labels", 2400, 1500, false};
// clang-format off
const ControlLayout Rows[] = {
    {OneLine,  ControlKind::Label, 0, "Control Winamp playback directly from your Internet Explorer window.", 120, 120, 1500, 255},
    {TwoLines, ControlKind::Label, 0, "Remove all Winamp control icons from Internet Explorer for ALL users on this computer.", 120, 600, 1500, 450},
    {Fitting,  ControlKind::Label, 0, "Jukelet", 120, 1200, 1500, 255},
};
// clang-format on

class LabelWindow : public DialogWindow {
public:
    bool Open() { return CreateFromTable(Layout, Rows, nullptr); }

private:
    bool OnCommand(int, int) override { return false; }
};

// The height the label's own text takes, wrapped at its width, in its own font.
int TextHeight(HWND label) {
    char text[256];
    GetWindowTextA(label, text, sizeof(text));
    RECT area = {};
    GetClientRect(label, &area);
    HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text, -1, &area, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return area.bottom - area.top;
}

TEST(LabelFit, ALabelTooSmallForItsTextWidensAndTheWindowWithIt) {
    LabelWindow window;
    ASSERT_TRUE(window.Open());
    const int tableWidth = TwipsToPixels(1500, window.dpi());
    RECT client = {};
    GetClientRect(window.handle(), &client);
    for (int id : {OneLine, TwoLines}) {
        SCOPED_TRACE(id);
        const RECT place = RectInClient(window.Control(id), window.handle());
        EXPECT_LE(TextHeight(window.Control(id)), place.bottom - place.top) << "the text is cut";
        EXPECT_GT(place.right - place.left, tableWidth);
        EXPECT_LE(place.right, client.right) << "the label runs past the window";
    }
    const RECT fitting = RectInClient(window.Control(Fitting), window.handle());
    EXPECT_EQ(fitting.right - fitting.left, tableWidth) << "a label its text fits was changed";
    // The layout's own right margin is kept beside the widest label.
    const int right = std::max(RectInClient(window.Control(OneLine), window.handle()).right,
                               RectInClient(window.Control(TwoLines), window.handle()).right);
    EXPECT_EQ(client.right - right, TwipsToPixels(2400, window.dpi()) - TwipsToPixels(1620, window.dpi()));
}

}  // namespace
