#include "base/UnexpectedError.h"

#include <windows.h>

#include "base/SharedState.h"
#include "base/UserMessage.h"

void EndOnUnexpectedError(const char* what) {
    // The box pumps messages: a second failure while it shows must not show another.
    static bool ending = false;
    if (!ending) {
        ending = true;
        // Out of memory, nothing may be allocated: the text is put together on the stack.
        char text[512];
        lstrcpynA(text, AppTitle, sizeof(text));
        lstrcatA(text, " met an unexpected error and must close.");
        if (what && *what) {
            const int used = lstrlenA(text);
            lstrcpynA(text + used, "\r\r", sizeof(text) - used);
            lstrcpynA(text + used + 2, what, sizeof(text) - used - 2);
        }
        ShowMessage(nullptr, text, AppTitle, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    }
    ExitProcess(UnexpectedErrorExitCode);
}
