#include "dialogs/alarmeditortexts.h"

#include <gtest/gtest.h>

namespace ovra {
namespace {

TEST(AlarmEditorTexts, HourEntriesNameBothClocks) {
    const struct {
        int hour;
        const char* text;
    } cases[] = {
        {0, "AM12 (00)"},  {1, "AM01 (01)"},  {11, "AM11 (11)"},
        {12, "PM12 (12)"}, {13, "PM01 (13)"}, {23, "PM11 (23)"},
    };
    const QStringList all = hourEntries();
    ASSERT_EQ(all.size(), 24);
    for (const auto& c : cases) {
        EXPECT_EQ(hourEntryText(c.hour), QString::fromLatin1(c.text));
        EXPECT_EQ(all.at(c.hour), QString::fromLatin1(c.text));
    }
    const QStringList minutes = minuteEntries();
    ASSERT_EQ(minutes.size(), 60);
    EXPECT_EQ(minutes.first(), QStringLiteral("00"));
    EXPECT_EQ(minutes.at(7), QStringLiteral("07"));
    EXPECT_EQ(minutes.last(), QStringLiteral("59"));
}

TEST(AlarmEditorTexts, AnAlarmsLineFollowsTheHourModeAndItsState) {
    const struct {
        int hour, minute, status, hourMode;
        const char* line; // nullptr: no line
    } cases[] = {
        {19, 5, 1, 0, "07:05 PM - Enabled"},
        {19, 5, 1, 1, "19:05 - Enabled"},
        {0, 0, 0, 0, "12:00 AM - Disabled"},
        {12, 30, 0, 0, "12:30 PM - Disabled"},
        {0, 0, 0, 7, "00:00 - Disabled"},
        {9, 15, -1, 0, nullptr},
        {9, 15, 2, 1, nullptr},
    };
    for (const auto& c : cases) {
        AlarmRecord r;
        r.AlarmTime = alarmTimeOf(c.hour, c.minute);
        r.status = c.status;
        const auto line = alarmEntryText(r, c.hourMode);
        if (c.line)
            EXPECT_EQ(line, QString::fromLatin1(c.line)) << c.hour << ":" << c.minute;
        else
            EXPECT_FALSE(line.has_value()) << "status " << c.status;
    }
}

TEST(AlarmEditorTexts, TheTipKeepsLeadingBlanksAndStopsAtTheFirstNul) {
    EXPECT_EQ(tipTextOf(QStringLiteral("  Tea   ")), QStringLiteral("  Tea"));
    EXPECT_EQ(tipTextOf(QStringLiteral("Tea") + QString(252, QChar(0))), QStringLiteral("Tea"));
    EXPECT_EQ(tipTextOf(QString(255, QChar(0))), QString());
    EXPECT_EQ(tipTextOf(QStringLiteral("a\nb  ")), QStringLiteral("a\nb"));
}

TEST(AlarmEditorTexts, TheDaysFollowTheLocalesWeekAndJoinRuns) {
    const QLocale britain(QLocale::English, QLocale::UnitedKingdom); // week starts Monday
    const QLocale america(QLocale::English, QLocale::UnitedStates);  // week starts Sunday
    const struct {
        uint8_t days;
        const QLocale& locale;
        const char16_t* text;
    } cases[] = {
        {0x00, britain, u""},
        {0x7F, britain, u""},
        {0x1F, britain, u" (Mon\u2013Fri)"},
        {0x60, britain, u" (Sat, Sun)"},
        {0x60, america, u" (Sun, Sat)"},
        {0x41, america, u" (Sun, Mon)"},
        {0x43, america, u" (Sun\u2013Tue)"},
        {0x15, britain, u" (Mon, Wed, Fri)"},
        {0x9F, britain, u" (Mon\u2013Fri)"}, // the top bit is no day
        {0x3D, britain, u" (Mon, Wed\u2013Sat)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(weekdaysText(c.days, c.locale), QString::fromUtf16(c.text)) << int(c.days);

    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(6, 45);
    r.status = 1;
    setAlarmWeekdays(r, 0x1F);
    EXPECT_EQ(alarmEntryText(r, 1, britain), QStringLiteral("06:45 - Enabled (Mon\u2013Fri)"));
}

} // namespace
} // namespace ovra
