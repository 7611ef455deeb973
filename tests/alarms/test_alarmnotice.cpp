#include "alarmfakes.h"
#include "alarms/alarmnotice.h"
#include "alarms/noticetexts.h"
#include "support/testenv.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace ovra;

namespace {

AlarmRecord alarm(int hour, int minute, int32_t action, int32_t playTime = playtime::OneMinute,
                  const QString& note = QString()) {
    return test::alarmDueAt(QTime(hour, minute), action, playTime, note);
}

// One process's worth of notice: the table, the clock, fake timers, sound and power.
class Notice : public ::testing::Test {
protected:
    Notice() {
        m_clock.clockName = QStringLiteral("Office");
        m_clock.settings.HourMode = 1;
        m_defaultSound = m_dir.filePath(QStringLiteral("alarm.wav"));
        m_shippedSound = m_dir.filePath(QStringLiteral("shipped.wav"));
        // The user's own default sound, and the one the package ships.
        for (const QString& file : {m_defaultSound, m_shippedSound}) {
            QFile f(file);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }
    ~Notice() override {
        delete m_tip;
        flush();
    }

    // What processAlarm does for alarm index: take over an open notice or open one.
    void fire(int index) {
        if (m_alarms.noticeAlarm() != -1)
            m_alarms.setNoticeShown(0);
        m_alarms.setNoticeAlarm(index);
        if (m_tip) {
            m_tip->showTip();
            return;
        }
        m_tip = new AlarmNotice(services(m_power));
        m_tip->showOn(QGuiApplication::primaryScreen());
    }
    TipServices services(PowerControl& power) {
        return {m_alarms,
                m_clock,
                m_defaultSound,
                m_state,
                m_sound,
                power,
                m_tickers.factory(),
                m_nowUtc,
                m_shippedSound,
                [this](const QString& caption, int32_t action, const QString& why) {
                    m_failures << caption + u'|' + QString::number(action) + u'|' + why;
                    if (m_tip)
                        m_tip->showActionFailed(caption, action, why);
                },
                [this] {
                    return m_uptime;
                }};
    }
    test::FakeTicker& timer1() { return *m_tickers.made[m_tickers.made.size() - 2]; }
    test::FakeTicker& timer2() { return *m_tickers.made.back(); }
    void tick1(int times) {
        for (int i = 0; i < times && m_tip; ++i)
            timer1().tick();
        flush();
    }
    void tick2(int times) {
        for (int i = 0; i < times && m_tip; ++i)
            timer2().tick();
    }
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QString label() const { return m_tip->labTip()->text(); }
    QString button() const { return m_tip->cmdTip()->text(); }

    QTemporaryDir m_dir;
    AlarmTable m_alarms;
    ClockState m_clock;
    QString m_defaultSound;
    QString m_shippedSound;
    QStringList m_failures; // what actionFailed heard: caption|action|why
    TipState m_state;
    test::RecordingSound m_sound;
    test::RecordingPowerActions m_actions;
    test::RecordingMessageSink m_messages;
    PowerControl m_power{m_actions, m_messages};
    test::FakeTickers m_tickers;
    QPointer<AlarmNotice> m_tip;
    std::function<QDateTime()> m_nowUtc; // the computer's clock; unset: the real one
    Uptime m_uptime;                     // the clocks since boot, moved by hand
};

} // namespace

TEST_F(Notice, CountdownRunsSecondBySecondToItsActionOnce) {
    m_alarms.add(alarm(19, 5, alarmaction::Lock, playtime::Loop));
    fire(0);
    ASSERT_TRUE(m_tip);
    EXPECT_EQ(m_tip->windowTitle(), QStringLiteral("Clock: Office  -  Alarm: 19:05"));
    EXPECT_TRUE(m_tip->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(m_tip->isVisible());
    // Until the first tick the window keeps its design texts.
    EXPECT_EQ(label(), QString());
    EXPECT_EQ(button(), QStringLiteral("&OK"));
    EXPECT_EQ(m_sound.calls, QStringList{QStringLiteral("play:") + m_defaultSound});
    EXPECT_EQ(m_alarms.at(0).NoticeShown, 1);

    for (int n = 29; n >= 1; --n) {
        tick1(1);
        ASSERT_TRUE(m_tip);
        EXPECT_EQ(label(), QStringLiteral("Computer will be locked in %1 seconds").arg(n));
        EXPECT_EQ(button(), QStringLiteral("&Cancel (%1)").arg(n));
        EXPECT_TRUE(m_actions.calls.isEmpty()) << n;
    }
    tick1(1); // 0 seconds: the action, then the window closes
    EXPECT_EQ(m_actions.calls, QStringList{QStringLiteral("LockSession")});
    EXPECT_FALSE(m_tip);
    EXPECT_EQ(m_sound.calls.last(), QStringLiteral("stop")); // Loop stops with the window
    EXPECT_FALSE(m_sound.playing);
    EXPECT_EQ(m_alarms.noticeAlarm(), -1);
    EXPECT_EQ(m_alarms.at(0).NoticeShown, 0);
    EXPECT_EQ(m_state.countdownTicks, 30);
}

// The ticks stop while the computer sleeps: a countdown that wakes past its end is
// cancelled and says so, where it would otherwise lock or shut down hours late. A
// step of the wall clock, however large, changes nothing.
TEST_F(Notice, OnlyASleepPastItsEndCancelsACountdown) {
    const struct {
        const char* what;
        int atSecond;      // when it happens, in seconds of the countdown
        qint64 asleepMs;   // suspended: the boot-time clock runs on alone
        qint64 wallStepMs; // the wall clock stepped
        qint64 lateMs;     // awake, but the tick came this late
        bool carriedOut;
    } cases[] = {
        {"a night's sleep", 18, 9 * 3600 * 1000LL, 9 * 3600 * 1000LL, 0, false},
        {"a sleep just past the end", 25, 15000, 15000, 0, false},
        {"a short sleep that wakes before the end", 10, 8000, 8000, 0, true},
        {"the clock stepped 12 s forward", 5, 0, 12000, 0, true},
        {"the clock set forward an hour", 18, 0, 3600 * 1000LL, 0, true},
        {"the clock set back an hour", 18, 0, -3600 * 1000LL, 0, true},
        {"ticks a little late", 18, 0, 3000, 3000, true},
    };
    QDateTime now(QDate(2026, 12, 7), QTime(6, 0), Qt::UTC);
    m_nowUtc = [&] {
        return now;
    };
    const auto pass = [&](qint64 awakeMs, qint64 asleepMs, qint64 wallMs) {
        m_uptime.awakeMs += awakeMs;
        m_uptime.sinceBootMs += awakeMs + asleepMs;
        now = now.addMSecs(wallMs);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_actions.calls.clear();
        m_alarms.clear();
        m_alarms.add(alarm(6, 0, alarmaction::ShutDown));
        fire(0);
        for (int second = 1; second <= 30 && m_tip; ++second) {
            pass(1000, 0, 1000);
            if (second == c.atSecond)
                pass(c.lateMs, c.asleepMs, c.wallStepMs);
            tick1(1);
        }
        EXPECT_EQ(m_actions.calls.isEmpty(), !c.carriedOut)
            << qPrintable(m_actions.calls.join(u','));
        if (c.carriedOut)
            continue;
        ASSERT_TRUE(m_tip);
        EXPECT_FALSE(m_tip->countdownRunning());
        // The label no longer announces the shutdown but says, whole, why there is none.
        EXPECT_EQ(m_tip->labTip()->text(),
                  QStringLiteral("The countdown was cancelled and the computer was not shut "
                                 "down: the computer slept past its end."));
        EXPECT_TRUE(m_tip->labTip()->wordWrap());
        m_tip->close();
        flush();
    }
}

TEST_F(Notice, CancelWithTwelveSecondsLeftPreventsTheAction) {
    // The button, or any other way the window closes (title bar, shutdown).
    for (const bool byButton : {true, false}) {
        m_alarms.clear();
        m_alarms.add(alarm(6, 0, alarmaction::ShutDown));
        fire(0);
        tick1(18);
        EXPECT_EQ(button(), QStringLiteral("&Cancel (12)"));
        EXPECT_EQ(label(), QStringLiteral("Computer will be shutted down in 12 seconds"));
        if (byButton)
            m_tip->cmdTip()->click();
        else
            m_tip->close();
        flush();
        EXPECT_FALSE(m_tip);
        EXPECT_TRUE(m_actions.calls.isEmpty());
        EXPECT_FALSE(m_sound.playing);
        EXPECT_EQ(m_alarms.noticeAlarm(), -1);
        EXPECT_EQ(m_alarms.at(0).NoticeShown, 0);
    }
}

TEST_F(Notice, ALaterAlarmTakesOverARunningCountdown) {
    m_alarms.add(alarm(6, 0, alarmaction::ShutDown));
    m_alarms.add(alarm(6, 1, alarmaction::Restart, playtime::TwoMinutes));
    m_alarms.add(alarm(6, 2, alarmaction::showTip, playtime::OneMinute,
                       QStringLiteral("Stand up  ") + QString(20, QChar(u'\0'))));
    fire(0);
    tick1(20);
    fire(1); // a second countdown starts over for the new alarm
    EXPECT_EQ(m_tip->windowTitle(), QStringLiteral("Clock: Office  -  Alarm: 06:01"));
    EXPECT_EQ(m_alarms.at(0).NoticeShown, 0);
    EXPECT_EQ(m_alarms.at(1).NoticeShown, 1);
    // The first tick rewrites the texts for the new action.
    EXPECT_EQ(label(), QStringLiteral("Computer will be shutted down in 10 seconds"));
    tick1(1);
    EXPECT_EQ(label(), QStringLiteral("Computer will be restarted in 29 seconds"));
    tick1(25);
    fire(2); // a tip stops the countdown: no restart ever happens
    EXPECT_FALSE(m_tip->countdownRunning());
    EXPECT_EQ(label(), QStringLiteral("Stand up"));
    EXPECT_EQ(m_tip->labTip()->alignment(), Qt::AlignLeft | Qt::AlignTop)
        << "the tip sits where a tip does, not centred like the countdown";
    EXPECT_EQ(button(), QStringLiteral("&OK"));
    tick1(40);
    EXPECT_TRUE(m_tip);
    EXPECT_TRUE(m_actions.calls.isEmpty());
    EXPECT_EQ(m_sound.calls.filter(QStringLiteral("play:")).size(), 3);
    m_tip->cmdTip()->click();
    flush();
    EXPECT_EQ(m_alarms.at(2).NoticeShown, 0);
    EXPECT_EQ(m_alarms.at(1).NoticeShown, 0);
}

TEST_F(Notice, SoundStopsAtItsPlayTime) {
    struct Case {
        int32_t playTime;
        int32_t previousLimit; // what an earlier notice left
        int stopsAfter;        // 0: never, until the window closes
    } cases[] = {
        {playtime::OneMinute, 0, 60},
        {playtime::TwoMinutes, 0, 120},
        {playtime::ThreeMinutes, 0, 180},
        {playtime::FiveMinutes, 0, 300},
        {playtime::Loop, 0, 0},
        {9, 120, 120}, // a code the editor never writes keeps the last limit
        {-1, 60, 60},
    };
    for (const Case& c : cases) {
        m_alarms.clear();
        m_alarms.add(alarm(6, 0, alarmaction::showTip, c.playTime, QStringLiteral("x")));
        m_state.soundLimit = c.previousLimit;
        m_sound.calls.clear();
        fire(0);
        const int limit = c.stopsAfter ? c.stopsAfter : 1000;
        tick2(limit - 1);
        EXPECT_TRUE(m_sound.playing) << c.playTime;
        tick2(1);
        EXPECT_EQ(m_sound.playing, c.stopsAfter == 0) << c.playTime;
        EXPECT_FALSE(m_tip->soundLimitRunning()) << c.playTime;
        EXPECT_TRUE(m_tip) << "the tip stays open after the sound stops";
        m_tip->close();
        flush();
        EXPECT_FALSE(m_sound.playing);
    }
}

TEST_F(Notice, TheAlarmsOwnSoundOrTheDefault) {
    const QString wav = m_dir.filePath(QStringLiteral("bell.wav"));
    QFile(wav).open(QIODevice::WriteOnly);
    QDir(m_dir.path()).mkdir(QStringLiteral("sounds.wav"));
    const auto withDefault = [&](QFileDevice::Permissions permissions) {
        QFile::remove(m_defaultSound);
        QFile f(m_defaultSound);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.setPermissions(permissions);
    };
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QString link = m_dir.filePath(QStringLiteral("link.wav"));
    struct Case {
        const char* name;
        QString soundFile;
        std::function<void()> arrange;
        QString plays; // empty: nothing plays
    } cases[] = {
        {"the alarm's own file", wav, {}, wav},
        {"padding cleaned off", QStringLiteral("  ") + wav + QStringLiteral("   "), {}, wav},
        {"the user's own default", QStringLiteral("Default Alarm Sound"), {}, m_defaultSound},
        {"a missing file", m_dir.filePath(QStringLiteral("gone.wav")), {}, m_defaultSound},
        {"a folder", m_dir.filePath(QStringLiteral("sounds.wav")), {}, m_defaultSound},
        {"never written", QString(255, QChar(u'\0')), {}, m_defaultSound},
        {"a default others may write is passed over", QStringLiteral("Default Alarm Sound"),
         [&] { withDefault(owner | QFileDevice::WriteOther); }, m_shippedSound},
        {"so is one the group may write", QStringLiteral("Default Alarm Sound"),
         [&] { withDefault(owner | QFileDevice::WriteGroup); }, m_shippedSound},
        {"and a link in its place", QStringLiteral("Default Alarm Sound"),
         [&] {
             QFile::remove(m_defaultSound);
             QFile::link(wav, m_defaultSound);
         },
         m_shippedSound},
        {"no default at all", QStringLiteral("Default Alarm Sound"),
         [&] { QFile::remove(m_defaultSound); }, m_shippedSound},
    };
    for (const Case& c : cases) {
        if (c.arrange)
            c.arrange();
        m_alarms.clear();
        AlarmRecord r = alarm(6, 0, alarmaction::showTip);
        r.SoundFile = c.soundFile;
        m_alarms.add(r);
        m_sound.calls.clear();
        fire(0);
        EXPECT_EQ(m_sound.calls.value(0), QStringLiteral("play:") + c.plays) << c.name;
        EXPECT_EQ(m_state.alarmSoundPath, c.plays) << c.name;
        EXPECT_TRUE(m_tip->labStatus()->isHidden()) << c.name;
        m_tip->close();
        flush();
    }
}

TEST_F(Notice, TheStatusLineSaysWhyThereIsNoSound) {
    m_alarms.add(alarm(6, 0, alarmaction::showTip));
    m_alarms.add(alarm(6, 1, alarmaction::Lock));
    fire(0);
    ASSERT_TRUE(m_sound.problem);
    EXPECT_TRUE(m_tip->labStatus()->isHidden());
    // The back end finds out later, from the event loop.
    m_sound.problem(QStringLiteral("no audio output"));
    EXPECT_FALSE(m_tip->labStatus()->isHidden());
    EXPECT_EQ(m_tip->labStatus()->text(), QStringLiteral("No sound: no audio output"));
    EXPECT_EQ(m_tip->cmdTip()->text(), QStringLiteral("&OK")) << "still a working notice";

    // A later alarm starts with a clean line; the replaced sound's word is dropped.
    const AlarmSound::Problem stale = m_sound.problem;
    fire(1);
    EXPECT_TRUE(m_tip->labStatus()->isHidden());
    stale(QStringLiteral("bell.wav cannot be played"));
    EXPECT_TRUE(m_tip->labStatus()->isHidden());

    // With neither a default sound nor the shipped one, the notice says so itself.
    m_tip->close();
    flush();
    QFile::remove(m_defaultSound);
    QFile::remove(m_shippedSound);
    m_sound.calls.clear();
    fire(0);
    EXPECT_EQ(m_sound.calls, QStringList{QStringLiteral("stop")});
    EXPECT_EQ(m_tip->labStatus()->text(), QStringLiteral("No sound: no alarm sound is installed"));
}

TEST_F(Notice, AnActionThatFailsKeepsTheNoticeAndSaysWhy) {
    struct Case {
        int32_t action;
        const char* label;
    } cases[] = {
        {alarmaction::ShutDown, "The computer was not shut down"},
        {alarmaction::Restart, "The computer was not restarted"},
        {alarmaction::Lock, "The computer was not locked"},
        {alarmaction::PowerOffNow, "The computer was not powered off"},
    };
    m_actions.refusal = QStringLiteral("Access denied");
    for (const Case& c : cases) {
        m_alarms.clear();
        m_alarms.add(alarm(6, 0, c.action));
        fire(0);
        const QString caption = m_tip->windowTitle();
        tick1(30);
        ASSERT_TRUE(m_tip) << c.label << ": the notice stays to say what happened";
        EXPECT_EQ(m_tip->windowTitle(), caption);
        EXPECT_EQ(label(), QString::fromLatin1(c.label));
        EXPECT_EQ(m_tip->labStatus()->text(), QStringLiteral("Action failed: Access denied"));
        EXPECT_EQ(button(), QStringLiteral("&OK"));
        EXPECT_FALSE(m_tip->countdownRunning());
        EXPECT_EQ(m_alarms.noticeAlarm(), -1);
        m_tip->close();
        flush();
    }
    EXPECT_EQ(m_failures.size(), 4);

    // A refusal that comes after a later alarm took the notice over only adds the
    // line: the later alarm's countdown goes on.
    m_failures.clear();
    m_actions.refusal.clear();
    m_alarms.clear();
    m_alarms.add(alarm(6, 0, alarmaction::Lock));
    m_alarms.add(alarm(6, 1, alarmaction::Restart));
    fire(0);
    tick1(30);
    EXPECT_FALSE(m_tip);
    fire(1);
    m_tip->showActionFailed(QStringLiteral("Clock: Office  -  Alarm: 06:00"), alarmaction::Lock,
                            QStringLiteral("logind does not answer"));
    EXPECT_TRUE(m_tip->countdownRunning());
    EXPECT_EQ(m_tip->labStatus()->text(), QStringLiteral("Action failed: logind does not answer"));
    EXPECT_EQ(m_alarms.noticeAlarm(), 1);
}

TEST_F(Notice, TipTextIsShownAsPlainTextAtTheTop) {
    m_clock.settings.HourMode = 0;
    m_alarms.add(alarm(19, 5, alarmaction::showTip, playtime::OneMinute,
                       QStringLiteral("  <b>Call</b> home\r\nnow   ")));
    fire(0);
    EXPECT_EQ(m_tip->windowTitle(), QStringLiteral("Clock: Office  -  Alarm: 07:05 PM"));
    EXPECT_EQ(label(), QStringLiteral("  <b>Call</b> home\nnow"));
    EXPECT_EQ(m_tip->labTip()->textFormat(), Qt::PlainText);
    EXPECT_EQ(button(), QStringLiteral("&OK"));
    EXPECT_LT(m_tip->labTip()->y(), 5);
}

TEST_F(Notice, OpensCentredOnTheClocksScreenAsAWholeWindow) {
    m_alarms.add(alarm(6, 0, alarmaction::showTip));
    fire(0);
    // The frame comes after the show, as from a window manager; the window is
    // placed again by it.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 400)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = m_tip->frameGeometry();
    EXPECT_GT(frame.width(), m_tip->width()) << "the platform gave the window no frame";
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
}

// A refused immediate power-off shows a message box; the clock may close while it
// is up, and the notice with it. The countdown's tick must not touch the deleted
// window afterwards (the sanitizer build reports it).
TEST_F(Notice, TheClockClosingWhileARefusalIsShownLeavesTheTickAlone) {
    struct ClosingSink final : MessageSink {
        std::function<void()> duringMessage;
        int shown = 0;
        void showMessage(const QString&, const QString&, MessageIcon) override {
            ++shown;
            duringMessage();
        }
    } sink;
    PowerControl power(m_actions, sink);
    m_actions.answer = QStringLiteral("no");
    m_alarms.add(alarm(6, 0, alarmaction::PowerOffNow));
    m_alarms.setNoticeAlarm(0);
    m_tip = new AlarmNotice(services(power));
    m_tip->showOn(QGuiApplication::primaryScreen());
    // What the unload does inside the message box's event loop.
    sink.duringMessage = [&] {
        m_tip->close();
        flush();
    };
    tick1(30);
    EXPECT_EQ(sink.shown, 1);
    EXPECT_FALSE(m_tip);
    EXPECT_EQ(m_actions.calls, QStringList{QStringLiteral("CanPowerOff")});
}

// A screen reader hears the countdown by the name it starts with, which then stays
// put rather than change every second; the seconds left are the description, and
// a tip that follows is read afresh.
TEST_F(Notice, TheCountdownIsAnnouncedOnceAndStaysReadable) {
    m_alarms.add(alarm(19, 5, alarmaction::ShutDown));
    m_alarms.add(alarm(19, 6, alarmaction::showTip, playtime::OneMinute, QStringLiteral("Tea")));
    fire(0);
    ASSERT_TRUE(m_tip);
    QLabel* const text = m_tip->labTip();
    QPushButton* const cancel = m_tip->cmdTip();
    tick1(5);
    const QAccessibleInterface* label = QAccessible::queryAccessibleInterface(text);
    const QAccessibleInterface* button = QAccessible::queryAccessibleInterface(cancel);
    // The notice itself is an alert named by its caption, not one more window.
    const QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(m_tip.data());
    EXPECT_EQ(notice->role(), QAccessible::AlertMessage);
    EXPECT_EQ(notice->text(QAccessible::Name), m_tip->windowTitle());
    EXPECT_EQ(label->text(QAccessible::Name), countdownText(alarmaction::ShutDown, 29));
    EXPECT_EQ(label->text(QAccessible::Description), countdownText(alarmaction::ShutDown, 25));
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Cancel"));

    fire(1);
    EXPECT_EQ(label->text(QAccessible::Name), QStringLiteral("Tea"));
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("OK"));
}
