#include "alarmfakes.h"
#include "alarms/frmtip.h"
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

using namespace ovra;

namespace {

AlarmRecord alarm(int hour, int minute, int32_t action, int32_t playTime = playtime::OneMinute,
                  const QString& note = QString()) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.Status = 1;
    r.Action = action;
    r.PlayTime = playTime;
    r.Note = note;
    r.SoundFile = QStringLiteral("Default Alarm Sound");
    return r;
}

// One process's worth of notice: the table, the clock, fake timers, sound and power.
class Notice : public ::testing::Test {
protected:
    Notice() {
        m_clock.ClockName = QStringLiteral("Office");
        m_clock.settings.HourMode = 1;
        m_defaultSound = m_dir.filePath(QStringLiteral("alarm.wav"));
    }
    ~Notice() override {
        delete m_tip;
        flush();
    }

    // What ProcessAlarm does for alarm index: take over an open notice or open one.
    void fire(int index) {
        if (m_alarms.NoticeAlarm() != -1)
            m_alarms.setNoticeShown(0);
        m_alarms.setNoticeAlarm(index);
        if (m_tip) {
            m_tip->ShowTip();
            return;
        }
        m_tip = new FrmTip(
            {m_alarms, m_clock, m_defaultSound, m_state, m_sound, m_power, m_tickers.factory()});
        m_tip->showOn(QGuiApplication::primaryScreen());
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
    TipState m_state;
    test::RecordingSound m_sound;
    test::RecordingPowerActions m_actions;
    test::RecordingMessageSink m_messages;
    PowerControl m_power{m_actions, m_messages};
    test::FakeTickers m_tickers;
    QPointer<FrmTip> m_tip;
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
    EXPECT_EQ(m_alarms.NoticeAlarm(), -1);
    EXPECT_EQ(m_alarms.at(0).NoticeShown, 0);
    EXPECT_EQ(m_state.CountdownTicks, 30);
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
        EXPECT_EQ(m_alarms.NoticeAlarm(), -1);
        EXPECT_EQ(m_alarms.at(0).NoticeShown, 0);
    }
}

TEST_F(Notice, ALaterAlarmTakesOverARunningCountdown) {
    m_alarms.add(alarm(6, 0, alarmaction::ShutDown));
    m_alarms.add(alarm(6, 1, alarmaction::Restart, playtime::TwoMinutes));
    m_alarms.add(alarm(6, 2, alarmaction::ShowTip, playtime::OneMinute,
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
        m_alarms.add(alarm(6, 0, alarmaction::ShowTip, c.playTime, QStringLiteral("x")));
        m_state.SoundLimit = c.previousLimit;
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
    struct Case {
        QString soundFile;
        QString plays;
    } cases[] = {
        {wav, wav},
        {QStringLiteral("  ") + wav + QStringLiteral("   "), wav},
        {QStringLiteral("Default Alarm Sound"), m_defaultSound},
        {m_dir.filePath(QStringLiteral("gone.wav")), m_defaultSound},
        {m_dir.filePath(QStringLiteral("sounds.wav")), m_defaultSound}, // a folder
        {QString(255, QChar(u'\0')), m_defaultSound},
    };
    for (const Case& c : cases) {
        m_alarms.clear();
        AlarmRecord r = alarm(6, 0, alarmaction::ShowTip);
        r.SoundFile = c.soundFile;
        m_alarms.add(r);
        m_sound.calls.clear();
        fire(0);
        EXPECT_EQ(m_sound.calls.value(0), QStringLiteral("play:") + c.plays)
            << qPrintable(c.soundFile);
        EXPECT_EQ(m_state.AlarmSoundPath, c.plays);
        m_tip->close();
        flush();
    }
}

TEST_F(Notice, TipTextIsShownAsPlainTextAtTheTop) {
    m_clock.settings.HourMode = 0;
    m_alarms.add(alarm(19, 5, alarmaction::ShowTip, playtime::OneMinute,
                       QStringLiteral("  <b>Call</b> home\r\nnow   ")));
    fire(0);
    EXPECT_EQ(m_tip->windowTitle(), QStringLiteral("Clock: Office  -  Alarm: 07:05 PM"));
    EXPECT_EQ(label(), QStringLiteral("  <b>Call</b> home\nnow"));
    EXPECT_EQ(m_tip->labTip()->textFormat(), Qt::PlainText);
    EXPECT_EQ(button(), QStringLiteral("&OK"));
    EXPECT_LT(m_tip->labTip()->y(), 5);
}

TEST_F(Notice, OpensCentredOnTheClocksScreenAsAWholeWindow) {
    m_alarms.add(alarm(6, 0, alarmaction::ShowTip));
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
    m_tip = new FrmTip(
        {m_alarms, m_clock, m_defaultSound, m_state, m_sound, power, m_tickers.factory()});
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
    m_alarms.add(alarm(19, 6, alarmaction::ShowTip, playtime::OneMinute, QStringLiteral("Tea")));
    fire(0);
    ASSERT_TRUE(m_tip);
    QLabel* const text = m_tip->labTip();
    QPushButton* const cancel = m_tip->cmdTip();
    tick1(5);
    const QAccessibleInterface* label = QAccessible::queryAccessibleInterface(text);
    const QAccessibleInterface* button = QAccessible::queryAccessibleInterface(cancel);
    EXPECT_EQ(label->text(QAccessible::Name), CountdownText(alarmaction::ShutDown, 29));
    EXPECT_EQ(label->text(QAccessible::Description), CountdownText(alarmaction::ShutDown, 25));
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Cancel"));

    fire(1);
    EXPECT_EQ(label->text(QAccessible::Name), QStringLiteral("Tea"));
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("OK"));
}
