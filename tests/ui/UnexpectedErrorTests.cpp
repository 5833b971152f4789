// An exception that no handler expected never crosses the system's frames: the program
// says so in a message box and ends.
#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "base/UnexpectedError.h"
#include "support/TestEnvironment.h"
#include "ui/UiDriver.h"

namespace {

TEST(UnexpectedError, AThrowingHandlerEndsTheProgramWithAMessage) {
    TestProcess program = TestProcess::StartWithArguments(BinFolder() + "\\throwing_dialog.exe", "");
    HWND window = WaitForTopWindow(program.id(), "", "Throwing dialog");
    ASSERT_TRUE(window);
    ClickButton(FindDescendantByText(window, "Button", "Throw"));

    HWND box = WaitForMessageBox(program.id(), AppTitle);
    ASSERT_TRUE(box) << "no message; the program " << (program.IsRunning() ? "lives on" : "ended silently")
                     << ", exit code " << std::hex << program.ExitCode();
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_NE(view.text.find("unexpected error"), std::string::npos) << view.text;
    EXPECT_NE(view.text.find("a handler's own failure"), std::string::npos) << view.text;
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(IconShown(box), BoxIcon::Exclamation) << IconName(IconShown(box));
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(program.WaitForExit(WindowTimeoutMs));
    EXPECT_EQ(program.ExitCode(), UnexpectedErrorExitCode);
}

}  // namespace
