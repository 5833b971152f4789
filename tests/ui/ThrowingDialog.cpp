// A window of the program's dialog kind whose button throws, as a fault in a handler would:
// the tests check that the dialog layer stops the exception at the window procedure and
// ends the program with a message.
#include <windows.h>

#include <stdexcept>

#include "ui/DialogWindow.h"

namespace {

constexpr int ThrowButton = 101;

class ThrowingDialog : public DialogWindow {
public:
    void Open() {
        static const WindowLayout layout = {"Throwing dialog", 3000, 1200, false};
        static const std::vector<ControlLayout> controls = {
            {ThrowButton, ControlKind::DefaultPushButton, 0, "Throw", 600, 400, 1800, 375},
        };
        if (CreateFromTable(layout, controls, nullptr)) ShowActive();
    }

private:
    bool OnCommand(int id, int) override {
        if (id == ThrowButton) throw std::runtime_error("a handler's own failure");
        return false;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ThrowingDialog dialog;
    dialog.Open();
    return DialogWindow::RunMessageLoop();
}
