#include "clock/clocklayout.h"
#include "clock/faceframe.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ovra;

namespace {

ClockSettings sizes(int r, int h, int m, int s, int hourMode = 0) {
    ClockSettings st = defaultSettings();
    st.ClockRadius = r;
    st.HourCircleWidth = h;
    st.MinuteCircleWidth = m;
    st.SecondCircleWidth = s;
    st.HourMode = hourMode;
    return st;
}

QRectF sq(double xy, double size) {
    return QRectF(xy, xy, size, size);
}

} // namespace

TEST(ClockLayout, RectanglesForTheDefaultSmallestLargestAndUnevenSizes) {
    const struct {
        const char* name;
        ClockSettings s;
        int center;
        QRectF dial, secondArc, minuteOuter, minuteArc, hourOuter, hourArc, inner;
    } cases[] = {
        {"default", sizes(48, 18, 18, 18), 123, sq(21, 204), sq(30, 186), sq(39, 168), sq(48, 150),
         sq(57, 132), sq(66, 114), sq(75, 96)},
        {"smallest", sizes(48, 10, 10, 10), 99, sq(21, 156), sq(26, 146), sq(31, 136), sq(36, 126),
         sq(41, 116), sq(46, 106), sq(51, 96)},
        {"largest", sizes(128, 50, 50, 50), 299, sq(21, 556), sq(46, 506), sq(71, 456), sq(96, 406),
         sq(121, 356), sq(146, 306), sq(171, 256)},
        // Odd widths put the arc rectangles on half pixels: the halves are kept.
        {"odd widths", sizes(50, 11, 13, 15), 110, sq(21, 178), sq(28.5, 163), sq(36, 148),
         sq(42.5, 135), sq(49, 122), sq(54.5, 111), sq(60, 100)},
    };
    for (const auto& c : cases) {
        const ClockLayout l = calcClockLayout(c.s);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(l.center, c.center);
        EXPECT_EQ(l.windowSize(), 2 * c.center);
        EXPECT_EQ(l.innerDiameter, 2 * c.s.ClockRadius);
        EXPECT_EQ(l.dialRect, c.dial);
        EXPECT_EQ(l.secondArcRect, c.secondArc);
        EXPECT_EQ(l.minuteOuterRect, c.minuteOuter);
        EXPECT_EQ(l.minuteArcRect, c.minuteArc);
        EXPECT_EQ(l.hourOuterRect, c.hourOuter);
        EXPECT_EQ(l.hourArcRect, c.hourArc);
        EXPECT_EQ(l.innerRect, c.inner);
        // Every rectangle is centred on the face's centre.
        for (const QRectF& r : {l.dialRect, l.secondArcRect, l.minuteOuterRect, l.minuteArcRect,
                                l.hourOuterRect, l.hourArcRect, l.innerRect})
            EXPECT_EQ(r.center(), QPointF(l.center, l.center));
    }
}

TEST(ClockLayout, HourTicksCrossTheHourRingAndMinuteTicksTheOuterTwo) {
    for (const int mode : {0, 1}) {
        const ClockSettings s = sizes(48, 18, 18, 18, mode);
        const ClockLayout l = calcClockLayout(s);
        SCOPED_TRACE(mode);
        EXPECT_EQ(l.hourTickCount, mode == 0 ? 12 : 24);
        const double step = mode == 0 ? 30 : 15;
        for (int i = 0; i < l.hourTickCount; ++i) {
            const TickLine& t = l.hourTicks[size_t(i)];
            const double a = step * i * 3.1415926 / 180;
            EXPECT_FLOAT_EQ(t.x1, float(123 + 48 * std::cos(a)));
            EXPECT_FLOAT_EQ(t.y1, float(123 + 48 * std::sin(a)));
            EXPECT_NEAR(std::hypot(t.x2 - 123.0, t.y2 - 123.0), 66, 1e-3);
        }
        // Unused hour entries stay empty in 12-hour mode.
        if (mode == 0) {
            EXPECT_EQ(l.hourTicks[12], TickLine{});
        }
    }
    const ClockLayout l = calcClockLayout(sizes(48, 18, 18, 18));
    // Three o'clock, six o'clock and twelve o'clock (angle 270).
    EXPECT_FLOAT_EQ(l.minuteTicks[0].x1, 189.f);
    EXPECT_FLOAT_EQ(l.minuteTicks[0].x2, 225.f);
    EXPECT_NEAR(l.minuteTicks[15].y1, 189.f, 1e-4);
    EXPECT_NEAR(l.minuteTicks[45].y2, 21.f, 1e-4);
    for (const TickLine& t : l.minuteTicks) {
        EXPECT_NEAR(std::hypot(t.x1 - 123.0, t.y1 - 123.0), 66, 1e-3);
        EXPECT_NEAR(std::hypot(t.x2 - 123.0, t.y2 - 123.0), 102, 1e-3);
    }
}

TEST(FaceTextSizes, RoundToNearestEvenThenDownToEven) {
    const struct {
        int radius;
        int time12, time24, date;
    } cases[] = {
        {48, 16, 18, 12}, {128, 42, 48, 32}, // 42.67 rounds to 43, which is odd: 42
        {50, 16, 18, 12},                    // date 12.5 ties to even 12
        {54, 18, 20, 14},                    // date 13.5 ties to even 14; time 20.25 -> 20
        {51, 16, 18, 12},                    // 17 is odd: 16; 19.125 -> 19 -> 18; 12.75 -> 13 -> 12
        {60, 20, 22, 14}, // 120 / 5.3333333 is just above 22.5: 23, odd: 22; date 15 -> 14
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radius);
        EXPECT_EQ(timeFontSizeFor(c.radius, false), c.time12);
        EXPECT_EQ(timeFontSizeFor(c.radius, true), c.time24);
        EXPECT_EQ(dateFontSizeFor(c.radius), c.date);
    }
}
