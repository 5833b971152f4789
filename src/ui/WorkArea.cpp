#include "ui/WorkArea.h"

#include <algorithm>

#include "base/DynamicProc.h"

RECT PrimaryWorkArea() {
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT WorkAreaOf(const RECT& rect) {
    // Windows 98 and 2000 brought the monitor API; 95 and NT4 lack it.
    static const HMODULE user32 = GetModuleHandleA("user32.dll");
    static const auto monitorFromRect = LOAD_PROC(user32, MonitorFromRect);
    static const auto getMonitorInfo = LOAD_PROC(user32, GetMonitorInfoA);
    if (monitorFromRect && getMonitorInfo) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        if (getMonitorInfo(monitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return monitor.rcWork;
    }
    return PrimaryWorkArea();
}

RECT KeptInside(const RECT& rect, const RECT& area) {
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    const LONG left = std::max(area.left, std::min(rect.left, area.right - width));
    const LONG top = std::max(area.top, std::min(rect.top, area.bottom - height));
    return RECT{left, top, left + width, top + height};
}
