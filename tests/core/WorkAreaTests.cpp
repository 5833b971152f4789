// Where a window is kept: inside the work area of its monitor, which may lie left of or
// above the primary one (negative coordinates).
#include <gtest/gtest.h>

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

TEST(WindowPlacement, TheWorkAreaOfAPlaceOnTheScreenIsItsMonitors) {
    const RECT primary = PrimaryWorkArea();
    EXPECT_LT(primary.left, primary.right);
    EXPECT_LT(primary.top, primary.bottom);
    const RECT inside = {primary.left + 10, primary.top + 10, primary.left + 110, primary.top + 110};
    EXPECT_TRUE(Same(WorkAreaOf(inside), primary));
    // Far off every monitor: the nearest one's.
    const RECT farOff = {-100000, -100000, -99900, -99900};
    const RECT nearest = WorkAreaOf(farOff);
    EXPECT_LT(nearest.left, nearest.right);
}

}  // namespace
