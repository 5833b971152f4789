// The About and Help windows: texts, colours, the links' underline and shell requests,
// their keys, and that each opens once and without an owner.
#include <gtest/gtest.h>

#include <memory>

#include <objbase.h>

#include "support/TestEnvironment.h"
#include "ui/BrowserLink.h"
#include "ui/UiDriver.h"

namespace {

const std::string HelpText =
    "Jukelet Help\r\n"
    " \r\n"
    "Simply decide whether you want Winamp control icons \r\n"
    "added to just the current user, or every user on your \r\n"
    "computer, and click the appropriate button in the main \r\n"
    "dialog.\r\n"
    " \r\n"
    "Any open Internet Explorer windows will have to be \r\n"
    "closed and re-opened for the new toolbar icons to \r\n"
    "appear.\r\n"
    " \r\n"
    "Your Winamp Control icons can be added, rearranged, \r\n"
    "and removed just like any other IE toolbar icon by \r\n"
    "right-clicking the toolbar and selecting 'Customize...'\r\n"
    "  \r\n"
    "To remove the icons completely, click the Remove All button in the main dialog.  This removes the "
    "icons from all users on your computer.\r\n";

// The notice of rights that the program's file carries in its version resource.
std::string LegalCopyrightOf(const std::string& file) {
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return {};
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\LegalCopyright", reinterpret_cast<void**>(&text),
                        &length))
        return {};
    return std::string(text);
}

HWND LabelWith(HWND window, const std::string& part) {
    for (HWND child : ChildWindows(window))
        if (ClassNameOf(child) == "Static" && WindowText(child).find(part) != std::string::npos) return child;
    return nullptr;
}

int CountPixels(const ScreenImage& image, COLORREF colour) {
    int count = 0;
    for (COLORREF pixel : image.pixels) count += pixel == colour;
    return count;
}

// An underline shows as one unbroken run of ink nearly as wide as the text.
bool Underlined(HWND label) {
    const ScreenImage image = CaptureClient(label);
    const COLORREF background = Background(image);
    const RECT ink = InkBounds(image, background);
    return ink.right > ink.left && LongestInkRun(image, background) * 10 >= (ink.right - ink.left) * 8;
}

POINT CentreOf(HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RememberWinampPath(winamp_.path());
        ParkPointer();  // away from where the links will be
        run_ = std::make_unique<ConfigurationRun>();
        ASSERT_TRUE(run_->window());
        run_->Click("A&bout");
        about_ = run_->WaitForWindow("About");
        ASSERT_TRUE(about_);
        email_ = LabelWith(about_, "@");
        web_ = LabelWith(about_, "http://");
        ASSERT_TRUE(email_ && web_);
        WaitForPaint(about_);
    }
    void TearDown() override {
        run_.reset();
        ClearJukeletSettings();
    }

    // Waits until the window has handled everything posted to it before: the OK button's
    // pushed look, posted last, shows.
    void Settle() {
        HWND ok = FindDescendantByText(about_, "Button", "OK");
        PostMessageA(ok, BM_SETSTATE, TRUE, 0);
        EXPECT_TRUE(
            WaitUntil([&] { return (SendMessageA(ok, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, WindowTimeoutMs));
        SendMessageA(ok, BM_SETSTATE, FALSE, 0);
        WaitForPaint(about_);
    }
    bool WaitForUnderlines(bool email, bool web) {
        return WaitUntil([&] { return Underlined(email_) == email && Underlined(web_) == web; }, WindowTimeoutMs);
    }

    StandIn winamp_;
    std::unique_ptr<ConfigurationRun> run_;
    HWND about_ = nullptr;
    HWND email_ = nullptr;
    HWND web_ = nullptr;
};

TEST_F(AboutWindow, ShowsNameVersionNoticeAndTwoBlueLinks) {
    EXPECT_EQ(WindowText(about_), "About");
    for (const char* text :
         {"Jukelet", "Version 1.0.34", "Control Winamp playback from your Internet Explorer toolbar."})
        EXPECT_TRUE(FindDescendantByText(about_, "Static", text)) << text;
    const std::string notice = LegalCopyrightOf(JukeletExe());
    ASSERT_FALSE(notice.empty());
    EXPECT_TRUE(FindDescendantByText(about_, "Static", notice)) << "the notice of rights: " << notice;
    EXPECT_EQ(WindowText(web_).rfind("http://", 0), 0u);

    // Only ink of the one colour, and enough of it (once the label is drawn).
    auto inkIs = [](HWND label, COLORREF colour, COLORREF other) {
        return WaitUntil(
            [&] {
                const ScreenImage image = CaptureClient(label);
                return CountPixels(image, colour) > 20 && CountPixels(image, other) == 0;
            },
            WindowTimeoutMs);
    };
    const COLORREF blue = RGB(0, 0, 255), black = RGB(0, 0, 0);
    for (HWND link : {email_, web_}) {
        EXPECT_TRUE(inkIs(link, blue, black)) << WindowText(link) << " is not blue";
        EXPECT_FALSE(Underlined(link)) << WindowText(link) << " is underlined before the pointer came";
    }
    for (const char* text : {"Jukelet", "Control Winamp playback from your Internet Explorer toolbar."})
        EXPECT_TRUE(inkIs(FindDescendantByText(about_, "Static", text), black, blue)) << text << " is not black";
}

// The link under the pointer is underlined; the window's own background clears both;
// other controls change nothing.
TEST_F(AboutWindow, TheLinkUnderThePointerIsUnderlined) {
    // Moves reported by the system alone, first, while the pointer has never been over the
    // window. Once it has been, a move of the real pointer can still be on its way (Wine reports
    // each pointer move again as the X server echoes it, at times late, and a late echo puts the
    // pointer back), and a posted move overtakes it: queued input comes after posted messages.
    RECT client = {};
    GetClientRect(about_, &client);
    PostMessageA(email_, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(WaitForUnderlines(true, false)) << "a move reported to the mail link";
    PostMessageA(about_, WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 4, 4));
    EXPECT_TRUE(WaitForUnderlines(false, false)) << "a move reported to the window";

    MovePointer(CentreOf(email_));
    EXPECT_TRUE(WaitForUnderlines(true, false)) << "pointer over the mail link";
    MovePointer(CentreOf(web_));
    EXPECT_TRUE(WaitForUnderlines(false, true)) << "pointer over the web link";

    for (const char* other : {"OK", "Jukelet", "Version 1.0.34"}) {
        HWND control = FindDescendantByText(about_, "Button", other);
        if (!control) control = FindDescendantByText(about_, "Static", other);
        ASSERT_TRUE(control) << other;
        MovePointer(CentreOf(control));
        PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        Settle();
        EXPECT_TRUE(WaitForUnderlines(false, true)) << "over " << other;
    }

    POINT background = {client.right - 4, 4};  // the top right corner: no control there
    ClientToScreen(about_, &background);
    MovePointer(background);
    EXPECT_TRUE(WaitForUnderlines(false, false)) << "pointer over the window's background";
}

// Each click asks the shell once: mail with the support subject, web with the address shown.
TEST_F(AboutWindow, EachLinkClickMakesOneShellRequest) {
    FakeLinkHandlers handlers;
    const std::string mail = "mailto:" + WindowText(email_) + "?subject=Jukelet v1.0 Support";
    const std::string web = WindowText(web_);
    std::vector<std::string> expected;
    HWND last = nullptr;
    for (HWND link : {email_, web_, email_, email_, web_}) {
        // Two quick clicks on one label would be a double-click.
        if (link == last) Sleep(GetDoubleClickTime() + 100);
        last = link;
        ClickAt(CentreOf(link));
        expected.push_back(link == email_ ? mail : web);
        EXPECT_TRUE(WaitUntil([&] { return handlers.Links().size() >= expected.size(); }, WindowTimeoutMs))
            << "no request for " << expected.back();
    }
    EXPECT_EQ(handlers.Links(), expected);
    EXPECT_TRUE(IsWindowVisible(about_)) << "the About window stays open";
}

// A double-click is one click: one request, not two.
TEST_F(AboutWindow, ADoubleClickMakesOneRequest) {
    FakeLinkHandlers handlers;
    ClickAt(CentreOf(web_));
    ClickAt(CentreOf(web_));
    ASSERT_TRUE(WaitUntil([&] { return !handlers.Links().empty(); }, WindowTimeoutMs));
    // The clicks are handled in order: once the mail link's request is in, no other is coming.
    Sleep(GetDoubleClickTime() + 100);
    ClickAt(CentreOf(email_));
    WaitUntil([&] { return handlers.Links().size() >= 2; }, WindowTimeoutMs);
    const std::vector<std::string> links = handlers.Links();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0], WindowText(web_));
    EXPECT_EQ(links[1].rfind("mailto:", 0), 0u);
}

// A link the shell cannot open: the program itself says nothing and carries on.
TEST_F(AboutWindow, ALinkTheShellCannotOpenBringsNoMessage) {
    FakeLinkHandlers handlers;
    handlers.Break();
    ClickAt(CentreOf(web_));
    Sleep(GetDoubleClickTime() + 100);
    // Clicks are handled in order: once a later one is through, the failed one is done.
    handlers.Mend();
    ClickAt(CentreOf(web_));
    ASSERT_TRUE(WaitUntil([&] { return !handlers.Links().empty(); }, WindowTimeoutMs));
    EXPECT_TRUE(run_->MessageBoxes().empty());
    EXPECT_TRUE(IsWindowVisible(about_));
}

// A window opened again starts afresh: the first hover underlines, whatever the last
// window showed when it closed.
TEST_F(AboutWindow, AReopenedWindowUnderlinesAtTheFirstHover) {
    MovePointer(CentreOf(email_));
    ASSERT_TRUE(WaitForUnderlines(true, false));
    PressKey(about_, VK_ESCAPE);
    ASSERT_TRUE(WaitForWindowGone(about_));

    ParkPointer();
    run_->Click("A&bout");
    about_ = run_->WaitForWindow("About");
    ASSERT_TRUE(about_);
    email_ = LabelWith(about_, "@");
    web_ = LabelWith(about_, "http://");
    WaitForPaint(about_);
    EXPECT_TRUE(WaitForUnderlines(false, false)) << "the new window opens underlined";
    MovePointer(CentreOf(email_));
    EXPECT_TRUE(WaitForUnderlines(true, false)) << "the first hover over the mail link";
}

TEST_F(AboutWindow, EnterAndEscClose) {
    PressKey(about_, VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(about_)) << "Enter";
    run_->Click("A&bout");
    about_ = run_->WaitForWindow("About");
    ASSERT_TRUE(about_);
    EXPECT_EQ(WindowText(FindDescendantByText(about_, "Static", "Version 1.0.34")), "Version 1.0.34")
        << "a reopened window loads again";
    PressKey(about_, VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(about_)) << "Esc";
    EXPECT_TRUE(IsWindowVisible(run_->window()));
    EXPECT_TRUE(run_->process().IsRunning());
}

class HelpWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RememberWinampPath(winamp_.path());
        run_ = std::make_unique<ConfigurationRun>();
        ASSERT_TRUE(run_->window());
        run_->Click("&Help");
        help_ = run_->WaitForWindow("Help");
        ASSERT_TRUE(help_);
        text_ = FindWindowExA(help_, nullptr, "Edit", nullptr);
        ASSERT_TRUE(text_);
    }
    void TearDown() override {
        run_.reset();
        ClearJukeletSettings();
    }

    // Ctrl+End, pressed after other keys, shows when they have all been handled.
    bool PressCtrlEndAndWait() {
        PressKey(help_, VK_END, {VK_CONTROL});
        const DWORD length = static_cast<DWORD>(WindowText(text_).size());
        return WaitUntil(
            [&] {
                DWORD start = 0, end = 0;
                SendMessageA(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                return start == length && end == length;
            },
            WindowTimeoutMs);
    }

    StandIn winamp_;
    std::unique_ptr<ConfigurationRun> run_;
    HWND help_ = nullptr;
    HWND text_ = nullptr;
};

TEST_F(HelpWindow, ShowsTheSixteenLinesFromTheTopWithAVerticalScrollBar) {
    EXPECT_EQ(WindowText(text_), HelpText);
    EXPECT_EQ(FocusedControl(help_), text_) << "the text has the focus";
    DWORD start = 1, end = 1;
    SendMessageA(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end) << "text is selected";
    EXPECT_EQ(SendMessageA(text_, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    const LONG style = GetWindowLongA(text_, GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    // Longer lines wrap at the box's width rather than run past it.
    EXPECT_GT(SendMessageA(text_, EM_GETLINECOUNT, 0, 0), 16);
    ASSERT_TRUE(PressCtrlEndAndWait());
    EXPECT_GT(SendMessageA(text_, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the text did not scroll";
}

TEST_F(HelpWindow, TypingChangesNothingAndEscDoesNotClose) {
    TypeText(help_, "xyz");
    for (WORD key : {VK_DELETE, VK_BACK, VK_ESCAPE}) PressKey(help_, key);
    PressKey(help_, 'X', {VK_CONTROL});
    ASSERT_TRUE(PressCtrlEndAndWait());
    EXPECT_EQ(WindowText(text_), HelpText);
    EXPECT_TRUE(IsWindowVisible(help_)) << "Esc closed the window";

    PressKey(help_, VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(help_)) << "Enter";
    EXPECT_TRUE(IsWindowVisible(run_->window()));
}

// Help opens over the configuration window, but never past the edge of the work area.
TEST(AboutAndHelp, HelpOpensInsideTheWorkAreaWhereverTheWindowIs) {
    StandIn winamp;
    RememberedWinamp remembered(winamp.path());
    ConfigurationRun run;
    ASSERT_TRUE(run.window());
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Most of the configuration window hangs past the bottom right corner.
    SetWindowPos(run.window(), nullptr, work.right - 80, work.bottom - 60, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT placed = {};
            GetWindowRect(run.window(), &placed);
            return placed.left == work.right - 80;
        },
        WindowTimeoutMs));

    run.Click("&Help");
    HWND help = run.WaitForWindow("Help");
    ASSERT_TRUE(help);
    RECT rect = {};
    GetWindowRect(help, &rect);
    EXPECT_GE(rect.left, work.left);
    EXPECT_GE(rect.top, work.top);
    EXPECT_LE(rect.right, work.right);
    EXPECT_LE(rect.bottom, work.bottom);
}

// The shell asks its callers for COM, apartment-threaded: the link opener sees to it.
TEST(LinkOpener, OpensLinksFromASingleThreadedApartment) {
    FakeLinkHandlers handlers;
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    ASSERT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED) << "COM is set up already";
    const char* link = "http://www.example.invalid/jukelet";
    OpenLink(link, nullptr);
    ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK) << "no COM for the shell";
    EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << "apartment type " << type;
    EXPECT_TRUE(WaitUntil([&] { return handlers.Links() == std::vector<std::string>{link}; }, WindowTimeoutMs));
}

// A second click opens no second window; neither window has an owner.
TEST(AboutAndHelp, OpenOnceAndWithoutAnOwner) {
    StandIn winamp;
    RememberedWinamp remembered(winamp.path());
    ConfigurationRun run;
    ASSERT_TRUE(run.window());
    for (const char* caption : {"A&bout", "&Help", "A&bout", "&Help"}) run.Click(caption);
    ASSERT_TRUE(run.WaitForWindow("About"));
    ASSERT_TRUE(run.WaitForWindow("Help"));
    // Clicks are handled in order: once a box opened by a later click shows, the second
    // About and Help clicks are done.
    run.Click("&Remove All");
    HWND box = run.WaitForBox("Remove Buttons");
    ASSERT_TRUE(box);
    EXPECT_EQ(run.Windows("About").size(), 1u);
    EXPECT_EQ(run.Windows("Help").size(), 1u);
    for (const char* title : {"About", "Help"})
        for (HWND window : run.Windows(title)) EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << title;
    PressDialogButton(box, IDNO);
}

}  // namespace
