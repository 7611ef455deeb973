#include "alarms/alarmcontroller.h"
#include "alarms/alarmfile.h"
#include "alarms/desktopshellopen.h"
#include "app/clockapp.h"
#include "base/textutil.h"
#include "support/alarmfakes.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

AlarmRecord alarm(int hour, int minute, int32_t action, int32_t status = 1,
                  const QString& note = QStringLiteral("tip")) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.status = status;
    r.Action = action;
    r.Note = note;
    r.SoundFile = QStringLiteral("Default Alarm Sound");
    return r;
}

void flush() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A clock process without its window: the store in memory, time fixed by the test,
// the alarms on fake timers, sound, power and shell.
class Alarms : public ::testing::Test {
protected:
    Alarms()
        : m_store(m_backend),
          m_time(QDateTime(QDate(2026, 5, 4), QTime(4, 4, 58), Qt::UTC), QTimeZone::utc()),
          m_app({m_store, m_messages, m_time}, m_home.roots()),
          m_controller(m_app.model(), m_app.alarms(),
                       {.sound = m_sound,
                        .power = m_actions,
                        .shell = m_shell,
                        .makeTicker = m_tickers.factory(),
                        .resume = &m_resume}) {
        m_app.setAlarmHost(&m_controller);
        // The user's own default sound, as one who put it there has it.
        writeOwnFile(m_home.roots().tempFolder + QStringLiteral("/alarm.wav"));
    }
    static void writeOwnFile(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void writeAlarmFile(const QString& clock, const std::vector<AlarmRecord>& records) {
        AlarmTable t;
        for (const AlarmRecord& r : records)
            t.appendLoaded(r);
        const AppPaths paths = AppPaths::build(clock, m_home.roots());
        ASSERT_EQ(saveAlarmFile(t, paths.alarmFilePath, m_messages), 0);
    }
    // Runs the check once a second from now until the clock shows `until`, and
    // says which alarm (its note) each notice or shell call came from and when.
    QStringList runUntil(const QTime& until) {
        QStringList events;
        for (int guard = 0; guard < 100000; ++guard) {
            const QDateTime shown = m_app.model().clockTimeNow();
            const int notice = m_app.alarms().noticeAlarm();
            const size_t opened = m_shell.opened.size();
            m_controller.checkAlarms();
            const int now = m_app.alarms().noticeAlarm();
            if (now != notice && now >= 0)
                events << shown.time().toString(u"HH:mm:ss") + u' ' +
                              cleanString(m_app.alarms().at(now).Note);
            if (m_shell.opened.size() != opened)
                events << shown.time().toString(u"HH:mm:ss") + QStringLiteral(" open");
            if (shown.time() >= until)
                break;
            m_time.advanceSeconds(1);
        }
        return events;
    }

    test::TestHome m_home;
    test::MemoryStoreBackend m_backend;
    KeyStore m_store;
    test::RecordingMessageSink m_messages;
    FixedTimeSource m_time;
    ClockApp m_app;
    test::RecordingSound m_sound;
    test::RecordingPowerActions m_actions;
    test::RecordingShellOpen m_shell;
    test::FakeTickers m_tickers;
    test::FakeResumeWatch m_resume;
    AlarmController m_controller;
};

} // namespace

TEST_F(Alarms, CheckFollowsTheClocksZoneAcrossTheMinutes) {
    // The computer runs on UTC; the clock shows a zone three hours ahead, so its
    // 07:05 comes when the computer says 04:05.
    writeAlarmFile(QStringLiteral("Moscow"),
                   {alarm(7, 5, alarmaction::showTip, 0, QStringLiteral("disabled")),
                    alarm(7, 5, alarmaction::showTip, 1, QStringLiteral("first")),
                    alarm(4, 5, alarmaction::showTip, 1, QStringLiteral("computer time")),
                    alarm(7, 6, alarmaction::Lock, 1, QStringLiteral("second")),
                    alarm(7, 7, alarmaction::Execute, 1, QStringLiteral("https://example.org"))});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Moscow")));
    m_app.state().zoneOffsetMinutes = 180;
    ASSERT_EQ(m_app.alarms().alarmCount(), 5);

    QSignalSpy opened(&m_controller, &AlarmController::noticeOpened);
    const QStringList events = runUntil(QTime(7, 8, 1));
    EXPECT_EQ(opened.count(), 1) << "the second alarm refills the open notice";
    EXPECT_EQ(events,
              (QStringList{QStringLiteral("07:05:00 first"), QStringLiteral("07:06:00 second"),
                           QStringLiteral("07:07:00 open")}));
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(m_shell.opened[0].kind, ShellTarget::Kind::Address);
    EXPECT_EQ(m_shell.opened[0].url, QUrl(QStringLiteral("https://example.org")));
    // The Lock alarm took over the tip; its countdown is running on the notice.
    ASSERT_TRUE(m_controller.notice());
    EXPECT_TRUE(m_controller.notice()->countdownRunning());
    EXPECT_EQ(m_controller.notice()->windowTitle(),
              QStringLiteral("Clock: Moscow  -  Alarm: 07:06 AM"));
    EXPECT_EQ(m_app.alarms().at(1).NoticeShown, 0);
    EXPECT_EQ(m_app.alarms().at(3).NoticeShown, 1);
    EXPECT_EQ(m_controller.alarmCheck().lastAlarmMinute, QStringLiteral("07:07"));
}

TEST_F(Alarms, AnAlarmForTheCurrentMinuteShowsAtTheFirstCheck) {
    // Saved while its notice was open: the stored flag must not silence it now.
    AlarmRecord lock = alarm(4, 4, alarmaction::Lock);
    lock.NoticeShown = 1;
    lock.PlayTime = playtime::Loop;
    writeAlarmFile(QStringLiteral("Default"), {lock});
    m_time.setNowUtc(QDateTime(QDate(2026, 5, 4), QTime(4, 4, 31), Qt::UTC));
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    EXPECT_EQ(m_app.alarms().noticeAlarm(), -1);
    EXPECT_EQ(m_app.alarms().at(0).NoticeShown, 0);

    QSignalSpy opened(&m_controller, &AlarmController::noticeOpened);
    m_controller.checkAlarms();
    AlarmNotice* tip = m_controller.notice();
    ASSERT_TRUE(tip);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).value<QWidget*>(), tip);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->windowTitle(), QStringLiteral("Clock: Default  -  Alarm: 04:04 AM"));
    EXPECT_EQ(m_sound.calls,
              QStringList{QStringLiteral("play:") + m_app.paths().defaultAlarmSoundPath});
    EXPECT_FALSE(tip->soundLimitRunning()) << "Loop plays until the window closes";

    // 30 seconds later the lock request goes out and the notice is gone.
    test::FakeTicker* countdown = m_tickers.made[0];
    for (int i = 0; i < 30; ++i)
        countdown->tick();
    flush();
    EXPECT_EQ(m_actions.calls, QStringList{QStringLiteral("LockSession")});
    EXPECT_FALSE(m_controller.notice());
    EXPECT_FALSE(m_sound.playing);
}

TEST_F(Alarms, ExecuteAndUnknownActionsOpenNoNotice) {
    const QString doc = m_home.path() + QStringLiteral("/notes.txt");
    QFile(doc).open(QIODevice::WriteOnly);
    writeAlarmFile(QStringLiteral("Default"),
                   {alarm(4, 5, alarmaction::Execute, 1, doc + QStringLiteral("   ")),
                    alarm(4, 6, alarmaction::Execute, 1, m_home.path() + QStringLiteral("/gone")),
                    alarm(4, 7, 7), alarm(4, 8, -1),
                    alarm(4, 9, alarmaction::Execute, 1, QStringLiteral("file:notes.txt"))});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 9, 30));
    EXPECT_FALSE(m_controller.notice());
    EXPECT_TRUE(m_sound.calls.isEmpty());
    ASSERT_EQ(m_shell.opened.size(), 1u) << "a missing file is not handed on";
    EXPECT_EQ(m_shell.opened[0].url, QUrl::fromLocalFile(doc));
    EXPECT_EQ(m_controller.alarmCheck().lastAlarmMinute, QStringLiteral("04:09"));
    // The missing file and the refused one are named, after the check is done.
    EXPECT_TRUE(m_messages.messages.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(m_messages.messages.size(), 2u);
    EXPECT_EQ(m_messages.messages[0].text,
              QStringLiteral("Cannot open ") + m_home.path() +
                  QStringLiteral("/gone: no such file, program or address"));
    EXPECT_EQ(m_messages.messages[0].title, QStringLiteral("Ovra Clock"));
    EXPECT_EQ(m_messages.messages[1].text,
              QStringLiteral("Cannot open file:notes.txt: a file: address needs the file's "
                             "absolute path"));
}

TEST_F(Alarms, AnOpenerThatFailsIsNamedWithItsReason) {
    m_shell.refusal = QStringLiteral("no application opens it");
    writeAlarmFile(QStringLiteral("Default"),
                   {alarm(4, 5, alarmaction::Execute, 1, QStringLiteral("https://example.org"))});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 5, 5));
    QCoreApplication::processEvents();
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text,
              QStringLiteral("Cannot open https://example.org: no application opens it"));
}

TEST_F(Alarms, ARefusalAfterTheNoticeClosedOpensItAgainToSaySo) {
    writeAlarmFile(QStringLiteral("Default"), {alarm(4, 5, alarmaction::ShutDown)});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 5, 0));
    ASSERT_TRUE(m_controller.notice());
    const QString caption = m_controller.notice()->windowTitle();
    for (int i = 0; i < 30; ++i)
        m_tickers.made[0]->tick();
    flush();
    EXPECT_EQ(m_actions.calls, QStringList{QStringLiteral("PowerOff:1")});
    ASSERT_FALSE(m_controller.notice());
    ASSERT_TRUE(m_actions.lastFailed);

    // No session manager and no logind: the bus answers later that nobody is there.
    QSignalSpy opened(&m_controller, &AlarmController::noticeOpened);
    m_actions.lastFailed(QStringLiteral("logind does not answer"));
    ASSERT_TRUE(m_controller.notice());
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(m_controller.notice()->windowTitle(), caption);
    EXPECT_EQ(m_controller.notice()->messageLabel()->text(),
              QStringLiteral("The computer was not shut down"));
    EXPECT_EQ(m_controller.notice()->statusLabel()->text(),
              QStringLiteral("Action failed: logind does not answer"));
    EXPECT_FALSE(m_controller.notice()->countdownRunning());
}

TEST_F(Alarms, WithoutADefaultSoundOfTheUsersTheShippedOneRings) {
    QFile::remove(m_home.roots().tempFolder + QStringLiteral("/alarm.wav"));
    const QString shipped = m_home.roots().appFolder + QStringLiteral("/sounds/alarm.wav");
    writeOwnFile(shipped);
    writeAlarmFile(QStringLiteral("Default"), {alarm(4, 5, alarmaction::showTip)});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 5, 0));
    ASSERT_TRUE(m_controller.notice());
    EXPECT_EQ(m_sound.calls, QStringList{QStringLiteral("play:") + shipped});
}

TEST_F(Alarms, EditsWhileANoticeIsOpenKeepItOnItsAlarm) {
    writeAlarmFile(QStringLiteral("Default"),
                   {alarm(1, 0, 0, 1, QStringLiteral("a")), alarm(1, 1, 0, 1, QStringLiteral("b")),
                    alarm(4, 5, 0, 1, QStringLiteral("c")),
                    alarm(1, 3, 0, 1, QStringLiteral("d"))});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    AlarmTable& table = m_app.alarms();
    runUntil(QTime(4, 5, 0));
    ASSERT_EQ(table.noticeAlarm(), 2);

    table.removeMarked({0, 1}); // the editor deletes two alarms above it
    table.move(1, 0);
    ASSERT_EQ(cleanString(table.at(table.noticeAlarm()).Note), QStringLiteral("c"));
    m_controller.notice()->close();
    flush();
    for (int i = 0; i < table.alarmCount(); ++i)
        EXPECT_EQ(table.at(i).NoticeShown, 0) << i;

    // Deleting the alarm a notice shows ends that notice and its sound.
    m_time.advanceSeconds(24 * 3600 - 1);
    runUntil(QTime(4, 5, 1));
    ASSERT_TRUE(m_controller.notice());
    table.removeAt(table.noticeAlarm());
    flush();
    EXPECT_FALSE(m_controller.notice());
    EXPECT_FALSE(m_sound.playing);
    EXPECT_EQ(table.noticeAlarm(), -1);
}

TEST_F(Alarms, ASnoozedTipComesBackUntilItIsDismissed) {
    writeAlarmFile(QStringLiteral("Default"),
                   {alarm(4, 5, alarmaction::showTip, 1, QStringLiteral("Tea"))});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 5, 0));
    QPointer<AlarmNotice> tip = m_controller.notice();
    ASSERT_TRUE(tip);
    ASSERT_TRUE(tip->snoozeButton()->isVisibleTo(tip));
    EXPECT_EQ(tip->snoozeLength()->currentText(), QStringLiteral("5 minutes"));
    tip->snoozeButton()->click();
    flush();
    EXPECT_FALSE(tip);
    EXPECT_FALSE(m_sound.playing);
    EXPECT_EQ(m_app.alarms().noticeAlarm(), -1);

    EXPECT_EQ(runUntil(QTime(4, 12, 0)), QStringList{QStringLiteral("04:10:00 Tea")});
    tip = m_controller.notice();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->windowTitle(), QStringLiteral("Clock: Default  -  Alarm: 04:05 AM (snoozed)"));
    EXPECT_TRUE(m_sound.playing);
    // Snoozed again, for ten minutes this time, from when it was snoozed.
    tip->snoozeLength()->setCurrentIndex(1);
    tip->snoozeButton()->click();
    flush();
    EXPECT_EQ(runUntil(QTime(4, 25, 0)), QStringList{QStringLiteral("04:22:00 Tea")});
    tip = m_controller.notice();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->snoozeLength()->currentIndex(), 0) << "each notice offers five minutes first";
    tip->okButton()->click();
    flush();
    EXPECT_TRUE(runUntil(QTime(5, 0, 0)).isEmpty());
    EXPECT_FALSE(m_controller.notice());
}

TEST_F(Alarms, ASnoozeFollowsItsAlarmAndGoesWithItsDeletionOrDisabling) {
    writeAlarmFile(QStringLiteral("Default"),
                   {alarm(4, 5, alarmaction::showTip, 1, QStringLiteral("a")),
                    alarm(4, 6, alarmaction::showTip, 1, QStringLiteral("b")),
                    alarm(4, 7, alarmaction::Lock, 1, QStringLiteral("c"))});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    AlarmTable& table = m_app.alarms();
    runUntil(QTime(4, 5, 0));
    m_controller.notice()->snooze(); // back at 04:10
    flush();
    runUntil(QTime(4, 6, 0));
    m_controller.notice()->snooze(); // back at 04:11
    flush();
    runUntil(QTime(4, 7, 0));
    // A countdown is not put off.
    QPointer<AlarmNotice> tip = m_controller.notice();
    ASSERT_TRUE(tip);
    EXPECT_FALSE(tip->snoozeButton()->isVisibleTo(tip));
    tip->snooze();
    EXPECT_TRUE(tip);
    EXPECT_FALSE(table.snoozedUntil(2).isValid());
    tip->close();
    flush();

    table.removeAt(0); // "b" moves up, and its snooze with it
    EXPECT_EQ(runUntil(QTime(4, 12, 0)), QStringList{QStringLiteral("04:11:00 b")});
    m_controller.notice()->snooze(); // back at 04:17, unless disabled meanwhile
    flush();
    table.setStatus({0}, 0);
    table.setStatus({0}, 1);
    EXPECT_TRUE(runUntil(QTime(4, 30, 0)).isEmpty());
    EXPECT_FALSE(m_controller.notice());
}

TEST_F(Alarms, ShutdownClosesTheNoticeAndStopsChecking) {
    writeAlarmFile(QStringLiteral("Default"), {alarm(4, 5, alarmaction::ShutDown)});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 5, 3));
    QPointer<AlarmNotice> tip = m_controller.notice();
    ASSERT_TRUE(tip);
    m_app.shutdownClock(true);
    flush();
    EXPECT_FALSE(tip);
    EXPECT_FALSE(m_sound.playing);
    EXPECT_TRUE(m_actions.calls.isEmpty());
    m_time.advanceSeconds(24 * 3600);
    m_controller.checkAlarms();
    EXPECT_FALSE(m_controller.notice());
}

TEST_F(Alarms, MinutesSkippedBySleepShowOneNoticeAndRunNothingLate) {
    writeAlarmFile(
        QStringLiteral("Default"),
        {alarm(4, 6, alarmaction::Lock),
         alarm(4, 7, alarmaction::showTip, 1, QStringLiteral("Stand up\r\nand stretch   ")),
         alarm(4, 8, alarmaction::Execute, 1, QStringLiteral("https://example.org  ")),
         alarm(4, 9, alarmaction::RebootNow), alarm(4, 30, alarmaction::showTip)});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    m_controller.checkAlarms(); // 04:04:58, the clock runs
    ASSERT_FALSE(m_controller.notice());

    // The computer sleeps through four alarm minutes and wakes at 04:12.
    m_time.setNowUtc(QDateTime(QDate(2026, 5, 4), QTime(4, 12, 3), Qt::UTC));
    QSignalSpy opened(&m_controller, &AlarmController::noticeOpened);
    m_resume.wake();
    AlarmNotice* tip = m_controller.notice();
    ASSERT_TRUE(tip);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(tip->windowTitle(), QStringLiteral("Clock: Default  -  Alarm: missed at 04:09 AM"));
    EXPECT_EQ(tip->messageLabel()->text(),
              QStringLiteral("missed at 04:09 AM: the computer was not rebooted\n"
                             "missed at 04:08 AM: would have opened https://example.org\n"
                             "missed at 04:07 AM: Stand up\nand stretch\n"
                             "missed at 04:06 AM: the computer was not locked"));
    EXPECT_EQ(tip->okButton()->text(), QStringLiteral("&OK"));
    EXPECT_FALSE(tip->countdownRunning());
    EXPECT_EQ(m_sound.calls.filter(QStringLiteral("play:")).size(), 1);
    EXPECT_TRUE(m_sound.playing);

    // Nothing runs late, however long the notice stays, and nothing fires twice.
    for (int i = 0; i < 60; ++i) {
        for (test::FakeTicker* t : m_tickers.made)
            t->tick();
        m_time.advanceSeconds(1);
        m_controller.checkAlarms();
    }
    flush();
    EXPECT_TRUE(m_actions.calls.isEmpty());
    EXPECT_TRUE(m_shell.opened.empty());
    EXPECT_EQ(opened.count(), 1);
    ASSERT_TRUE(m_controller.notice());

    // A live alarm later takes the notice over as usual.
    runUntil(QTime(4, 30, 0));
    EXPECT_EQ(m_controller.notice()->windowTitle(),
              QStringLiteral("Clock: Default  -  Alarm: 04:30 AM"));
    m_controller.notice()->close();
    flush();
    EXPECT_FALSE(m_sound.playing);
}

TEST_F(Alarms, AMissedNoticeEndsARunningCountdown) {
    writeAlarmFile(QStringLiteral("Default"),
                   {alarm(4, 5, alarmaction::ShutDown), alarm(4, 7, alarmaction::showTip)});
    ASSERT_TRUE(m_app.startClock(QStringLiteral("Default")));
    runUntil(QTime(4, 5, 2));
    ASSERT_TRUE(m_controller.notice());
    ASSERT_TRUE(m_controller.notice()->countdownRunning());
    // Suspended mid-countdown; on waking the shutdown must not go on.
    m_app.state().settings.hourMode = HourMode::TwentyFourHour;
    m_time.setNowUtc(QDateTime(QDate(2026, 5, 4), QTime(5, 0, 0), Qt::UTC));
    m_controller.checkAlarms();
    ASSERT_TRUE(m_controller.notice());
    EXPECT_EQ(m_controller.notice()->windowTitle(),
              QStringLiteral("Clock: Default  -  Alarm: missed at 04:07"));
    EXPECT_FALSE(m_controller.notice()->countdownRunning());
    for (int i = 0; i < 40; ++i)
        m_tickers.made[0]->tick();
    EXPECT_TRUE(m_actions.calls.isEmpty());
    EXPECT_EQ(m_app.alarms().noticeAlarm(), -1);
    EXPECT_EQ(m_app.alarms().at(0).NoticeShown, 0);
}

// The real opener: what xdg-open (a stand-in first on PATH) answers comes back as
// the reason, and so does an opener or a program that cannot start.
TEST(DesktopShellOpenFailures, TheOpenersAnswerIsTheReason) {
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const auto writeScript = [](const QString& path, const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    };
    const QString broken = dir.filePath(QStringLiteral("broken"));
    writeScript(broken, "#!/nonexistent/interpreter\n");
    const QByteArray path = qgetenv("PATH");
    const ShellTarget address{
        ShellTarget::Kind::Address, {}, QUrl(QStringLiteral("https://x.org"))};
    const struct {
        const char* name;
        const char* opener; // the stand-in xdg-open's script; null: none on PATH
        ShellTarget target;
        QString why; // empty: opened
    } cases[] = {
        {"opened", "#!/bin/sh\nexit 0\n", address, {}},
        {"no application", "#!/bin/sh\nexit 3\n", address,
         QStringLiteral("no application opens it")},
        {"gone meanwhile", "#!/bin/sh\nexit 2\n", address, QStringLiteral("no such file")},
        {"failed", "#!/bin/sh\nexit 4\n", address, QStringLiteral("xdg-open failed with status 4")},
        {"no xdg-open", nullptr, address, QStringLiteral("xdg-open is not installed")},
        {"a program that cannot start",
         nullptr,
         {ShellTarget::Kind::Program, broken, {}},
         QStringLiteral("it cannot be started")},
    };
    DesktopShellOpen opener;
    for (const auto& c : cases) {
        QFile::remove(bin + QStringLiteral("/xdg-open"));
        if (c.opener)
            writeScript(bin + QStringLiteral("/xdg-open"), c.opener);
        qputenv("PATH", QFile::encodeName(bin));
        QStringList heard;
        bool done = false;
        opener.open(c.target, [&](const QString& why) { heard << why; });
        // Until a reason comes or, for a target that opens, the opener has ended.
        QElapsedTimer waited;
        waited.start();
        while (!done && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            done = !heard.isEmpty() || (c.why.isEmpty() && opener.idle());
        }
        qputenv("PATH", path);
        EXPECT_EQ(heard, c.why.isEmpty() ? QStringList() : QStringList{c.why}) << c.name;
    }
}
