#include "alarms/alarmcheck.h"

namespace ovra {

int AlarmCheck::CheckAlarms(const AlarmTable& table, const QDateTime& clockTime) {
    if (table.AlarmCount() == 0)
        return -1;
    const QString now = clockTime.toString(QStringLiteral("HH:mm"));
    if (now == LastAlarmMinute && clockTime.date() == m_lastAlarmDate)
        return -1;
    for (int i = 0; i < table.AlarmCount(); ++i) {
        const AlarmRecord& alarm = table.at(i);
        if (alarm.Status != 1)
            continue;
        if (alarmMinuteText(alarm.AlarmTime) != now)
            continue;
        LastAlarmMinute = now;
        m_lastAlarmDate = clockTime.date();
        return i;
    }
    return -1;
}

} // namespace ovra
