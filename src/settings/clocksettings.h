#pragma once

#include "time/clocktime.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>

#include <cstdint>
#include <optional>

namespace ovra {

// How the clock's zone keeps summer time. A value a newer build stored is kept as
// it is and shows daylight saving, as every non-zero value did before Automatic.
enum class TimeStandard : int32_t {
    Standard = timestandard::Standard,
    DaylightSaving = timestandard::DaylightSaving,
    Automatic = timestandard::Automatic,
};

// Any value but TwelveHour (a newer build's too) shows twenty-four hours.
enum class HourMode : int32_t { TwelveHour = 0, TwentyFourHour = 1 };

// What the store held where a typed field cannot carry it whole: a flag stored as
// neither 0 nor 1, a position between two pixels. Only the store's mapping reads
// it, so that a record loaded and saved untouched writes back the bytes it was
// read from. Equal settings are equal however they were stored.
struct AsStored {
    std::optional<int32_t> startAtLogin, alwaysOnTop, showScale;
    std::optional<int32_t> left, top;

    friend bool operator==(const AsStored&, const AsStored&) { return true; }
};

// One clock's settings. Sizes are pixels, colours carry their alpha, and the
// enumerations' first choice is the default.
struct ClockSettings {
    bool enabled = false; // stored before; a new clock is not
    int timeZoneRow = 0;  // the row of the zone table
    TimeStandard timeStandard = TimeStandard::Standard;
    int monitor = 0; // the index of the monitor the clock stands on
    bool startAtLogin = true;
    QPoint position; // the window's top left corner, screen pixels
    bool alwaysOnTop = false;
    bool showScale = true;
    HourMode hourMode = HourMode::TwelveHour;
    int hourRingWidth = 0;
    int minuteRingWidth = 0;
    int secondRingWidth = 0;
    int radius = 0;
    int opacityStep = 0; // 0 = 100 % ... 5 = 50 %; 6 is accepted
    // A zero (transparent black) colour stands for the default one.
    QColor amHourColor{Qt::transparent}; // the hour ring before noon, and all day in 24 hours
    QColor pmHourColor{Qt::transparent};
    QColor minuteColor{Qt::transparent};
    QColor secondColor{Qt::transparent};
    QColor timeTextColor{Qt::transparent};
    QColor dateTextColor{Qt::transparent};
    QColor scaleColor{Qt::transparent};
    // The zone of the system's database the clock was made for, where no row is
    // its own place ("Australia/Lord_Howe"); stored as text beside the row when the
    // clock is added, and empty for every clock added for a row.
    QByteArray timeZoneName;
    AsStored asStored;

    bool twentyFourHour() const { return hourMode != HourMode::TwelveHour; }

    friend bool operator==(const ClockSettings&, const ClockSettings&) = default;
};

namespace defaults {
inline constexpr int Radius = 48;
inline constexpr int RingWidth = 18;
inline constexpr QRgb AmHourColor = 0xFFDB5C1Cu;
inline constexpr QRgb PmHourColor = 0xFFFFC90Eu;
inline constexpr QRgb MinuteColor = 0xFF2272CDu;
inline constexpr QRgb SecondColor = 0xFF71A713u;
inline constexpr QRgb TimeTextColor = 0xFFFFFFFFu;
inline constexpr QRgb DateTextColor = 0xFF777777u;
inline constexpr QRgb ScaleColor = 0x77777777u;
} // namespace defaults

namespace limits {
inline constexpr int MinRadius = 48, MaxRadius = 128;
inline constexpr int MinWidth = 10, MaxWidth = 50;
inline constexpr int MinOpacity = 0, MaxOpacity = 6;
} // namespace limits

// Replaces zero colours by their defaults and out-of-range sizes and opacity by
// theirs. Enumerations, zone, monitor and position are taken as they are.
void normalizeSettings(ClockSettings& s);

// appearance true: every colour and size to its default. false: the six general
// choices to their first; zone, monitor and position stay.
void restoreDefaults(ClockSettings& s, bool appearance);

// The record a never-stored clock ends up with after loading and normalising.
ClockSettings defaultSettings();

} // namespace ovra
