#include "settings/clocksettings.h"

namespace ovra {

using S = ClockSettings;

const std::array<SettingsField, 22> kSettingsFields = {{
    {u"Enable", &S::Enable},
    {u"TimeZoneIndex", &S::TimeZoneIndex},
    {u"TimeStandard", &S::TimeStandard},
    {u"MonitorID", &S::MonitorID},
    {u"Autorun", &S::Autorun},
    {u"Top", &S::Top},
    {u"Left", &S::Left},
    {u"AlwaysOnTop", &S::AlwaysOnTop},
    {u"DisplayScale", &S::DisplayScale},
    {u"12/24Hour", &S::HourMode},
    {u"HourCircleWidth", &S::HourCircleWidth},
    {u"MinuteCircleWidth", &S::MinuteCircleWidth},
    {u"SecondCircleWidth", &S::SecondCircleWidth},
    {u"ClockRadius", &S::ClockRadius},
    {u"BackgroundOpacity", &S::BackgroundOpacity},
    {u"AM/24HourCircleColor", &S::AM24HourCircleColor},
    {u"PMHourCircleColor", &S::PMHourCircleColor},
    {u"MinuteCircleColor", &S::MinuteCircleColor},
    {u"SecondCircleColor", &S::SecondCircleColor},
    {u"TimeFontColor", &S::TimeFontColor},
    {u"DateFontColor", &S::DateFontColor},
    {u"ClockScaleColor", &S::ClockScaleColor},
}};

namespace {
struct ColourDefault {
    int32_t S::*member;
    int32_t value;
};
// The order in which zero colours are replaced.
constexpr ColourDefault kColourDefaults[] = {
    {&S::AM24HourCircleColor, defaults::AM24HourCircleColor},
    {&S::PMHourCircleColor, defaults::PMHourCircleColor},
    {&S::MinuteCircleColor, defaults::MinuteCircleColor},
    {&S::SecondCircleColor, defaults::SecondCircleColor},
    {&S::TimeFontColor, defaults::TimeFontColor},
    {&S::DateFontColor, defaults::DateFontColor},
    {&S::ClockScaleColor, defaults::ClockScaleColor},
};

bool outside(int32_t v, int32_t lo, int32_t hi) {
    return v < lo || v > hi;
}
} // namespace

void normalizeSettings(ClockSettings& s) {
    for (const auto& c : kColourDefaults)
        if (s.*c.member == 0)
            s.*c.member = c.value;
    if (outside(s.ClockRadius, limits::MinRadius, limits::MaxRadius))
        s.ClockRadius = defaults::ClockRadius;
    for (auto m : {&S::HourCircleWidth, &S::MinuteCircleWidth, &S::SecondCircleWidth})
        if (outside(s.*m, limits::MinWidth, limits::MaxWidth))
            s.*m = defaults::CircleWidth;
    if (outside(s.BackgroundOpacity, limits::MinOpacity, limits::MaxOpacity))
        s.BackgroundOpacity = 0;
}

void restoreDefaults(ClockSettings& s, bool appearance) {
    if (appearance) {
        for (const auto& c : kColourDefaults)
            s.*c.member = c.value;
        s.ClockRadius = defaults::ClockRadius;
        s.HourCircleWidth = s.MinuteCircleWidth = s.SecondCircleWidth = defaults::CircleWidth;
    } else {
        s.HourMode = 0;
        s.TimeStandard = 0;
        s.BackgroundOpacity = 0;
        s.Autorun = 0;
        s.DisplayScale = 0;
        s.AlwaysOnTop = 0;
    }
}

ClockSettings defaultSettings() {
    ClockSettings s;
    normalizeSettings(s);
    return s;
}

} // namespace ovra
