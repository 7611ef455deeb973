#pragma once

#include "alarms/alarmtable.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace ovra {

// An alarm whose minute passed while no check ran.
struct MissedAlarm {
    int index = -1;  // in the alarm table
    QDateTime dueAt; // the clock's time at that minute (a naive wall time)
};

// The once-a-second look for a due alarm. Alarms have no date: an enabled alarm
// falls due whenever the clock shows its hour and minute, and at most one alarm
// fires per minute of the clock's day.
class AlarmCheck {
public:
    // How far back minutes skipped by sleep, a stopped process or a forward step
    // are still looked at.
    static constexpr int kCatchUpMinutes = 12 * 60;

    // The clock's wall time at a moment given in UTC.
    using ClockAt = std::function<QDateTime(const QDateTime& utc)>;

    struct Result {
        int due = -1;              // the alarm of the current minute, or -1
        QList<MissedAlarm> missed; // alarms of skipped minutes, newest first
    };

    // The current minute as checkAlarms does, after every whole minute skipped
    // since the previous call (at most kCatchUpMinutes of them). The first call
    // has nothing to catch up: minutes before the clock ran are not its business.
    Result Check(const AlarmTable& table, const QDateTime& nowUtc, const ClockAt& clockAt);

    // Compares the "HH:mm" of clockTime (the time the clock shows, in its own zone)
    // with each enabled alarm of the clock's day of week, in table order. Returns the index of the
    // first match, which the caller hands to processAlarm, or -1. A minute in which an alarm has
    // fired fires nothing more that day, also when a stepped-back clock shows it
    // again.
    int checkAlarms(const AlarmTable& table, const QDateTime& clockTime);

    // The minute in which an alarm last fired; empty until the first one.
    QString lastAlarmMinute;

private:
    static qint64 minuteKey(const QDateTime& clockTime);
    static int firstMatch(const AlarmTable& table, const QDateTime& clockTime);
    void markFired(const QDateTime& clockTime);

    // The clock minutes (days since the epoch * 1440 + minute of day) of the last
    // two days in which an alarm fired.
    QSet<qint64> m_fired;
    QDateTime m_lastCheckUtc;
};

} // namespace ovra
