// The real clock, on a private X server, with a "Lock Computer" alarm and a mock
// logind on a private system bus. The clock's own test hook starts its time just
// before the alarm and runs it faster, so the minutes it waits for pass in seconds.
#include "alarms/alarmfile.h"
#include "alarms/noticetexts.h"
#include "app/testtime.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/privatelogind.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTime>

#include <QScopeGuard>

#include <csignal>

#include <gtest/gtest.h>

#include <sys/types.h>

using namespace ovra;
using namespace ovra::test;

namespace {

// One mock logind for the whole run: the process's system-bus connection is made
// once and stays with the bus it first reached.
test::PrivateLogind* g_logind = nullptr;

// The "Default" clock's alarm file with one Lock alarm at hour:minute.
void writeLockAlarm(const test::TestHome& home, const QTime& at, int32_t playTime) {
    ASSERT_TRUE(test::storeAlarm(home, test::alarmDueAt(at, alarmaction::Lock, playTime)));
}

// A time of the clock on a winter day, far from any change of season.
QDateTime clockTimeAt(const QTime& time) {
    return QDateTime(QDate(2026, 1, 14), time);
}

// The clock's environment on the private desktop: its buses the mock logind's, its
// time starting at `start` and running `rate` times as fast as the real one.
QStringList clockEnvironment(const test::PrivateLogind& logind, const QString& sessionId,
                             const QDateTime& start, int rate) {
    const QProcessEnvironment buses = logind.environment({});
    QStringList env;
    for (const QString& name : buses.keys())
        env << name + u'=' + buses.value(name);
    return env << QStringLiteral("XDG_SESSION_ID=") + sessionId
               << QString::fromLatin1(kTestTimeVariable) + u'=' + start.toString(Qt::ISODate) +
                      QStringLiteral(" x%1").arg(rate);
}

// A private home and desktop for each test, and the private logind with no calls yet.
class AlarmEndToEnd : public ::testing::Test {
protected:
    void start() {
        ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
        ASSERT_NE(g_logind, nullptr);
        ASSERT_TRUE(g_logind->ok()) << qPrintable(g_logind->error());
        g_logind->clearCalls();
    }
    test::TestHome home;
    test::PrivateDesktop desktop;
};

} // namespace

TEST_F(AlarmEndToEnd, ALockAlarmDueAtStartShowsItsNoticeAndLocksThirtySecondsLater) {
    ASSERT_NO_FATAL_FAILURE(start());
    test::PrivateLogind& logind = *g_logind;

    // The clock starts in the alarm's minute, with room for the countdown in it.
    constexpr int kRate = 10;
    const QTime now(10, 0);
    ASSERT_NO_FATAL_FAILURE(writeLockAlarm(home, now, playtime::Loop));
    test::ClockProcess clock(
        QStringLiteral(OVRA_CLOCK_BIN), {},
        clockEnvironment(logind, QStringLiteral("e2e7"), clockTimeAt(now), kRate), {});
    ASSERT_TRUE(clock.process.waitForStarted(5000));

    const QString caption =
        noticeCaption(QStringLiteral("Default"), alarmTimeOf(now.hour(), now.minute()), 0);
    EXPECT_TRUE(waitFor([&] { return !windowNamed(caption, false).isEmpty(); }, 10000))
        << "no notice titled " << qPrintable(caption);
    QElapsedTimer sinceNotice;
    sinceNotice.start();
    EXPECT_TRUE(logind.calls().isEmpty());

    const QString lockCall = QStringLiteral("LockSession:e2e7");
    EXPECT_TRUE(waitFor([&] { return logind.calls().contains(lockCall); }, 60000))
        << qPrintable(logind.calls().join(u' '));
    // The countdown ran (seen from here, less the time it took to spot the notice).
    EXPECT_GE(sinceNotice.elapsed(), 20000 / kRate);
    EXPECT_EQ(logind.calls(), QStringList{lockCall});
    EXPECT_TRUE(waitFor([&] { return windowNamed(caption, false).isEmpty(); }, 5000))
        << "the notice stays after its action";
    EXPECT_EQ(clock.process.state(), QProcess::Running) << "the clock goes on after the notice";
    clock.process.terminate();
    clock.process.waitForFinished(5000);
}

namespace {

// Sleeps until `ms` have passed on `timer`.
void sleepUntil(const QElapsedTimer& timer, qint64 ms) {
    if (const qint64 left = ms - timer.elapsed(); left > 0)
        QThread::msleep(ulong(left));
}

} // namespace

TEST_F(AlarmEndToEnd, AClockStoppedAcrossItsAlarmShowsTheMissedNoticeOnResumeAndLocksNothing) {
    ASSERT_NO_FATAL_FAILURE(start());
    test::PrivateLogind& logind = *g_logind;

    // The clock starts three minutes before the alarm: time to start and run its
    // first checks before the alarm's minute.
    constexpr int kRate = 20;
    const QDateTime start = clockTimeAt(QTime(9, 58));
    const QTime due(10, 1);
    ASSERT_NO_FATAL_FAILURE(writeLockAlarm(home, due, playtime::OneMinute));
    QElapsedTimer sinceStart;
    sinceStart.start();
    test::ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {},
                             clockEnvironment(logind, QStringLiteral("e2e8"), start, kRate), {});
    ASSERT_TRUE(clock.process.waitForStarted(5000));
    const pid_t pid = pid_t(clock.process.processId());
    const auto ended = qScopeGuard([&] {
        ::kill(pid, SIGCONT);
        clock.process.terminate();
        clock.process.waitForFinished(5000);
    });
    // Its window is up, so its one-second check runs.
    ASSERT_TRUE(waitFor(
        [&] {
            return !xdotool(
                        {QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid)})
                        .isEmpty();
        },
        20000));
    // The clock read its time between its start and its window's showing. Stopped
    // at 10:00:57 should it have read it at once, resumed at 10:02:01 should it have
    // read it only as its window showed: it sleeps through 10:01 either way.
    const qint64 upMs = sinceStart.elapsed();
    const auto realMs = [&](const QTime& clockTime) {
        return start.time().msecsTo(clockTime) / kRate;
    };
    // Its first check comes within a second of real time.
    ASSERT_LT(upMs, realMs(QTime(10, 0, 35))) << "the clock took too long to start";

    sleepUntil(sinceStart, realMs(QTime(10, 0, 57)));
    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    sleepUntil(sinceStart, upMs + realMs(QTime(10, 2, 1)));
    ASSERT_EQ(::kill(pid, SIGCONT), 0);

    const QString caption =
        missedCaption(QStringLiteral("Default"), QDateTime(QDate(2026, 1, 1), due), 0);
    EXPECT_TRUE(waitFor([&] { return !windowNamed(caption, false).isEmpty(); }, 10000))
        << "no notice titled " << qPrintable(caption);
    EXPECT_TRUE(logind.calls().isEmpty()) << qPrintable(logind.calls().join(u' '));
    EXPECT_EQ(clock.process.state(), QProcess::Running);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    test::PrivateLogind logind;
    g_logind = &logind;
    const int result = RUN_ALL_TESTS();
    g_logind = nullptr;
    return result;
}
