#pragma once

#include "settings/clocksettings.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdint>

namespace ovra {

// What one frame of the face shows, before anything is drawn: the three text
// lines with their pixel sizes and the arc lengths of the three rings.
struct FaceFrame {
    QString titleText; // weekday for the Default clock, else the first 8 characters of the name
    QString timeText;
    QString dateText;
    uint8_t timeFontSize = 0;
    uint8_t dateFontSize = 0; // also the title's size
    float hourSweep = 0;      // degrees, clockwise from twelve; 0 is drawn as 360
    float minuteSweep = 0;
    float secondSweep = 0;
    bool pmHour = false; // the hour ring takes the afternoon colour

    friend bool operator==(const FaceFrame&, const FaceFrame&) = default;
};

// Pixel sizes of the texts for inner radius R: to nearest with ties to even, then
// down to the next even number. drawText raises anything below 12 to 12.
uint8_t timeFontSizeFor(int clockRadius, bool twentyFourHour);
uint8_t dateFontSizeFor(int clockRadius);

// The separators the user's locale puts between date and time fields ("/" and ":"
// in the US).
QChar dateSeparatorOf(const QLocale& locale);
QChar timeSeparatorOf(const QLocale& locale);

// The face's date: two-digit day and month and a four-digit year with the locale's
// separator, in the order of the locale's short date (12/07/2026 in the US,
// 07.12.2026 in Germany, 2026/12/07 in Japan for 7 December 2026).
QString faceDateText(const QDate& date, const QLocale& locale);

// clockTime is the wall time the clock shows (read through date() and time()).
FaceFrame composeFaceFrame(const QDateTime& clockTime, const ClockSettings& s,
                           const QString& clockName, const QLocale& locale);

// composeFaceFrame for a clock that asks every second: the locale's formats and
// the day's title and date are kept until the day, the locale or the name changes.
class FaceFrameComposer {
public:
    FaceFrame compose(const QDateTime& clockTime, const ClockSettings& s, const QString& clockName,
                      const QLocale& locale);

private:
    bool m_known = false;
    QDate m_date;
    QLocale m_locale;
    QString m_clockName;
    QChar m_timeSeparator;
    QString m_dateText, m_titleText;
};

} // namespace ovra
