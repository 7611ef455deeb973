// The clock as a screen reader meets it: the real clock on a private desktop, with a
// private session bus that holds the accessibility bus of at-spi2-core, walked over
// AT-SPI by atspi_walk.py (names, roles, states, actions and events).
#include "alarms/alarmfile.h"
#include "alarms/noticetexts.h"
#include "alarms/privatebus.h"
#include "base/apppaths.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QProcess>
#include <QThread>
#include <QTime>

#include <memory>

#include <gtest/gtest.h>

using namespace ovra;
using namespace ovra::test;

namespace {

struct Case {
    Session session;
    const char* language; // the walker's table of texts
    const char* locale;
    bool minute; // also wait for the next minute's description event
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << sessionName(c.session).toStdString() << " " << c.language;
}

class AccessibilityOnTheDesktop : public ::testing::TestWithParam<Case> {};

} // namespace

// A private desktop and session bus with the accessibility bus on it, a clock on
// them, and the walker that reads it as a screen reader does.
struct ReadableClock {
    TestHome home;
    PrivateDesktop desktop;
    PrivateBusDaemon bus;
    QProcess launcher;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    std::unique_ptr<ClockProcess> clock;

    explicit ReadableClock(Session session) : desktop(DesktopOptions{.session = session}) {}
    ~ReadableClock() { stopProcess(launcher); }

    void start(const char* locale) {
        ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
        ASSERT_TRUE(bus.error().isEmpty()) << qPrintable(bus.error());
        // The bus launcher names the accessibility bus on the session bus; the
        // registry is started on that bus when the first client asks for it.
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        env.insert(QStringLiteral("DISPLAY"), desktop.display());
        launcher.setProcessEnvironment(env);
        launcher.setProcessChannelMode(QProcess::ForwardedChannels);
        launcher.start(QStringLiteral(OVRA_ATSPI_BUS_LAUNCHER),
                       {QStringLiteral("--launch-immediately")});
        ASSERT_TRUE(launcher.waitForStarted(5000));
        clock = std::make_unique<ClockProcess>(
            QStringLiteral(OVRA_CLOCK_BIN), QStringList{},
            QStringList{QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"),
                        QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + bus.address(),
                        QStringLiteral("LC_ALL=") + QLatin1String(locale)},
            QString());
        ASSERT_TRUE(waitFor(
            [] { return !windowNamed(QStringLiteral("Ovra Clock {Default}")).isEmpty(); }, 10000));
    }

    // Runs the walker with these arguments; true when it found no fault.
    void walk(const QStringList& args, int timeoutMs) {
        QProcess walker;
        walker.setProcessEnvironment(env);
        walker.setProcessChannelMode(QProcess::ForwardedChannels);
        walker.start(QStringLiteral("/usr/bin/python3"),
                     QStringList{QStringLiteral(OVRA_ATSPI_WALK)} + args);
        ASSERT_TRUE(walker.waitForStarted(5000));
        const bool finished = walker.waitForFinished(timeoutMs);
        if (!finished)
            stopProcess(walker);
        EXPECT_TRUE(finished) << "the walk did not end";
        EXPECT_EQ(walker.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(walker.exitCode(), 0) << "the walk found faults (above)";
    }
};

TEST_P(AccessibilityOnTheDesktop, AScreenReaderReadsTheClockAndEveryPageOfItsSettings) {
    const Case& c = GetParam();
    ReadableClock r(c.session);
    ASSERT_NO_FATAL_FAILURE(r.start(c.locale));
    QStringList args{QLatin1String(c.language), QStringLiteral("Default")};
    if (c.minute)
        args << QStringLiteral("--minute");
    r.walk(args, 150000);
}

// A due alarm's notice is announced as an alert named by its caption.
TEST(AccessibilityOnTheDesktop, AnAlarmNoticeIsAnAlertNamedByItsCaption) {
    ReadableClock r(Session::Openbox);
    // The alarm is due in the minute the clock starts, which must not end first.
    if (QTime::currentTime().second() > 50)
        QThread::msleep((61 - QTime::currentTime().second()) * 1000);
    const QTime now = QTime::currentTime();
    AlarmTable table;
    AlarmRecord tip;
    tip.AlarmTime = alarmTimeOf(now.hour(), now.minute());
    tip.Status = 1;
    tip.Action = alarmaction::ShowTip;
    tip.Note = QStringLiteral("Tea");
    tip.SoundFile = QStringLiteral("Default Alarm Sound");
    table.add(tip);
    RecordingMessageSink messages;
    const AppPaths paths = AppPaths::build(QStringLiteral("Default"), r.home.roots());
    ASSERT_EQ(SaveAlarmFile(table, paths.AlarmFilePath, messages), 0);
    ASSERT_NO_FATAL_FAILURE(r.start("C.UTF-8"));
    r.walk({QStringLiteral("en"), QStringLiteral("Default"), QStringLiteral("--alert"),
            NoticeCaption(QStringLiteral("Default"), tip.AlarmTime, 0)},
           60000);
}

INSTANTIATE_TEST_SUITE_P(Desktops, AccessibilityOnTheDesktop,
                         ::testing::Values(Case{Session::Openbox, "en", "C.UTF-8", true},
                                           Case{Session::Openbox, "de", "de_DE.UTF-8", false},
                                           Case{Session::Xfwm4, "en", "C.UTF-8", false},
                                           Case{Session::Xfwm4, "de", "de_DE.UTF-8", false}));
