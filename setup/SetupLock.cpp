#include "SetupLock.h"

namespace {

// Every session's setups and uninstallers meet here (the plain name before Windows 2000).
constexpr const char* SetupLockName = "Global\\Orvalle.Jukelet.Setup";
// A setup takes a second or two; emulated, a minute. A silent run waits for a few of those.
constexpr DWORD SilentWaitMs = 180000;
constexpr DWORD RetryWaitMs = 1000;

constexpr const char* BusyMessage =
    "Another Jukelet setup or uninstaller is running.\r\n\r\nLet it finish, then click Retry.";

}  // namespace

SetupLock::SetupLock() : mutex_(SetupLockName) {}

bool SetupLock::Take(const Prompt& prompt) {
    if (!mutex_) return false;
    if (prompt.silent()) return mutex_.Lock(SilentWaitMs);
    while (!mutex_.Lock(0)) {
        if (prompt.Ask(BusyMessage, MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDCANCEL) != IDRETRY) return false;
        if (mutex_.Lock(RetryWaitMs)) break;
    }
    return true;
}
