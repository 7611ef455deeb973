#include "alarms/alarmrecord.h"
#include "alarms/noticetexts.h"

#include <gtest/gtest.h>

using namespace ovra;

TEST(NoticeTexts, CaptionInBothHourModes) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {19, 5, 1, "19:05"}, {19, 5, 0, "07:05 PM"},  {0, 0, 0, "12:00 AM"},
        {0, 0, 1, "00:00"},  {12, 30, 0, "12:30 PM"}, {23, 59, -1, "23:59"},
    };
    for (const auto& [hour, minute, mode, time] : cases)
        EXPECT_EQ(noticeCaption(QStringLiteral("Office"), alarmTimeOf(hour, minute), mode),
                  QStringLiteral("Clock: Office  -  Alarm: ") + QString::fromLatin1(time));
}

TEST(NoticeTexts, CountdownMessagesPerAction) {
    const char* const expected[] = {"",
                                    "Computer will be shutted down in 7 seconds",
                                    "Computer will be restarted in 7 seconds",
                                    "Computer will be locked in 7 seconds",
                                    "Computer will be powered off without saving in 7 seconds",
                                    "Computer will be rebooted without saving in 7 seconds",
                                    ""};
    for (int action = 0; action <= 6; ++action)
        EXPECT_EQ(countdownText(action, 7), QString::fromLatin1(expected[action])) << action;
}
