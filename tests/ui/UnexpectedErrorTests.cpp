// A request the heap cannot meet never goes on unnoticed: the program says so in a message
// box and ends.
#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "base/UnexpectedError.h"
#include "support/TestEnvironment.h"
#include "ui/UiDriver.h"

namespace {

TEST(UnexpectedError, AnAllocationTheHeapRefusesEndsTheProgramWithAMessage) {
    TestProcess program = TestProcess::StartWithArguments(BinFolder() + "\\greedy_dialog.exe", "");
    HWND window = WaitForTopWindow(program.id(), "", "Greedy dialog");
    ASSERT_TRUE(window);
    ClickButton(FindDescendantByText(window, "Button", "Grow"));

    HWND box = WaitForMessageBox(program.id(), AppTitle);
    ASSERT_TRUE(box) << "no message; the program " << (program.IsRunning() ? "lives on" : "ended silently")
                     << ", exit code " << std::hex << program.ExitCode();
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_NE(view.text.find("unexpected error"), std::string::npos) << view.text;
    EXPECT_NE(view.text.find(OutOfMemoryText), std::string::npos) << view.text;
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(IconShown(box), BoxIcon::Exclamation) << IconName(IconShown(box));
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(program.WaitForExit(WindowTimeoutMs));
    EXPECT_EQ(program.ExitCode(), UnexpectedErrorExitCode);
}

}  // namespace
