#include "alarms/alarmcheck.h"

#include <algorithm>

namespace ovra {

namespace {
constexpr qint64 kMinutesPerDay = 24 * 60;

qint64 floorMinute(const QDateTime& utc) {
    const qint64 s = utc.toSecsSinceEpoch();
    return s >= 0 ? s / 60 : (s - 59) / 60;
}
} // namespace

qint64 AlarmCheck::minuteKey(const QDateTime& clockTime) {
    const QTime t = clockTime.time();
    return clockTime.date().toJulianDay() * kMinutesPerDay + t.hour() * 60 + t.minute();
}

int AlarmCheck::firstMatch(const AlarmTable& table, const QDateTime& clockTime) {
    // The clock's own day: a Tokyo clock's Monday starts while New York's Sunday runs.
    const QString minute = clockTime.toString(QStringLiteral("HH:mm"));
    const int day = clockTime.date().dayOfWeek();
    for (int i = 0; i < table.alarmCount(); ++i) {
        const AlarmRecord& alarm = table.at(i);
        if (alarm.status == 1 && alarmFallsOn(alarm, day) &&
            alarmMinuteText(alarm.AlarmTime) == minute)
            return i;
    }
    return -1;
}

void AlarmCheck::markFired(const QDateTime& clockTime) {
    const qint64 key = minuteKey(clockTime);
    // Two days are enough to tell a step back within the day from the next day.
    m_fired.removeIf(
        [key](qint64 k) { return k < key - 2 * kMinutesPerDay || k > key + 2 * kMinutesPerDay; });
    m_fired.insert(key);
}

int AlarmCheck::checkAlarms(const AlarmTable& table, const QDateTime& clockTime) {
    if (table.alarmCount() == 0)
        return -1;
    if (m_fired.contains(minuteKey(clockTime)))
        return -1;
    const int due = firstMatch(table, clockTime);
    if (due < 0)
        return -1;
    lastAlarmMinute = clockTime.toString(QStringLiteral("HH:mm"));
    markFired(clockTime);
    return due;
}

AlarmCheck::Result AlarmCheck::Check(const AlarmTable& table, const QDateTime& nowUtc,
                                     const ClockAt& clockAt) {
    Result result;
    const qint64 nowMinute = floorMinute(nowUtc);
    if (m_lastCheckUtc.isValid() && table.alarmCount() > 0) {
        // A step back leaves nothing skipped; the fired minutes keep it from
        // firing a minute twice.
        const qint64 first = std::max(floorMinute(m_lastCheckUtc) + 1, nowMinute - kCatchUpMinutes);
        for (qint64 m = nowMinute - 1; m >= first; --m) {
            const QDateTime clock = clockAt(QDateTime::fromSecsSinceEpoch(m * 60, Qt::UTC));
            if (m_fired.contains(minuteKey(clock)))
                continue;
            const int index = firstMatch(table, clock);
            if (index < 0)
                continue;
            markFired(clock);
            result.missed.append({index, clock});
        }
    }
    m_lastCheckUtc = nowUtc;
    result.due = checkAlarms(table, clockAt(nowUtc));
    return result;
}

} // namespace ovra
