#include "alarms/alarmcheck.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

AlarmRecord alarm(int hour, int minute, int32_t status = 1) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.Status = status;
    return r;
}

QDateTime at(int day, int hour, int minute, int second) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second));
}

} // namespace

TEST(AlarmCheck, FiresOncePerMinuteFirstEnabledMatchWins) {
    AlarmTable t;
    t.add(alarm(7, 4));
    t.add(alarm(7, 5, 0)); // disabled
    t.add(alarm(7, 5));    // the first enabled 07:05
    t.add(alarm(7, 5));    // same minute, higher index: never fires
    t.add(alarm(7, 6, 2)); // any status but 1 is off
    AlarmCheck check;
    const std::pair<QDateTime, int> ticks[] = {
        {at(1, 7, 3, 59), -1}, {at(1, 7, 4, 0), 0},  {at(1, 7, 4, 59), -1}, {at(1, 7, 5, 0), 2},
        {at(1, 7, 5, 30), -1}, {at(1, 7, 6, 0), -1}, {at(2, 7, 5, 12), 2},  {at(2, 7, 5, 13), -1},
    };
    for (const auto& [time, fired] : ticks)
        EXPECT_EQ(check.CheckAlarms(t, time), fired) << qPrintable(time.toString(Qt::ISODate));

    // Enabled during its minute, an alarm fires at the next check, unless another
    // one has fired in that minute already.
    t.at(4).Status = 1;
    EXPECT_EQ(check.CheckAlarms(t, at(2, 7, 6, 40)), 4);
    t.at(1).Status = 1;
    EXPECT_EQ(check.CheckAlarms(t, at(2, 7, 6, 41)), -1);
}

TEST(AlarmCheck, ASingleDailyAlarmFiresEveryDay) {
    // With nothing else firing in between, yesterday's "07:05" must not hold back
    // today's.
    AlarmTable t;
    t.add(alarm(7, 5));
    AlarmCheck check;
    for (int day = 1; day <= 3; ++day) {
        EXPECT_EQ(check.CheckAlarms(t, at(day, 7, 5, 0)), 0) << "day " << day;
        EXPECT_EQ(check.CheckAlarms(t, at(day, 7, 5, 1)), -1) << "day " << day;
    }
}
