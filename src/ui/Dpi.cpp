#include "ui/Dpi.h"

UINT ScreenDpi() {
    // What every Windows reports; Windows 10's GetDpiForWindow gives the same for a
    // program that is aware of the system DPI only.
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}
