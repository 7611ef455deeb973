#pragma once

#include "alarms/alarmtable.h"

#include <QDateTime>
#include <QString>

namespace ovra {

// The once-a-second look for a due alarm. Alarms have no date: an enabled alarm
// falls due whenever the clock shows its hour and minute, and at most one alarm
// fires per minute.
class AlarmCheck {
public:
    // Compares the "HH:mm" of clockTime (the time the clock shows, in its own zone)
    // with each enabled alarm in table order. Returns the index of the first match,
    // which the caller hands to ProcessAlarm, or -1. A match is remembered in
    // LastAlarmMinute, so nothing fires again in that minute.
    int CheckAlarms(const AlarmTable& table, const QDateTime& clockTime);

    // The minute in which an alarm last fired; empty until the first one.
    QString LastAlarmMinute;

private:
    // The day of LastAlarmMinute. "HH:mm" alone would also match the same minute
    // of every later day, and a clock whose alarms all share one minute would fire
    // once and then never again.
    QDate m_lastAlarmDate;
};

} // namespace ovra
