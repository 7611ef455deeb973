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
        EXPECT_EQ(NoticeCaption(QStringLiteral("Office"), alarmTimeOf(hour, minute), mode),
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
        EXPECT_EQ(CountdownText(action, 7), QString::fromLatin1(expected[action])) << action;
}

TEST(NoticeTexts, MissedTextsFollowTheClocksHourSetting) {
    const QDateTime due(QDate(2026, 5, 4), QTime(0, 7, 40), Qt::UTC);
    const QDateTime evening(QDate(2026, 5, 4), QTime(19, 45), Qt::UTC);
    EXPECT_EQ(MissedAtText(due, 1), QStringLiteral("missed at 00:07"));
    EXPECT_EQ(MissedAtText(due, 0), QStringLiteral("missed at 12:07 AM"));
    EXPECT_EQ(MissedCaption(QStringLiteral("Tokyo"), evening, 0),
              QStringLiteral("Clock: Tokyo  -  Alarm: missed at 07:45 PM"));
    EXPECT_EQ(MissedLine(alarmaction::ShowTip,
                         QStringLiteral("Tea\r\nnow  ") + QChar(u'\0') + QStringLiteral("junk"),
                         evening, 1),
              QStringLiteral("missed at 19:45: Tea\nnow"));
    EXPECT_EQ(MissedLine(alarmaction::PowerOffNow, QStringLiteral("x"), evening, 1),
              QStringLiteral("missed at 19:45: the computer was not powered off"));
    EXPECT_EQ(MissedLine(alarmaction::Execute, QStringLiteral("  /home/u/a b.txt   "), evening, 1),
              QStringLiteral("missed at 19:45: would have opened /home/u/a b.txt"));
    EXPECT_EQ(MissedLine(9, QStringLiteral("x"), evening, 1), QStringLiteral("missed at 19:45"));
}
