#include "dialogs/alarmeditortexts.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTime>

namespace ovra {

QString hourEntryText(int hour) {
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    const QString twelveText = QStringLiteral("%1").arg(twelve, 2, 10, QLatin1Char('0'));
    const QString dayText = QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'));
    //: An hour of the alarm's hour list: %1 on the twelve-hour clock, %2 on the 24-hour one.
    return hour < 12 ? QCoreApplication::translate("ovra::AlarmsPage", "AM%1 (%2)")
                           .arg(twelveText, dayText)
                     : QCoreApplication::translate("ovra::AlarmsPage", "PM%1 (%2)")
                           .arg(twelveText, dayText);
}

QString shownSoundText(const QString& stored) {
    //: What the sound box shows for the alarm sound that comes with the clock; the
    //: alarm file keeps "Default Alarm Sound".
    return stored.trimmed() == kDefaultAlarmSoundText
               ? QCoreApplication::translate("ovra::AlarmsPage", "Default Alarm Sound")
               : stored;
}

QString storedSoundText(const QString& shown) {
    return shown.trimmed() == shownSoundText(kDefaultAlarmSoundText) ? kDefaultAlarmSoundText
                                                                     : shown;
}

QStringList hourEntries() {
    QStringList entries;
    for (int hour = 0; hour < 24; ++hour)
        entries << hourEntryText(hour);
    return entries;
}

QStringList minuteEntries() {
    QStringList entries;
    for (int minute = 0; minute < 60; ++minute)
        entries << QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'));
    return entries;
}

std::array<int, 7> weekOrder(const QLocale& locale) {
    std::array<int, 7> order{};
    const int first = locale.firstDayOfWeek();
    for (int i = 0; i < 7; ++i)
        order[size_t(i)] = (first - 1 + i) % 7 + 1;
    return order;
}

QString weekdaysText(uint8_t days, const QLocale& locale) {
    days &= kAllDayBits;
    if (days == kEveryDay || days == kAllDayBits)
        return {};
    const std::array<int, 7> order = weekOrder(locale);
    const auto on = [&](int i) {
        return i < 7 && (days & (1u << (order[size_t(i)] - 1))) != 0;
    };
    const auto name = [&](int i) {
        return locale.dayName(order[size_t(i)], QLocale::ShortFormat);
    };
    QStringList parts;
    for (int i = 0; i < 7;) {
        if (!on(i)) {
            ++i;
            continue;
        }
        int end = i;
        while (on(end + 1))
            ++end;
        if (end - i >= 2) {
            parts << name(i) + QChar(0x2013) + name(end);
        } else {
            for (int k = i; k <= end; ++k)
                parts << name(k);
        }
        i = end + 1;
    }
    return QStringLiteral(" (%1)").arg(parts.join(QStringLiteral(", ")));
}

std::optional<QString> alarmEntryText(const AlarmRecord& alarm, int32_t hourMode,
                                      const QLocale& locale) {
    QString state;
    if (alarm.status == 1)
        state = QCoreApplication::translate("ovra::AlarmsPage", " - Enabled");
    else if (alarm.status == 0)
        state = QCoreApplication::translate("ovra::AlarmsPage", " - Disabled");
    else
        return std::nullopt;
    QString time;
    if (const auto seconds = alarmSecondOfDay(alarm.AlarmTime)) {
        const QTime t = QTime(0, 0).addSecs(*seconds);
        // The C locale keeps "AM"/"PM" in English whatever the user's language.
        time = QLocale::c().toString(t, hourMode != 0 ? QStringLiteral("HH:mm")
                                                      : QStringLiteral("hh:mm AP"));
    }
    return time + state + weekdaysText(alarmWeekdays(alarm), locale);
}

QString tipTextOf(const QString& note) {
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
