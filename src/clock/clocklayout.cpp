#include "clock/clocklayout.h"

#include <cmath>

namespace ovra {

namespace {

// The face's angles are degrees growing clockwise from three o'clock, and pi is
// taken to seven decimals, so that tick ends match the stored layouts exactly.
constexpr double kPi = 3.1415926;

QRectF square(double xy, double size) {
    return QRectF(xy, xy, size, size);
}

TickLine tick(int center, double angleDegrees, double fromRadius, double toRadius) {
    const double a = angleDegrees * kPi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    return {float(center + fromRadius * c), float(center + fromRadius * s),
            float(center + toRadius * c), float(center + toRadius * s)};
}

} // namespace

ClockLayout calcClockLayout(const ClockSettings& st) {
    const double R = st.ClockRadius, H = st.HourCircleWidth, M = st.MinuteCircleWidth,
                 S = st.SecondCircleWidth;
    ClockLayout l;
    l.center = st.SecondCircleWidth + st.MinuteCircleWidth + st.HourCircleWidth + st.ClockRadius +
               kFaceMargin;
    l.innerDiameter = 2 * st.ClockRadius;

    // The half widths are exact: a rectangle may start on a half pixel.
    const double m = kFaceMargin;
    l.dialRect = square(m, 2 * (R + H + M + S));
    l.secondArcRect = square(m + S / 2, 2 * (R + H + M) + S);
    l.minuteOuterRect = square(m + S, 2 * (R + H + M));
    l.minuteArcRect = square(m + S + M / 2, 2 * (R + H) + M);
    l.hourOuterRect = square(m + S + M, 2 * (R + H));
    l.hourArcRect = square(m + S + M + H / 2, 2 * R + H);
    l.innerRect = square(m + S + M + H, 2 * R);

    const bool twentyFourHour = st.HourMode != 0;
    l.hourTickCount = twentyFourHour ? 24 : 12;
    const double hourStep = twentyFourHour ? 15.0 : 30.0;
    for (int i = 0; i < l.hourTickCount; ++i)
        l.hourTicks[i] = tick(l.center, hourStep * i, R, R + H);
    for (int i = 0; i < 60; ++i)
        l.minuteTicks[i] = tick(l.center, 6.0 * i, R + H, R + H + M + S);
    return l;
}

} // namespace ovra
