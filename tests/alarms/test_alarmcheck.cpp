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

TEST(AlarmCheck, FiresOncePerMinuteFirstMatchWins) {
    AlarmTable t;
    t.add(alarm(7, 4));
    t.add(alarm(7, 5, 0));  // disabled: never fires
    t.add(alarm(7, 5));     // the first enabled 07:05
    t.add(alarm(7, 5));     // same minute, higher index: never fires
    t.add(alarm(7, 6, -1)); // any status but 1 is off
    t.add(alarm(7, 6, 2));
    AlarmCheck check;

    struct Tick {
        QDateTime time;
        int fired;
    } ticks[] = {
        {at(1, 7, 3, 59), -1}, {at(1, 7, 4, 0), 0},   {at(1, 7, 4, 1), -1},
        {at(1, 7, 4, 59), -1}, {at(1, 7, 5, 0), 2},   {at(1, 7, 5, 30), -1},
        {at(1, 7, 6, 0), -1},  {at(1, 7, 6, 30), -1}, {at(2, 7, 5, 12), 2}, // the next day
        {at(2, 7, 5, 13), -1},
    };
    for (const Tick& tick : ticks)
        EXPECT_EQ(check.CheckAlarms(t, tick.time), tick.fired)
            << qPrintable(tick.time.toString(Qt::ISODate));
    EXPECT_EQ(check.LastAlarmMinute, QStringLiteral("07:05"));
}

TEST(AlarmCheck, EnablingDuringItsMinuteFiresAtTheNextCheck) {
    AlarmTable t;
    t.add(alarm(12, 0, 0));
    AlarmCheck check;
    EXPECT_EQ(check.CheckAlarms(t, at(1, 12, 0, 5)), -1);
    t.at(0).Status = 1;
    EXPECT_EQ(check.CheckAlarms(t, at(1, 12, 0, 6)), 0);
    EXPECT_EQ(check.CheckAlarms(t, at(1, 12, 0, 7)), -1);
}

TEST(AlarmCheck, EmptyTableAndUnreadableTimesNeverFire) {
    AlarmTable t;
    AlarmCheck check;
    EXPECT_EQ(check.CheckAlarms(t, at(1, 0, 0, 0)), -1);
    AlarmRecord broken = alarm(0, 0);
    broken.AlarmTime = std::numeric_limits<double>::quiet_NaN();
    t.add(broken);
    EXPECT_EQ(check.CheckAlarms(t, at(1, 0, 0, 0)), -1);
    EXPECT_TRUE(check.LastAlarmMinute.isEmpty());
}

TEST(AlarmCheck, ASingleDailyAlarmFiresEveryDay) {
    // With nothing else firing in between, the remembered "07:05" of yesterday must
    // not hold back today's 07:05.
    AlarmTable t;
    t.add(alarm(7, 5));
    AlarmCheck check;
    for (int day = 1; day <= 4; ++day) {
        EXPECT_EQ(check.CheckAlarms(t, at(day, 7, 5, 0)), 0) << "day " << day;
        EXPECT_EQ(check.CheckAlarms(t, at(day, 7, 5, 1)), -1) << "day " << day;
    }
}
