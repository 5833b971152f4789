// The least a toolbar click can do: find Winamp's main window and send it Play once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (HWND winamp = FindWindowA("Winamp v1.x", nullptr)) SendMessageA(winamp, WM_COMMAND, 40045, 0);
    return 0;
}
