#include "base/UnexpectedError.h"

#include <windows.h>

#include <string>

#include "base/SharedState.h"

void EndOnUnexpectedError(const char* what) {
    // The box pumps messages: a second failure while it shows must not show another.
    static bool ending = false;
    if (!ending) {
        ending = true;
        std::string text = std::string(AppTitle) + " met an unexpected error and must close.";
        if (what && *what) text += std::string("\r\r") + what;
        MessageBoxA(nullptr, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    }
    ExitProcess(UnexpectedErrorExitCode);
}
