// A window of the program's dialog kind whose button asks for more memory than there is, as
// a runaway length would: the tests check that the program says so and ends, rather than
// crashing or going on with a text it could not hold.
#include <windows.h>

#include "runtime/String.h"
#include "ui/DialogWindow.h"

namespace {

constexpr int GreedyButton = 101;

class GreedyDialog : public DialogWindow {
public:
    void Open() {
        static const WindowLayout layout = {"Greedy dialog", 3000, 1200, false};
        static const ControlLayout controls[] = {
            {GreedyButton, ControlKind::DefaultPushButton, 0, "Grow", 600, 400, 1800, 375},
        };
        if (CreateFromTable(layout, controls, nullptr)) ShowActive();
    }

private:
    bool OnCommand(int id, int) override {
        if (id != GreedyButton) return false;
        String text("a");
        text.resize(String::npos / 2);
        MessageBoxA(handle(), "the text grew", "Greedy dialog", MB_OK);
        return true;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GreedyDialog dialog;
    dialog.Open();
    return DialogWindow::RunMessageLoop();
}
