#include "alarms/alarmrecord.h"
#include "alarms/noticetexts.h"

#include <gtest/gtest.h>

using namespace ovra;

TEST(NoticeTexts, CaptionInBothHourModes) {
    struct Case {
        int hour, minute, hourMode;
        const char* expected;
    } cases[] = {
        {19, 5, 1, "Clock: Office  -  Alarm: 19:05"},
        {19, 5, 0, "Clock: Office  -  Alarm: 07:05 PM"},
        {7, 5, 0, "Clock: Office  -  Alarm: 07:05 AM"},
        {0, 0, 0, "Clock: Office  -  Alarm: 12:00 AM"},
        {0, 0, 1, "Clock: Office  -  Alarm: 00:00"},
        {12, 30, 0, "Clock: Office  -  Alarm: 12:30 PM"},
        {23, 59, 7, "Clock: Office  -  Alarm: 23:59"}, // any non-zero mode is 24-hour
        {23, 59, -1, "Clock: Office  -  Alarm: 23:59"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            NoticeCaption(QStringLiteral("Office"), alarmTimeOf(c.hour, c.minute), c.hourMode),
            QString::fromUtf8(c.expected));
}

TEST(NoticeTexts, CountdownMessagesPerAction) {
    struct Case {
        int32_t action;
        const char* expected;
    } cases[] = {
        {1, "Computer will be shutted down in 29 seconds"},
        {2, "Computer will be restarted in 29 seconds"},
        {3, "Computer will be locked in 29 seconds"},
        {4, "Computer will be powered off without saving in 29 seconds"},
        {5, "Computer will be rebooted without saving in 29 seconds"},
        {0, ""},
        {6, ""},
        {-3, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountdownText(c.action, 29), QString::fromUtf8(c.expected)) << c.action;
    EXPECT_EQ(CancelButtonText(0), QStringLiteral("&Cancel (0)"));
    EXPECT_EQ(CancelButtonText(17), QStringLiteral("&Cancel (17)"));
}

TEST(NoticeTexts, SoundLimits) {
    EXPECT_EQ(SoundLimitFor(0), 60);
    EXPECT_EQ(SoundLimitFor(1), 120);
    EXPECT_EQ(SoundLimitFor(2), 180);
    EXPECT_EQ(SoundLimitFor(3), 300);
    EXPECT_EQ(SoundLimitFor(4), std::nullopt);
    EXPECT_EQ(SoundLimitFor(5), std::nullopt);
    EXPECT_EQ(SoundLimitFor(-1), std::nullopt);
}
