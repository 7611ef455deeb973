#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <cstdint>

namespace ovra {

struct ClockTimeInput {
    bool isDefaultClock = false;   // the clock "Default" follows the computer
    int32_t zoneOffsetMinutes = 0; // the chosen zone, minutes east of UTC
    int32_t TimeStandard = 0;      // timestandard:: below
    int32_t TimeZoneIndex = -1;    // the zone row; its place's rules for Automatic
    QTimeZone namedZone = {};      // the zone the clock was made for, where it has one
};

namespace timestandard {
inline constexpr int32_t Standard = 0;
inline constexpr int32_t DaylightSaving = 1; // standard time plus one hour, all year
inline constexpr int32_t Automatic = 2;      // the real local time of the zone's place
} // namespace timestandard

// The wall-clock date and time a clock shows, in whole seconds. The Default clock
// shows the computer's local time, daylight saving included; every other clock
// shows UTC plus its zone's fixed offset. Either gains 60 minutes with Daylight
// Saving. With Automatic, the Default clock shows the computer's local time and
// any other clock the local time of its row's place, daylight saving included by
// that place's rules; a row the system's zone database lacks falls back to the
// row's fixed offset. A clock with a named zone (Lord Howe, beside the row that
// keeps its offsets best) follows that zone instead of its row: its real local
// time with Automatic, its standard offset otherwise. Values above 2 (a newer build's) count as
// Daylight Saving, as every non-zero value did before Automatic existed.
//
// The result is a naive wall time carried in a UTC QDateTime, so that no gap or
// fold of the computer's zone can shift it; read its date() and time() only.
QDateTime clockTime(const QDateTime& nowUtc, const QTimeZone& systemZone, const ClockTimeInput& in);

} // namespace ovra
