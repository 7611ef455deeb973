#include "clock/faceframe.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace ovra {

namespace {

uint8_t evenSize(double size) {
    // nearbyint rounds to nearest with ties to even in the default rounding mode.
    auto n = static_cast<long>(std::nearbyint(size));
    if (n % 2 != 0)
        n -= 1;
    return static_cast<uint8_t>(n & 0xFF);
}

QChar separatorIn(const QString& format, QChar fallback) {
    for (const QChar c : format) {
        // Arabic formats mark each separator right to left ("d\u200f/M\u200f/yyyy"):
        // such a mark shows nothing itself and, between digits, reorders them.
        if (c.isLetterOrNumber() || c.isSpace() || c == u'\'' ||
            c.category() == QChar::Other_Format)
            continue;
        return c;
    }
    return fallback;
}

QString twoDigits(int n) {
    const QChar digits[2] = {QChar(u'0' + (n / 10) % 10), QChar(u'0' + n % 10)};
    return QString(digits, 2);
}

// The first n characters of a name, never splitting a surrogate pair.
QString firstCharacters(const QString& text, int n) {
    if (text.size() <= n)
        return text;
    qsizetype cut = n;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut);
}

} // namespace

uint8_t timeFontSizeFor(int clockRadius, bool twentyFourHour) {
    const double d = 2.0 * clockRadius;
    return evenSize(twentyFourHour ? d / 5.3333333 : d / 6.0);
}

uint8_t dateFontSizeFor(int clockRadius) {
    return evenSize(2.0 * clockRadius / 8.0);
}

QChar dateSeparatorOf(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return u'/';
    return separatorIn(locale.dateFormat(QLocale::ShortFormat), u'/');
}

QString faceDateText(const QDate& date, const QLocale& locale) {
    // The locale's short date gives both the separator and the order; it is read
    // once for both.
    const bool c = locale.language() == QLocale::C;
    const QString format = c ? QString() : locale.dateFormat(QLocale::ShortFormat);
    const QChar ds = c ? QChar(u'/') : separatorIn(format, u'/');
    struct Field {
        qsizetype at;
        QString text;
    } fields[] = {
        {0, twoDigits(date.month())},
        {1, twoDigits(date.day())},
        {2, QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'))},
    };
    // Month, day, year unless the locale's short date puts them otherwise: 07.12.2026
    // in Germany is 7 December, and Japan writes the year first.
    if (!c) {
        bool quoted = false;
        qsizetype seen[3] = {-1, -1, -1};
        for (qsizetype i = 0; i < format.size(); ++i) {
            const QChar c = format.at(i);
            if (c == u'\'')
                quoted = !quoted;
            const int field = quoted ? -1 : c == u'M' ? 0 : c == u'd' ? 1 : c == u'y' ? 2 : -1;
            if (field >= 0 && seen[field] < 0)
                seen[field] = i;
        }
        if (seen[0] >= 0 && seen[1] >= 0 && seen[2] >= 0) {
            for (int f = 0; f < 3; ++f)
                fields[f].at = seen[f];
            std::sort(std::begin(fields), std::end(fields),
                      [](const Field& a, const Field& b) { return a.at < b.at; });
        }
    }
    return fields[0].text + ds + fields[1].text + ds + fields[2].text;
}

QChar timeSeparatorOf(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return u':';
    return separatorIn(locale.timeFormat(QLocale::ShortFormat), u':');
}

FaceFrame composeFaceFrame(const QDateTime& clockTime, const ClockSettings& s,
                           const QString& clockName, const QLocale& locale) {
    return FaceFrameComposer().compose(clockTime, s, clockName, locale);
}

FaceFrame FaceFrameComposer::compose(const QDateTime& clockTime, const ClockSettings& s,
                                     const QString& clockName, const QLocale& locale) {
    FaceFrame f;
    const QDate date = clockTime.date();
    const QTime time = clockTime.time();
    const int hour = time.hour(), minute = time.minute(), second = time.second();
    const bool twentyFourHour = s.HourMode != 0;
    // The locale's formats and the day's texts are read again only when they can
    // have changed: a new day, another locale or another name.
    if (!m_known || date != m_date || locale != m_locale || clockName != m_clockName) {
        m_known = true;
        m_date = date;
        m_locale = locale;
        m_clockName = clockName;
        m_timeSeparator = timeSeparatorOf(locale);
        m_dateText = faceDateText(date, locale);
        m_titleText = clockName == u"Default"
                          ? locale.dayName(date.dayOfWeek(), QLocale::LongFormat)
                          : firstCharacters(clockName, 8);
    }
    const QChar ts = m_timeSeparator;

    if (twentyFourHour) {
        f.timeText = twoDigits(hour) + ts + twoDigits(minute) + ts + twoDigits(second);
    } else {
        // "hh:mm:ss AM/PM" with the last letter dropped: only A or P is left.
        const int h12 = hour % 12 == 0 ? 12 : hour % 12;
        f.timeText = twoDigits(h12) + ts + twoDigits(minute) + ts + twoDigits(second) +
                     (hour < 12 ? QStringLiteral(" A") : QStringLiteral(" P"));
    }
    f.timeFontSize = timeFontSizeFor(s.ClockRadius, twentyFourHour);
    f.dateFontSize = dateFontSizeFor(s.ClockRadius);

    f.dateText = m_dateText;
    f.titleText = m_titleText;

    if (twentyFourHour) {
        f.hourSweep = float(hour * 15);
    } else {
        f.hourSweep = float((hour < 12 ? hour : hour - 12) * 30);
        f.pmHour = hour >= 12;
    }
    f.minuteSweep = float(minute * 6);
    f.secondSweep = float(second * 6);
    // At zero a ring is drawn full, not empty.
    for (float* sweep : {&f.hourSweep, &f.minuteSweep, &f.secondSweep})
        if (*sweep == 0)
            *sweep = 360;
    return f;
}

} // namespace ovra
