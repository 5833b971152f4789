// Where each window's controls sit, what they say and how they look, at 96 and 144 DPI.
// The places are the documented twips, kept here apart from the program's own tables.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "base/UniqueHandle.h"
#include "resource.h"
#include "support/TestEnvironment.h"
#include "ui/UiDriver.h"

namespace {

// How the test finds a control: as a user would, by kind and text.
enum class Kind {
    Button,
    Frame,
    Label,
    LabelWith,  // a label whose text is left to the program: found by a part of it
    Edit,
    Icon,
    Bitmap,
    Rule,
};

struct Origin {
    int left, top;
};
constexpr Origin Client = {0, 0};
// Controls inside a frame are placed relative to the frame.
constexpr Origin Frame1 = {120, 1080};
constexpr Origin fraWinampLocation = {120, 3360};

struct Placed {
    const char* name;
    Kind kind;
    const char* text;  // exact caption; nullptr where the kind alone finds it
    Origin inside;
    int left, top, width, height;  // twips
};

struct WindowLayout {
    int clientWidth, clientHeight;  // twips
    std::vector<Placed> controls;
};

// clang-format off
const WindowLayout MainLayout = {5955, 4680, {
    {"Command1",            Kind::Button, "&Help",                Client,            1320, 4200, 1335,  375},
    {"fraWinampLocation",   Kind::Frame,  "Winamp Location",      Client,             120, 3360, 5655,  735},
    {"cmdBrowse",           Kind::Button, "Bro&wse...",           fraWinampLocation, 4200,  240, 1215,  330},
    {"txtWinampExe",        Kind::Edit,   nullptr,                fraWinampLocation,  180,  270, 3855,  285},
    {"cmdAbout",            Kind::Button, "A&bout",               Client,            2880, 4200, 1335,  375},
    {"cmdClose",            Kind::Button, "&Close",               Client,            4440, 4200, 1335,  375},
    {"Picture1",            Kind::Icon,   nullptr,                Client,             210,  180,  480,  480},
    {"Frame1",              Kind::Frame,  "Toolbar Buttons",      Client,             120, 1080, 5655, 2175},
    {"cmdAddMachine",       Kind::Button, "Add to this &Machine", Frame1,             240,  960, 1695,  375},
    {"cmdAddUser",          Kind::Button, "&Add to Current User", Frame1,             240,  360, 1695,  375},
    {"cmdRemoveAllButtons", Kind::Button, "&Remove All",          Frame1,             240, 1560, 1695,  375},
    {"DialogText(3)",       Kind::Label,  "Remove all Winamp control icons from Internet Explorer for ALL users.",
                                                                  Frame1,            2040, 1560, 3375,  450},
    {"DialogText(2)",       Kind::Label,  "Add icons for all users on this computer",
                                                                  Frame1,            2040, 1005, 3375,  270},
    {"DialogText(1)",       Kind::Label,  "Add Winamp control icons for the currently logged-on user only.",
                                                                  Frame1,            2040,  360, 3375,  450},
    // The line from (120, 840) to (5760, 840): one or two pixels high.
    {"Line1",               Kind::Rule,   nullptr,                Client,             120,  840, 5640,    0},
    {"Label1",              Kind::Label,  "Control Winamp playback directly from your Internet Explorer window.",
                                                                  Client,             795,  495, 5055,  255},
    {"DialogText(0)",       Kind::Label,  "Jukelet",              Client,             855,  165, 2865,  330},
}};

const WindowLayout AboutLayout = {5730, 2610, {
    {"Picture1",          Kind::Bitmap, nullptr,          Client,  150, 1965, 1380, 525},
    {"Frame1",            Kind::Rule,   nullptr,          Client,  120, 1680, 5535, 135},
    {"picIcon",           Kind::Icon,   nullptr,          Client,  240,  240,  540, 540},
    {"cmdOK",             Kind::Button, "OK",             Client, 4320, 2040, 1260, 345},
    {"lblEmail",          Kind::LabelWith, "@",              Client, 1590, 2205, 2430, 225},
    {"lblDescription(1)", Kind::LabelWith, "Copyright",      Client, 1080, 1320, 4605, 210},
    {"lblDescription(0)", Kind::Label,  "Control Winamp playback from your Internet Explorer toolbar.",
                                                          Client, 1050,  960, 4365, 330},
    {"lblTitle",          Kind::Label,  "Jukelet",        Client, 1080,  240, 3885, 360},
    {"lblVersion",        Kind::Label,  "Version 1.0.34", Client, 1050,  600, 3885, 225},
    {"lblURL",            Kind::LabelWith, "http://",        Client, 1590, 1965, 2595, 225},
}};

const WindowLayout HelpLayout = {4680, 3540, {
    {"cmdClose", Kind::Button, "&Close", Client, 3240, 3120, 1215,  375},
    {"Text1",    Kind::Edit,   nullptr,  Client,  120,  120, 4455, 2895},
}};
// clang-format on

int Px(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

LONG StaticType(HWND control) { return GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK; }

bool Matches(HWND control, const Placed& placed) {
    const std::string className = ClassNameOf(control);
    const std::string text = WindowText(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    switch (placed.kind) {
        case Kind::Button: return className == "Button" && (style & BS_TYPEMASK) != BS_GROUPBOX && text == placed.text;
        case Kind::Frame: return className == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX && text == placed.text;
        case Kind::Edit: return className == "Edit";
        case Kind::Icon: return className == "Static" && StaticType(control) == SS_ICON;
        case Kind::Bitmap: return className == "Static" && StaticType(control) == SS_BITMAP;
        case Kind::Rule:
            return text.empty() &&
                   ((className == "Static" && StaticType(control) != SS_ICON && StaticType(control) != SS_BITMAP) ||
                    (className == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX));
        case Kind::Label: return className == "Static" && StaticType(control) <= SS_RIGHT && text == placed.text;
        case Kind::LabelWith:
            return className == "Static" && StaticType(control) <= SS_RIGHT &&
                   text.find(placed.text) != std::string::npos;
    }
    return false;
}

// Each documented control, found once and only once among the window's children.
std::map<std::string, HWND> FindControls(HWND window, const WindowLayout& layout) {
    std::map<std::string, HWND> found;
    const std::vector<HWND> children = ChildWindows(window);
    for (const Placed& placed : layout.controls) {
        std::vector<HWND> candidates;
        for (HWND child : children)
            if (Matches(child, placed)) candidates.push_back(child);
        EXPECT_EQ(candidates.size(), 1u) << placed.name << " (\"" << (placed.text ? placed.text : "") << "\")";
        if (candidates.size() == 1) found[placed.name] = candidates[0];
    }
    EXPECT_EQ(children.size(), layout.controls.size()) << "controls that the window should not have";
    return found;
}

RECT Expected(const Placed& placed, UINT dpi) {
    const int left = Px(placed.inside.left + placed.left, dpi);
    const int top = Px(placed.inside.top + placed.top, dpi);
    return RECT{left, top, left + Px(placed.width, dpi), top + Px(placed.height, dpi)};
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") " + std::to_string(r.right - r.left) +
           " x " + std::to_string(r.bottom - r.top);
}

// Every control where the twips put it at this DPI, within `slack` pixels (rounding).
void ExpectLayout(HWND window, const WindowLayout& layout, UINT dpi, int slack) {
    ASSERT_TRUE(window);
    const SIZE client = ClientSize(window);
    EXPECT_NEAR(client.cx, Px(layout.clientWidth, dpi), slack) << "client width";
    EXPECT_NEAR(client.cy, Px(layout.clientHeight, dpi), slack) << "client height";

    const std::map<std::string, HWND> controls = FindControls(window, layout);
    for (const Placed& placed : layout.controls) {
        auto it = controls.find(placed.name);
        if (it == controls.end()) continue;
        const RECT actual = RectInClient(it->second, window);
        const RECT expected = Expected(placed, dpi);
        SCOPED_TRACE(std::string(placed.name) + " is at " + Describe(actual) + ", expected " + Describe(expected));
        EXPECT_NEAR(actual.left, expected.left, slack);
        EXPECT_NEAR(actual.top, expected.top, slack);
        EXPECT_NEAR(actual.right - actual.left, expected.right - expected.left, slack);
        if (placed.kind == Kind::Rule && placed.height == 0) {
            EXPECT_GE(actual.bottom - actual.top, 1);
            EXPECT_LE(actual.bottom - actual.top, Px(30, dpi) + slack);
        } else {
            EXPECT_NEAR(actual.bottom - actual.top, expected.bottom - expected.top, slack);
        }
    }
}

// A fixed dialog frame: a title bar, no sizing border, no minimise or maximise box.
void ExpectFixedDialogFrame(HWND window) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
}

void ExpectCentredOnScreen(HWND window) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    EXPECT_NEAR(frame.left + frame.right, area.left + area.right, 2) << Describe(frame);
    EXPECT_NEAR(frame.top + frame.bottom, area.top + area.bottom, 2) << Describe(frame);
}

// Every caption fits its control in the dialog font (MS Sans Serif, 8 point) at this DPI:
// a label's wrapped lines fit its height, a button's text its width. `ownFont` names a
// label with a font of its own, left out.
void ExpectCaptionsFit(HWND window, UINT dpi, const std::string& ownFont = "") {
    HDC memory = CreateCompatibleDC(nullptr);
    GdiObject font(CreateFontA(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    HGDIOBJ old = SelectObject(memory, font.get());
    for (HWND control : ChildWindows(window)) {
        const std::string text = WindowText(control);
        const std::string className = ClassNameOf(control);
        const bool label = className == "Static" && StaticType(control) <= SS_RIGHT;
        const bool button = className == "Button" && (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX;
        if (text.empty() || text == ownFont || !(label || button)) continue;
        const SIZE size = ClientSize(control);
        RECT needed = {0, 0, size.cx, 0};
        if (label) {
            DrawTextA(memory, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            EXPECT_LE(needed.bottom, size.cy) << "\"" << text << "\" needs " << needed.bottom << " px";
        } else {
            DrawTextA(memory, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
            EXPECT_LE(needed.right + 6, size.cx) << "\"" << text << "\" needs " << needed.right << " px";
        }
    }
    SelectObject(memory, old);
    DeleteDC(memory);
}

// Where `text` leaves ink when drawn as a label draws it, in this font.
RECT RenderedInk(const char* text, int width, int height, int pixelHeight, int weight, const char* face) {
    PixelCanvas canvas(width, height);
    GdiObject font(CreateFontA(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
    HGDIOBJ oldFont = SelectObject(canvas.dc(), font.get());
    RECT all = {0, 0, width, height};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    SetBkMode(canvas.dc(), TRANSPARENT);
    DrawTextA(canvas.dc(), text, -1, &all, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS);
    ScreenImage image = canvas.Image();
    SelectObject(canvas.dc(), oldFont);
    return InkBounds(image, RGB(255, 255, 255));
}

struct InkColours {
    int pureBlue = 0;
    int pureBlack = 0;
    int darkOther = 0;  // dark pixels of any other colour
};

InkColours ColoursOf(const ScreenImage& image) {
    InkColours colours;
    for (COLORREF pixel : image.pixels) {
        if (pixel == RGB(0, 0, 255))
            ++colours.pureBlue;
        else if (pixel == RGB(0, 0, 0))
            ++colours.pureBlack;
        else if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 300 && GetBValue(pixel) < 200)
            ++colours.darkOther;
    }
    return colours;
}

// The configuration window's title label: "Jukelet" in blue Arial bold, 14.25 point.
void ExpectBlueArialTitle(HWND window, UINT dpi) {
    HWND title = FindDescendantByText(window, "Static", "Jukelet");
    ASSERT_TRUE(title);
    const SIZE size = ClientSize(title);
    const RECT expected = RenderedInk("Jukelet", size.cx, size.cy, MulDiv(1425, dpi, 7200), FW_BOLD, "Arial");
    auto matches = [&](const RECT& ink) {
        return abs((ink.right - ink.left) - (expected.right - expected.left)) <= 2 &&
               abs((ink.bottom - ink.top) - (expected.bottom - expected.top)) <= 1 &&
               abs(ink.left - expected.left) <= 1 && abs(ink.top - expected.top) <= 1;
    };
    // Captured until the label is fully drawn, or the time is up.
    ScreenImage image;
    RECT ink = {};
    WaitForPaint(window);
    WaitUntil(
        [&] {
            image = CaptureClient(title);
            ink = InkBounds(image, Background(image));
            return matches(ink);
        },
        WindowTimeoutMs);
    EXPECT_TRUE(matches(ink)) << "title ink " << Describe(ink) << ", Arial bold would be " << Describe(expected);

    const InkColours colours = ColoursOf(image);
    EXPECT_GT(colours.pureBlue, 40) << "pure blue pixels";
    EXPECT_EQ(colours.pureBlack, 0);
    EXPECT_EQ(colours.darkOther, 0) << "ink that is neither blue nor a blend of it";
}

HWND OpenAbout(const ConfigurationRun& run) {
    run.Click("A&bout");
    return run.WaitForWindow("About");
}

HWND OpenHelp(const ConfigurationRun& run) {
    run.Click("&Help");
    return run.WaitForWindow("Help");
}

class At96Dpi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetDeviceCaps(screen_, LOGPIXELSY), 96) << "the prefix does not start at 96 DPI";
        RememberWinampPath(winamp_.path());
        run_ = std::make_unique<ConfigurationRun>();
        ASSERT_TRUE(run_->window());
    }
    void TearDown() override {
        run_.reset();
        ReleaseDC(nullptr, screen_);
        ClearJukeletSettings();
    }

    StandIn winamp_;
    HDC screen_ = GetDC(nullptr);
    std::unique_ptr<ConfigurationRun> run_;
};

TEST_F(At96Dpi, ConfigurationWindowControlsSitWhereTheTwipsSay) {
    ExpectLayout(run_->window(), MainLayout, 96, 0);
    ExpectCaptionsFit(run_->window(), 96, "Jukelet");
}

TEST_F(At96Dpi, ConfigurationWindowHasAFixedFrameCentredOnTheScreen) {
    ExpectFixedDialogFrame(run_->window());
    ExpectCentredOnScreen(run_->window());
}

// The window opens in front with the keyboard focus, and its title bar says so.
TEST_F(At96Dpi, EachWindowOpensActive) {
    EXPECT_EQ(GetForegroundWindow(), run_->window());
    EXPECT_TRUE(WaitUntil([&] { return CaptionLooksActive(run_->window()); }, WindowTimeoutMs))
        << "the configuration window's title bar looks inactive";
    HWND about = OpenAbout(*run_);
    ASSERT_TRUE(about);
    EXPECT_TRUE(WaitUntil([&] { return CaptionLooksActive(about); }, WindowTimeoutMs)) << "About";
    EXPECT_FALSE(CaptionLooksActive(run_->window())) << "two windows look active";
    HWND help = OpenHelp(*run_);
    ASSERT_TRUE(help);
    EXPECT_TRUE(WaitUntil([&] { return CaptionLooksActive(help); }, WindowTimeoutMs)) << "Help";
}

// The title bar shows the program's icon, Picture1 the picture icon at 32 x 32.
TEST_F(At96Dpi, ConfigurationWindowShowsTheProgramsIcons) {
    ModuleHandle program(LoadLibraryExA(JukeletExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program);
    const int small = GetSystemMetrics(SM_CXSMICON);
    IconHandle programIcon(
        static_cast<HICON>(LoadImageA(program.get(), MAKEINTRESOURCEA(IDI_JUKELET), IMAGE_ICON, small, small, 0)));
    IconHandle pictureIcon(
        static_cast<HICON>(LoadImageA(program.get(), MAKEINTRESOURCEA(IDI_PICTURE), IMAGE_ICON, 32, 32, 0)));
    ASSERT_TRUE(programIcon && pictureIcon);

    HWND window = run_->window();
    WaitForPaint(window);
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT clientTop = {0, 0};
    ClientToScreen(window, &clientTop);
    const RECT titleBar = {frame.left, frame.top, frame.left + 48, clientTop.y};
    EXPECT_TRUE(WaitUntil([&] { return IconMismatch(CaptureScreen(titleBar), programIcon.get(), small) < 0.05; },
                          WindowTimeoutMs))
        << "the title bar does not show the program's icon";

    HWND picture = nullptr;
    for (HWND child : ChildWindows(window))
        if (ClassNameOf(child) == "Static" && StaticType(child) == SS_ICON) picture = child;
    ASSERT_TRUE(picture);
    EXPECT_TRUE(
        WaitUntil([&] { return IconMismatch(CaptureClient(picture), pictureIcon.get(), 32) < 0.05; }, WindowTimeoutMs))
        << "Picture1 does not show the picture icon";
    EXPECT_GT(IconMismatch(CaptureClient(picture), programIcon.get(), small), 0.05)
        << "Picture1 shows the program's icon";
}

TEST_F(At96Dpi, ConfigurationTitleIsBlueArialBold) { ExpectBlueArialTitle(run_->window(), 96); }

TEST_F(At96Dpi, AboutWindowControlsSitWhereTheTwipsSay) {
    HWND about = OpenAbout(*run_);
    ExpectLayout(about, AboutLayout, 96, 0);
    ExpectCaptionsFit(about, 96);
    ExpectFixedDialogFrame(about);
    ExpectCentredOnScreen(about);
}

TEST_F(At96Dpi, HelpWindowControlsSitWhereTheTwipsSay) {
    HWND help = OpenHelp(*run_);
    ExpectLayout(help, HelpLayout, 96, 0);
    ExpectCaptionsFit(help, 96);
    ExpectFixedDialogFrame(help);
    // Over the configuration window, itself in the middle of the screen.
    ExpectCentredOnScreen(help);
}

// At 144 DPI every place and size is half again as large, within rounding.
TEST(At144Dpi, EveryWindowScalesTogether) {
    StandIn winamp;
    RememberedWinamp remembered(winamp.path());
    ScreenDpi dpi(144);
    ConfigurationRun run;
    ASSERT_TRUE(run.window());
    ExpectLayout(run.window(), MainLayout, 144, 1);
    ExpectCaptionsFit(run.window(), 144, "Jukelet");
    ExpectCentredOnScreen(run.window());
    ExpectBlueArialTitle(run.window(), 144);
    HWND about = OpenAbout(run);
    ExpectLayout(about, AboutLayout, 144, 1);
    ExpectCaptionsFit(about, 144);
    HWND help = OpenHelp(run);
    ExpectLayout(help, HelpLayout, 144, 1);
    ExpectCaptionsFit(help, 144);
}

// Where a window would not fit its work area at the screen's DPI, it shrinks as a whole:
// inside the work area, every control where the twips put it at a smaller DPI.
TEST(AtAHugeDpi, EveryWindowShrinksToFitTheScreen) {
    StandIn winamp;
    RememberedWinamp remembered(winamp.path());
    const UINT screenDpi = 336;  // the configuration window alone would be 1389 x 1092 pixels
    ScreenDpi dpi(screenDpi);
    ConfigurationRun run;
    ASSERT_TRUE(run.window());
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const std::pair<HWND, const WindowLayout*> windows[] = {
        {run.window(), &MainLayout}, {OpenAbout(run), &AboutLayout}, {OpenHelp(run), &HelpLayout}};
    for (const auto& [window, layout] : windows) {
        ASSERT_TRUE(window);
        RECT frame = {};
        GetWindowRect(window, &frame);
        SCOPED_TRACE(WindowText(window) + " at " + Describe(frame));
        EXPECT_GE(frame.left, area.left);
        EXPECT_GE(frame.top, area.top);
        EXPECT_LE(frame.right, area.right);
        EXPECT_LE(frame.bottom, area.bottom);
        const UINT fitted = static_cast<UINT>(MulDiv(ClientSize(window).cx, 1440, layout->clientWidth));
        EXPECT_LE(fitted, screenDpi);
        ExpectLayout(window, *layout, fitted, 2);
        ExpectCaptionsFit(window, fitted, layout == &MainLayout ? "Jukelet" : "");
    }
}

}  // namespace
