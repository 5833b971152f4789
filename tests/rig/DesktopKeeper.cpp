// Keeps Wine's desktop alive between test programs: a hidden window that waits forever.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "JukeletDesktopKeeper";
    RegisterClassA(&windowClass);
    CreateWindowA("JukeletDesktopKeeper", "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    // The rig waits for this line: a test started before the desktop is up can hang.
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "ready\n", 6, &written, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
