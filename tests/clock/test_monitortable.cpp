#include "clock/monitortable.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

MonitorRecord monitor(QRect geometry, QRect work, bool primary) {
    return {WinRect::fromQRect(geometry), WinRect::fromQRect(work), primary ? kMonitorPrimary : 0u};
}

// A 1920x1080 primary with a 40-pixel panel at the bottom, and a 1280x1024 monitor
// to its left whose panel is at its top.
MonitorTable twoMonitors() {
    MonitorTable t;
    t.add(monitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true));
    t.add(monitor({-1280, 0, 1280, 1024}, {-1280, 40, 1280, 984}, false));
    return t;
}

ScreenMetrics metrics(double twips = 15) {
    ScreenMetrics m;
    m.tx = m.ty = twips;
    return m;
}

} // namespace

TEST(checkMonitor, AMonitorThatIsGoneSendsTheClockToTheFirstWorkArea) {
    MonitorTable one;
    one.add(monitor({0, 0, 1280, 800}, {0, 30, 1280, 770}, true));
    const struct {
        const char* what;
        int32_t storedMonitor;
        int32_t left, top; // after the check
        int32_t monitorAfter;
    } cases[] = {
        {"stored monitor 2 on one monitor", 2, 0, 450, 0},
        {"stored monitor 128", 128, 0, 450, 0},
        {"a negative index names no monitor", -1, 0, 450, 0},
        {"monitor 0 is present", 0, 7500, 3000, 0},
    };
    for (const auto& c : cases) {
        ClockSettings s;
        s.MonitorID = c.storedMonitor;
        s.Left = 7500;
        s.Top = 3000;
        checkMonitor(one, s, metrics());
        SCOPED_TRACE(c.what);
        EXPECT_EQ(s.Left, c.left);
        EXPECT_EQ(s.Top, c.top);
        EXPECT_EQ(s.MonitorID, c.monitorAfter);
    }
    // With no monitor listed at all there is nothing to fall back to.
    ClockSettings s;
    s.MonitorID = 3;
    s.Left = 7500;
    checkMonitor(MonitorTable(), s, metrics());
    EXPECT_EQ(s.MonitorID, 3);
    EXPECT_EQ(s.Left, 7500);
}

TEST(getMonitorID, FirstMonitorHoldingThePointerEdgesIncluded) {
    const MonitorTable t = twoMonitors();
    const struct {
        QPoint pointer;
        int32_t before, after;
    } cases[] = {
        {{500, 500}, 1, 0},   {{-500, 500}, 0, 1},
        {{-1280, 0}, 0, 1},                     // top left corner of the left monitor
        {{0, 1080}, 1, 0},                      // the primary's bottom edge is included
        {{-1, 1023}, 0, 1},   {{0, 500}, 1, 0}, // on the shared edge the first listed monitor wins
        {{-500, 1050}, 0, 0},                   // below the left monitor, on none: unchanged
        {{5000, 5000}, 1, 1},
    };
    for (const auto& c : cases) {
        ClockSettings s;
        s.MonitorID = c.before;
        getMonitorID(t, c.pointer, s);
        EXPECT_EQ(s.MonitorID, c.after) << c.pointer.x() << "," << c.pointer.y();
    }
}

TEST(keepOnWorkArea, ClampsIntoTheWorkAreaAndStoresTwips) {
    const MonitorTable t = twoMonitors();
    const WinRect primaryWork = t.at(0).work;
    const struct {
        const char* what;
        int32_t monitor;
        QPoint pos;
        QPoint expected;
    } cases[] = {
        {"inside stays", 0, {300, 200}, {300, 200}},
        {"past the right edge goes flush right", 0, {1800, 200}, {1674, 200}},
        {"past the left edge goes flush left", 0, {-60, 200}, {0, 200}},
        {"below the panel goes up to it", 0, {300, 900}, {300, 794}},
        {"work area top 0: may stand above the screen", 0, {300, -50}, {300, -50}},
        {"work area top 0: the grip stays on screen", 0, {300, -63}, {300, -63}},
        {"work area top 0: never out of reach", 0, {300, -5000}, {300, -63}},
        {"left monitor, work area top 40: not above y 40", 1, {-600, -30}, {-600, 40}},
        {"left monitor: flush with its left edge", 1, {-1400, 100}, {-1280, 100}},
        {"left monitor: flush with its right edge", 1, {-100, 100}, {-246, 100}},
        {"left monitor: above its bottom", 1, {-600, 900}, {-600, 778}},
        {"unknown monitor uses the primary's work area", 7, {1800, 900}, {1674, 794}},
    };
    for (const auto& c : cases) {
        ClockSettings s;
        s.MonitorID = c.monitor;
        const QPoint p = keepOnWorkArea(t, primaryWork, c.pos, 246, metrics(), s);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(p, c.expected);
        EXPECT_EQ(s.Left, c.expected.x() * 15);
        EXPECT_EQ(s.Top, c.expected.y() * 15);
        EXPECT_EQ(windowPosFromSettings(s, metrics()), c.expected);
    }
}

TEST(keepOnWorkArea, PrimaryMonitorUsesTheSystemWorkAreaAndOtherTwipSizes) {
    MonitorTable t;
    t.add(monitor({0, 0, 1280, 800}, {0, 0, 1280, 800}, true));
    // The system's own work area of the primary is what counts for it.
    const WinRect systemWork{0, 40, 1280, 800};
    ClockSettings s;
    s.MonitorID = 0;
    EXPECT_EQ(keepOnWorkArea(t, systemWork, {100, 10}, 246, metrics(), s), QPoint(100, 40));
    EXPECT_EQ(s.Top, 600);
    // 120 dpi: 12 twips per pixel.
    EXPECT_EQ(keepOnWorkArea(t, systemWork, {1100, 10}, 246, metrics(12), s), QPoint(1034, 40));
    EXPECT_EQ(s.Left, 1034 * 12);
    EXPECT_EQ(s.Top, 480);
}
