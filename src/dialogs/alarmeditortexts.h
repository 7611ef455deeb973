#pragma once

#include "alarms/alarmrecord.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace ovra {

// The sound text of an alarm that plays the default sound; it names no file.
inline const QString kDefaultAlarmSoundText = QStringLiteral("Default Alarm Sound");

// The sound box's text for a stored sound, "Default Alarm Sound" in the user's
// language, and back: the record keeps the stored words whatever the language.
QString shownSoundText(const QString& stored);
QString storedSoundText(const QString& shown);

// The alarm editor's choice lists. An entry's index is the value stored in the record,
// so their order never changes.
// The texts are translated in the context ovra::AlarmsPage where they are shown.
inline constexpr std::array<const char*, 7> kAlarmActionTexts = {
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Show Tip"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Shut Down Computer"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Restart Computer"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Lock Computer"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Power Off Without Saving"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Reboot Without Saving"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Excute a file (Exe,Document,Url...)"),
};
inline constexpr std::array<const char*, 5> kPlayTimeTexts = {
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "1 Minute"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "2 Minutes"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "3 Minutes"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "5 Minutes"),
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Loop"),
};

// Hour n as the hour list shows it: "AM12 (00)", "AM01 (01)" ... "PM12 (12)" ...
// "PM11 (23)", the twelve-hour form first and the 24-hour value in parentheses.
QString hourEntryText(int hour);
QStringList hourEntries();   // 24 entries, hour 0 first
QStringList minuteEntries(); // "00" ... "59"

// The line of an alarm in the editor's list: its time ("HH:mm" when hourMode, the
// 12/24Hour setting, is not 0, else "hh:mm AM/PM") and " - Enabled" or
// " - Disabled", then the days unless it falls due every day. Records of any other
// status have no line.
std::optional<QString> alarmEntryText(const AlarmRecord& alarm, int32_t hourMode,
                                      const QLocale& locale = QLocale());

// The days of the week in the order a locale's week runs, as QDate numbers them
// (1 Monday to 7 Sunday).
std::array<int, 7> weekOrder(const QLocale& locale);

// " (Mon–Fri)" or " (Sat, Sun)": the days an alarm falls due, with runs of three
// or more days joined by a dash, in the locale's week order and short day names;
// empty for an alarm of every day.
QString weekdaysText(uint8_t days, const QLocale& locale);

// The tip text as the editor shows it: up to the first NUL, trailing spaces removed
// (leading ones are part of the tip).
QString tipTextOf(const QString& note);

} // namespace ovra
