#include "alarms/alarmcheck.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

AlarmRecord alarm(int hour, int minute, int32_t status = 1) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.status = status;
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
        EXPECT_EQ(check.checkAlarms(t, time), fired) << qPrintable(time.toString(Qt::ISODate));

    // Enabled during its minute, an alarm fires at the next check, unless another
    // one has fired in that minute already.
    t.at(4).status = 1;
    EXPECT_EQ(check.checkAlarms(t, at(2, 7, 6, 40)), 4);
    t.at(1).status = 1;
    EXPECT_EQ(check.checkAlarms(t, at(2, 7, 6, 41)), -1);
}

TEST(AlarmCheck, ASingleDailyAlarmFiresEveryDay) {
    // With nothing else firing in between, yesterday's "07:05" must not hold back
    // today's.
    AlarmTable t;
    t.add(alarm(7, 5));
    AlarmCheck check;
    for (int day = 1; day <= 3; ++day) {
        EXPECT_EQ(check.checkAlarms(t, at(day, 7, 5, 0)), 0) << "day " << day;
        EXPECT_EQ(check.checkAlarms(t, at(day, 7, 5, 1)), -1) << "day " << day;
    }
}

namespace {

QDateTime utcAt(int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second), Qt::UTC);
}

// A clock two hours ahead of UTC, so its minutes and the computer's differ.
QDateTime twoHoursAhead(const QDateTime& utc) {
    return QDateTime::fromSecsSinceEpoch(utc.toSecsSinceEpoch() + 7200, Qt::UTC);
}

// "index@HH:mm" of each missed alarm, in the order reported.
QStringList described(const QList<MissedAlarm>& missed) {
    QStringList out;
    for (const MissedAlarm& m : missed)
        out << QStringLiteral("%1@%2").arg(m.index).arg(m.dueAt.toString(u"dd HH:mm"));
    return out;
}

} // namespace

TEST(AlarmCheck, SkippedMinutesAreLookedAtNewestFirstUpToTwelveHoursBack) {
    AlarmTable t;
    t.add(alarm(9, 0));    // 0
    t.add(alarm(9, 1));    // 1
    t.add(alarm(23, 59));  // 2
    t.add(alarm(0, 30));   // 3
    t.add(alarm(9, 1));    // 4: same minute as 1, never reported
    t.add(alarm(12, 0));   // 5
    t.add(alarm(8, 0, 0)); // 6: disabled
    const struct {
        const char* what;
        QDateTime lastCheck, now;
        QStringList missed;
        int due;
    } cases[] = {
        {"one second later", utcAt(10, 6, 59, 59), utcAt(10, 7, 0, 0), {}, 0},
        {"a minute skipped by a jump", utcAt(10, 6, 59, 59), utcAt(10, 7, 1, 0), {"0@10 09:00"}, 1},
        {"the last minute before the jump is not skipped",
         utcAt(10, 7, 0, 30),
         utcAt(10, 7, 2, 0),
         {"1@10 09:01"},
         -1},
        {"hours skipped",
         utcAt(10, 5, 0, 0),
         utcAt(10, 10, 30, 0),
         {"5@10 12:00", "1@10 09:01", "0@10 09:00"},
         -1},
        {"across midnight",
         utcAt(10, 21, 50, 0),
         utcAt(10, 22, 40, 0),
         {"3@11 00:30", "2@10 23:59"},
         -1},
        {"only twelve hours back",
         utcAt(9, 18, 0, 0),
         utcAt(10, 10, 5, 0),
         {"5@10 12:00", "1@10 09:01", "0@10 09:00", "3@10 00:30"},
         -1},
        {"a step back skips nothing", utcAt(10, 8, 0, 0), utcAt(10, 6, 0, 0), {}, -1},
    };
    for (const auto& c : cases) {
        AlarmCheck check;
        // The first check catches nothing up: a clock that was not running at an
        // alarm's minute does not fire it later.
        EXPECT_TRUE(check.Check(t, c.lastCheck, twoHoursAhead).missed.isEmpty()) << c.what;
        const AlarmCheck::Result r = check.Check(t, c.now, twoHoursAhead);
        EXPECT_EQ(described(r.missed), c.missed) << c.what;
        EXPECT_EQ(r.due, c.due) << c.what;
    }
}

TEST(AlarmCheck, ASteppedBackClockDoesNotFireAMinuteTwiceThatDay) {
    AlarmTable t;
    t.add(alarm(7, 5));
    t.add(alarm(7, 6));
    AlarmCheck check;
    EXPECT_EQ(check.checkAlarms(t, at(1, 7, 5, 0)), 0);
    EXPECT_EQ(check.checkAlarms(t, at(1, 7, 6, 0)), 1);
    // NTP or the user sets the clock back two minutes.
    EXPECT_EQ(check.checkAlarms(t, at(1, 7, 4, 30)), -1);
    EXPECT_EQ(check.checkAlarms(t, at(1, 7, 5, 0)), -1);
    EXPECT_EQ(check.checkAlarms(t, at(1, 7, 6, 0)), -1);
    EXPECT_EQ(check.checkAlarms(t, at(2, 7, 5, 0)), 0) << "the next day it fires again";
}

TEST(AlarmCheck, WeekdaysAreTheClocksOwnDays) {
    // A Tokyo clock on a computer in New York: at 07:00 on Monday in Tokyo it is
    // still Sunday 17:00 in New York.
    const QTimeZone tokyo("Asia/Tokyo");
    const QTimeZone newYork("America/New_York");
    ASSERT_TRUE(tokyo.isValid() && newYork.isValid());
    const AlarmCheck::ClockAt tokyoClock = [&](const QDateTime& utc) {
        const QDateTime local = utc.toTimeZone(tokyo);
        return QDateTime(local.date(), local.time());
    };
    AlarmTable t;
    AlarmRecord weekday = alarm(7, 0);
    setAlarmWeekdays(weekday, 0x1F); // Monday to Friday
    t.add(weekday);
    AlarmRecord weekend = alarm(7, 1);
    setAlarmWeekdays(weekend, 0x60); // Saturday and Sunday
    t.add(weekend);

    const struct {
        QDateTime newYorkTime;
        int due;
    } cases[] = {
        {QDateTime(QDate(2026, 2, 28), QTime(17, 0), newYork), -1}, // Sun 07:00 in Tokyo
        {QDateTime(QDate(2026, 2, 28), QTime(17, 1), newYork), 1},  // Sun 07:01 in Tokyo
        {QDateTime(QDate(2026, 3, 1), QTime(17, 0), newYork), 0},   // Mon 07:00 in Tokyo
        {QDateTime(QDate(2026, 3, 1), QTime(17, 1), newYork), -1},  // Mon 07:01 in Tokyo
        {QDateTime(QDate(2026, 3, 6), QTime(17, 0), newYork), -1},  // Sat 07:00 in Tokyo
        {QDateTime(QDate(2026, 3, 6), QTime(17, 1), newYork), 1},   // Sat 07:01 in Tokyo
    };
    for (const auto& c : cases) {
        AlarmCheck check;
        EXPECT_EQ(check.Check(t, c.newYorkTime.toUTC(), tokyoClock).due, c.due)
            << qPrintable(c.newYorkTime.toString(Qt::ISODate));
    }

    // Skipped minutes are held to the same days: asleep over the whole Tokyo
    // Sunday morning, only the weekend alarm is caught up.
    AlarmCheck check;
    check.Check(t, QDateTime(QDate(2026, 3, 7), QTime(16, 50), newYork).toUTC(), tokyoClock);
    const auto r =
        check.Check(t, QDateTime(QDate(2026, 3, 7), QTime(17, 10), newYork).toUTC(), tokyoClock);
    ASSERT_EQ(r.missed.size(), 1);
    EXPECT_EQ(r.missed[0].index, 1);
    EXPECT_EQ(r.missed[0].dueAt.date().dayOfWeek(), 7);
}
