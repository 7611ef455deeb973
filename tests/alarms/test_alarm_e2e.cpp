// The real clock, on a private X server, with a "Lock Computer" alarm due now and
// a mock logind on a private system bus.
#include "alarms/alarmfile.h"
#include "alarms/noticetexts.h"
#include "privatelogind.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
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

// Window ids whose title matches the pattern exactly.
QByteArray windowsNamed(const QString& title) {
    QByteArray out;
    test::runProgram(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--name"),
                      u'^' + QRegularExpression::escape(title) + u'$'},
                     5000, &out);
    return out.trimmed();
}

// The "Default" clock's alarm file with one Lock alarm at hour:minute.
void writeLockAlarm(const test::TestHome& home, const QTime& at, int32_t playTime) {
    ASSERT_TRUE(test::storeAlarm(home, test::alarmDueAt(at, alarmaction::Lock, playTime)));
}

// Starts the clock on the private desktop, its system bus the mock logind's.
void startClock(QProcess& clock, const test::PrivateLogind& logind, const QString& sessionId) {
    QProcessEnvironment env = logind.environment(QProcessEnvironment::systemEnvironment());
    env.insert(QStringLiteral("XDG_SESSION_ID"), sessionId);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    clock.setProcessEnvironment(env);
    clock.setProcessChannelMode(QProcess::ForwardedChannels);
    clock.start(QStringLiteral(OVRA_CLOCK_BIN), {});
    ASSERT_TRUE(clock.waitForStarted(5000));
}

} // namespace

TEST(AlarmEndToEnd, ALockAlarmDueAtStartShowsItsNoticeAndLocksThirtySecondsLater) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ASSERT_NE(g_logind, nullptr);
    test::PrivateLogind& logind = *g_logind;
    ASSERT_TRUE(logind.ok()) << qPrintable(logind.error());
    logind.clearCalls();

    // Leave the countdown room inside one minute of the clock's time.
    if (QTime::currentTime().second() > 45)
        QThread::msleep((61 - QTime::currentTime().second()) * 1000);
    const QTime now = QTime::currentTime();
    ASSERT_NO_FATAL_FAILURE(writeLockAlarm(home, now, playtime::Loop));
    QProcess clock;
    ASSERT_NO_FATAL_FAILURE(startClock(clock, logind, QStringLiteral("e2e7")));

    const QString caption =
        noticeCaption(QStringLiteral("Default"), alarmTimeOf(now.hour(), now.minute()), 0);
    EXPECT_TRUE(waitFor([&] { return !windowsNamed(caption).isEmpty(); }, 10000))
        << "no notice titled " << qPrintable(caption);
    QElapsedTimer sinceNotice;
    sinceNotice.start();
    EXPECT_TRUE(logind.calls().isEmpty());

    const QString lockCall = QStringLiteral("LockSession:e2e7");
    EXPECT_TRUE(waitFor([&] { return logind.calls().contains(lockCall); }, 60000))
        << qPrintable(logind.calls().join(u' '));
    // The countdown ran (seen from here, less the time it took to spot the notice).
    EXPECT_GE(sinceNotice.elapsed(), 20000);
    EXPECT_EQ(logind.calls(), QStringList{lockCall});
    EXPECT_TRUE(waitFor([&] { return windowsNamed(caption).isEmpty(); }, 5000))
        << "the notice stays after its action";
    EXPECT_EQ(clock.state(), QProcess::Running) << "the clock goes on after the notice";

    clock.terminate();
    if (!clock.waitForFinished(5000)) {
        clock.kill();
        clock.waitForFinished(3000);
    }
}

namespace {

// Sleeps until `minutes` minutes and `second` seconds after minuteStart.
void sleepUntil(const QDateTime& minuteStart, int minutes, int second) {
    const QDateTime target = minuteStart.addSecs(minutes * 60 + second);
    const qint64 ms = QDateTime::currentDateTime().msecsTo(target);
    if (ms > 0)
        QThread::msleep(ulong(ms));
}

} // namespace

TEST(AlarmEndToEnd, AClockStoppedAcrossItsAlarmShowsTheMissedNoticeOnResumeAndLocksNothing) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ASSERT_NE(g_logind, nullptr);
    test::PrivateLogind& logind = *g_logind;
    ASSERT_TRUE(logind.ok()) << qPrintable(logind.error());
    logind.clearCalls();

    // Leave the clock time to start and run its first checks before the alarm's
    // minute, which is the next one.
    if (QTime::currentTime().second() > 30)
        QThread::msleep((61 - QTime::currentTime().second()) * 1000);
    QDateTime minuteStart = QDateTime::currentDateTime();
    minuteStart.setTime(QTime(minuteStart.time().hour(), minuteStart.time().minute()));
    const QTime due = minuteStart.addSecs(60).time();
    ASSERT_NO_FATAL_FAILURE(writeLockAlarm(home, due, playtime::OneMinute));
    QProcess clock;
    ASSERT_NO_FATAL_FAILURE(startClock(clock, logind, QStringLiteral("e2e8")));
    const QString pid = QString::number(clock.processId());
    const auto ended = qScopeGuard([&] {
        ::kill(pid_t(clock.processId()), SIGCONT);
        clock.terminate();
        if (!clock.waitForFinished(5000)) {
            clock.kill();
            clock.waitForFinished(3000);
        }
    });
    // Its window is up, so its one-second check runs.
    ASSERT_TRUE(waitFor(
        [&] {
            QByteArray out;
            test::runProgram(QStringLiteral("xdotool"),
                             {QStringLiteral("search"), QStringLiteral("--pid"), pid}, 5000, &out);
            return !out.trimmed().isEmpty();
        },
        20000));
    ASSERT_LT(QDateTime::currentDateTime(), minuteStart.addSecs(55))
        << "the clock took too long to start";

    sleepUntil(minuteStart, 0, 57);
    ASSERT_EQ(::kill(pid_t(clock.processId()), SIGSTOP), 0);
    sleepUntil(minuteStart, 2, 1);
    ASSERT_EQ(::kill(pid_t(clock.processId()), SIGCONT), 0);

    const QString caption =
        missedCaption(QStringLiteral("Default"), QDateTime(QDate(2026, 1, 1), due), 0);
    EXPECT_TRUE(waitFor([&] { return !windowsNamed(caption).isEmpty(); }, 10000))
        << "no notice titled " << qPrintable(caption);
    EXPECT_TRUE(logind.calls().isEmpty()) << qPrintable(logind.calls().join(u' '));
    EXPECT_EQ(clock.state(), QProcess::Running);
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
