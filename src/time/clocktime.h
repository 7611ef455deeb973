#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <cstdint>

namespace ovra {

struct ClockTimeInput {
    bool isDefaultClock = false;   // the clock "Default" follows the computer
    int32_t ZoneOffsetMinutes = 0; // the chosen zone, minutes east of UTC
    int32_t TimeStandard = 0;      // non-zero adds the daylight-saving hour
};

// The wall-clock date and time a clock shows, in whole seconds. The Default clock
// shows the computer's local time, daylight saving included; every other clock
// shows UTC plus its zone's fixed offset. Either gains 60 minutes when its own
// daylight-saving switch is on.
//
// The result is a naive wall time carried in a UTC QDateTime, so that no gap or
// fold of the computer's zone can shift it; read its date() and time() only.
QDateTime ClockTime(const QDateTime& nowUtc, const QTimeZone& systemZone, const ClockTimeInput& in);

} // namespace ovra
