#include "dialogs/alarmeditortexts.h"

#include <QLocale>
#include <QTime>

namespace ovra {

QString HourEntryText(int hour) {
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1%2 (%3)")
        .arg(hour < 12 ? u"AM" : u"PM")
        .arg(twelve, 2, 10, QLatin1Char('0'))
        .arg(hour, 2, 10, QLatin1Char('0'));
}

QStringList HourEntries() {
    QStringList entries;
    for (int hour = 0; hour < 24; ++hour)
        entries << HourEntryText(hour);
    return entries;
}

QStringList MinuteEntries() {
    QStringList entries;
    for (int minute = 0; minute < 60; ++minute)
        entries << QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'));
    return entries;
}

std::optional<QString> AlarmEntryText(const AlarmRecord& alarm, int32_t hourMode) {
    QString state;
    if (alarm.Status == 1)
        state = QStringLiteral(" - Enabled");
    else if (alarm.Status == 0)
        state = QStringLiteral(" - Disabled");
    else
        return std::nullopt;
    QString time;
    if (const auto seconds = alarmSecondOfDay(alarm.AlarmTime)) {
        const QTime t = QTime(0, 0).addSecs(*seconds);
        // The C locale keeps "AM"/"PM" in English whatever the user's language.
        time = QLocale::c().toString(t, hourMode != 0 ? QStringLiteral("HH:mm")
                                                      : QStringLiteral("hh:mm AP"));
    }
    return time + state;
}

QString TipTextOf(const QString& note) {
    QString text = note;
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        text.truncate(nul);
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    text.truncate(end);
    return text;
}

} // namespace ovra
