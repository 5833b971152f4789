// Where a window is kept: inside the work area of its monitor, which may lie left of or
// above the primary one (negative coordinates).
#include <gtest/gtest.h>

#include <vector>

#include "ui/WorkArea.h"

namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WindowPlacement, AWindowStaysInsideTheWorkAreaOfItsMonitor) {
    const RECT leftOfPrimary = {-1280, 0, 0, 984};
    EXPECT_TRUE(Same(KeptInside({-800, 300, -400, 600}, leftOfPrimary), {-800, 300, -400, 600}))
        << "a window well inside a monitor left of the primary was moved";
    EXPECT_TRUE(Same(KeptInside({-100, 900, 300, 1200}, leftOfPrimary), {-400, 684, 0, 984}));
    EXPECT_TRUE(Same(KeptInside({-1500, -50, -1100, 250}, leftOfPrimary), {-1280, 0, -880, 300}));
    // Larger than the area: its top left corner, with the title bar, stays visible.
    EXPECT_TRUE(Same(KeptInside({-2000, -300, 0, 1500}, leftOfPrimary), {-1280, 0, 720, 1800}));
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, RECT*, LPARAM found) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(found)->push_back(info.rcWork);
    return TRUE;
}

std::vector<RECT> MonitorWorkAreas() {
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// The primary work area as this process sees it, set for a test and put back afterwards.
class PrimaryWorkAreaSet {
public:
    explicit PrimaryWorkAreaSet(RECT area) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
    }
    ~PrimaryWorkAreaSet() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }
    PrimaryWorkAreaSet(const PrimaryWorkAreaSet&) = delete;
    PrimaryWorkAreaSet& operator=(const PrimaryWorkAreaSet&) = delete;

private:
    RECT saved_ = {};
};

// One monitor is enough to tell the monitor's answer from the primary screen's: under Wine
// a work area set through SystemParametersInfo stays in this process, and every monitor
// keeps its own.
TEST(WindowPlacement, TheWorkAreaOfAPlaceOnTheScreenIsItsMonitors) {
    const std::vector<RECT> monitors = MonitorWorkAreas();
    ASSERT_FALSE(monitors.empty());
    const RECT first = monitors.front();
    const RECT primary = {first.left + 7, first.top + 5, first.right - 40, first.bottom - 30};
    PrimaryWorkAreaSet set(primary);
    ASSERT_TRUE(Same(PrimaryWorkArea(), primary)) << "the primary work area is not the system's";
    for (const RECT& monitor : MonitorWorkAreas())
        ASSERT_FALSE(Same(monitor, primary)) << "a monitor took the primary work area: the test cannot tell them apart";

    for (const RECT& monitor : monitors) {
        const RECT inside = {monitor.left + 10, monitor.top + 10, monitor.left + 110, monitor.top + 110};
        EXPECT_TRUE(Same(WorkAreaOf(inside), monitor)) << "a place on a monitor";
    }
    // Far off every monitor: the nearest one's.
    const RECT nearest = WorkAreaOf({-100000, -100000, -99900, -99900});
    bool isAMonitors = false;
    for (const RECT& monitor : monitors) isAMonitors = isAMonitors || Same(nearest, monitor);
    EXPECT_TRUE(isAMonitors) << "a place off every monitor";
}

}  // namespace
