#include "settings/clocksettings.h"

namespace ovra {

using S = ClockSettings;

namespace {
struct ColourDefault {
    QColor S::*member;
    QRgb value;
};
// The order in which zero colours are replaced.
constexpr ColourDefault kColourDefaults[] = {
    {&S::amHourColor, defaults::AmHourColor},     {&S::pmHourColor, defaults::PmHourColor},
    {&S::minuteColor, defaults::MinuteColor},     {&S::secondColor, defaults::SecondColor},
    {&S::timeTextColor, defaults::TimeTextColor}, {&S::dateTextColor, defaults::DateTextColor},
    {&S::scaleColor, defaults::ScaleColor},
};

bool outside(int v, int lo, int hi) {
    return v < lo || v > hi;
}
} // namespace

void normalizeSettings(ClockSettings& s) {
    for (const auto& c : kColourDefaults)
        if ((s.*c.member).rgba() == 0)
            s.*c.member = QColor::fromRgba(c.value);
    if (outside(s.radius, limits::MinRadius, limits::MaxRadius))
        s.radius = defaults::Radius;
    for (auto m : {&S::hourRingWidth, &S::minuteRingWidth, &S::secondRingWidth})
        if (outside(s.*m, limits::MinWidth, limits::MaxWidth))
            s.*m = defaults::RingWidth;
    if (outside(s.opacityStep, limits::MinOpacity, limits::MaxOpacity))
        s.opacityStep = 0;
}

void restoreDefaults(ClockSettings& s, bool appearance) {
    if (appearance) {
        for (const auto& c : kColourDefaults)
            s.*c.member = QColor::fromRgba(c.value);
        s.radius = defaults::Radius;
        s.hourRingWidth = s.minuteRingWidth = s.secondRingWidth = defaults::RingWidth;
    } else {
        s.hourMode = HourMode::TwelveHour;
        s.timeStandard = TimeStandard::Standard;
        s.opacityStep = 0;
        s.startAtLogin = true;
        s.showScale = true;
        s.alwaysOnTop = false;
    }
}

ClockSettings defaultSettings() {
    ClockSettings s;
    normalizeSettings(s);
    return s;
}

} // namespace ovra
