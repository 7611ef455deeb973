#include "clock/faceframe.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

ClockSettings mode(int hourMode) {
    ClockSettings s = defaultSettings();
    s.HourMode = hourMode;
    return s;
}

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

} // namespace

TEST(FaceFrame, TimeTextAndSweepsInBothModes) {
    const struct {
        QDateTime when;
        int hourMode;
        const char* time;
        float hour, minute, second;
        bool pm;
    } cases[] = {
        {at(2026, 5, 17, 15, 25, 7), 0, "03:25:07 P", 90, 150, 42, true},
        {at(2026, 5, 17, 15, 25, 7), 1, "15:25:07", 225, 150, 42, false},
        // Zero sweeps are drawn as full rings.
        {at(2026, 5, 17, 0, 0, 0), 0, "12:00:00 A", 360, 360, 360, false},
        {at(2026, 5, 17, 0, 0, 0), 1, "00:00:00", 360, 360, 360, false},
        {at(2026, 5, 17, 12, 30, 1), 0, "12:30:01 P", 360, 180, 6, true},
        {at(2026, 5, 17, 13, 0, 59), 0, "01:00:59 P", 30, 360, 354, true},
        {at(2026, 5, 17, 11, 59, 59), 0, "11:59:59 A", 330, 354, 354, false},
        {at(2026, 5, 17, 23, 1, 30), 1, "23:01:30", 345, 6, 180, false},
    };
    for (const auto& c : cases) {
        const FaceFrame f =
            composeFaceFrame(c.when, mode(c.hourMode), QStringLiteral("Office"), kUs);
        SCOPED_TRACE(c.time);
        EXPECT_EQ(f.timeText, QString::fromLatin1(c.time));
        EXPECT_EQ(f.hourSweep, c.hour);
        EXPECT_EQ(f.minuteSweep, c.minute);
        EXPECT_EQ(f.secondSweep, c.second);
        EXPECT_EQ(f.pmHour, c.pm);
        EXPECT_EQ(f.timeFontSize, c.hourMode == 0 ? 16 : 18);
        EXPECT_EQ(f.dateFontSize, 12);
        EXPECT_EQ(f.dateText, QStringLiteral("05/17/2026"));
    }
}

TEST(FaceFrame, TitleIsTheWeekdayForDefaultAndTheShortNameOtherwise) {
    const QDateTime sunday = at(2026, 5, 17, 9, 0, 0);
    const struct {
        const char* clockName;
        QLocale locale;
        const char* title;
    } cases[] = {
        {"Default", kUs, "Sunday"},
        {"Default", QLocale(QLocale::German, QLocale::Germany), "Sonntag"},
        {"Default", QLocale(QLocale::French, QLocale::France), "dimanche"},
        {"default", kUs, "default"}, // the name compares case-sensitively
        {"Tokyo", kUs, "Tokyo"},
        {"Exactly8", kUs, "Exactly8"},
        {"New York City", kUs, "New York"},
        {"Big Apple Two", kUs, "Big Appl"},
        {"Los Ang eles", kUs, "Los Ang "}, // the blank goes when the text is drawn
    };
    for (const auto& c : cases) {
        const FaceFrame f =
            composeFaceFrame(sunday, mode(0), QString::fromUtf8(c.clockName), c.locale);
        EXPECT_EQ(f.titleText, QString::fromUtf8(c.title)) << c.clockName;
    }
    // A character outside the basic plane is never cut in half.
    const QString withEmoji =
        QStringLiteral("Clock 1") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("xyz");
    EXPECT_EQ(composeFaceFrame(sunday, mode(0), withEmoji, kUs).titleText,
              QStringLiteral("Clock 1"));
}

// 7 December reads as 7 December in each locale's own order and separator.
TEST(FaceFrame, DateFollowsTheLocalesOrderAndSeparators) {
    const QDateTime when = at(2026, 12, 7, 7, 8, 9);
    const struct {
        QLocale locale;
        const char* date;
        const char* time;
    } cases[] = {
        {kUs, "12/07/2026", "07:08:09"},
        {QLocale::c(), "12/07/2026", "07:08:09"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "07/12/2026", "07:08:09"},
        {QLocale(QLocale::German, QLocale::Germany), "07.12.2026", "07:08:09"},
        {QLocale(QLocale::French, QLocale::France), "07/12/2026", "07:08:09"},
        {QLocale(QLocale::Finnish, QLocale::Finland), "07.12.2026", "07.08.09"},
        {QLocale(QLocale::Japanese, QLocale::Japan), "2026/12/07", "07:08:09"},
        {QLocale(QLocale::Swedish, QLocale::Sweden), "2026-12-07", "07:08:09"},
        // Arabic marks its separators right to left with an invisible sign; as the
        // separator that sign reordered the digits to read "20261207".
        {QLocale(QLocale::Arabic, QLocale::Egypt), "07/12/2026", "07:08:09"},
        {QLocale(QLocale::Persian, QLocale::Iran), "2026/12/07", "07:08:09"},
    };
    for (const auto& c : cases) {
        const FaceFrame f = composeFaceFrame(when, mode(1), QStringLiteral("Default"), c.locale);
        SCOPED_TRACE(c.locale.name().toStdString());
        EXPECT_EQ(f.dateText, QString::fromLatin1(c.date));
        EXPECT_EQ(f.timeText, QString::fromLatin1(c.time));
    }
}

// A clock composes one frame a second with the texts of the day kept: each frame
// is the one composed afresh, across midnight and a change of locale or name.
TEST(FaceFrame, AComposerKeepsNothingPastItsDayLocaleOrName) {
    const QLocale de(QLocale::German, QLocale::Germany);
    const struct {
        QDateTime when;
        QLocale locale;
        const char* name;
    } seconds[] = {
        {at(2026, 12, 7, 23, 59, 58), kUs, "Default"},
        {at(2026, 12, 7, 23, 59, 59), kUs, "Default"},
        {at(2026, 12, 8, 0, 0, 0), kUs, "Default"},
        {at(2026, 12, 8, 0, 0, 1), de, "Default"},
        {at(2026, 12, 8, 0, 0, 2), de, "Office"},
        {at(2026, 12, 8, 0, 0, 3), kUs, "Office"},
        {at(2026, 12, 8, 0, 0, 4), kUs, "Default"},
        {at(2026, 12, 7, 12, 0, 0), kUs, "Default"},
    };
    ClockSettings s = defaultSettings();
    FaceFrameComposer composer;
    for (const auto& second : seconds) {
        SCOPED_TRACE(second.when.toString(Qt::ISODate).toStdString() + " " + second.name);
        const QString name = QString::fromLatin1(second.name);
        EXPECT_EQ(composer.compose(second.when, s, name, second.locale),
                  composeFaceFrame(second.when, s, name, second.locale));
    }
}
