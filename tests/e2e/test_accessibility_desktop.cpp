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
#include <functional>

#include <gtest/gtest.h>

#include <memory>

using namespace ovra;
using namespace ovra::test;

namespace {

// A desktop with the accessibility bus and the Default clock on it, started with
// accessibility on and the settings it is given; `prepare` may lay more in the
// clock's folders before it starts.
class ReaderDesktop {
public:
    ReaderDesktop(Session session, const char* locale, const ClockSettings& settings,
                  const std::function<void(const TestHome&)>& prepare = {}) {
        m_desktop = std::make_unique<PrivateDesktop>(DesktopOptions{.session = session});
        if (!m_desktop->ok()) {
            m_error = m_desktop->error();
            return;
        }
        if (!m_bus.error().isEmpty()) {
            m_error = m_bus.error();
            return;
        }
        storeClockSettings(m_home, settings);
        if (prepare)
            prepare(m_home);
        // The bus launcher names the accessibility bus on the session bus; the
        // registry is started on that bus when the first client asks for it.
        m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
        m_env.insert(QStringLiteral("DISPLAY"), m_desktop->display());
        m_launcher.setProcessEnvironment(m_env);
        m_launcher.setProcessChannelMode(QProcess::ForwardedChannels);
        m_launcher.start(QStringLiteral(OVRA_ATSPI_BUS_LAUNCHER),
                         {QStringLiteral("--launch-immediately")});
        if (!m_launcher.waitForStarted(5000)) {
            m_error = QStringLiteral("the accessibility bus did not start");
            return;
        }
        m_clock = std::make_unique<ClockProcess>(
            QStringLiteral(OVRA_CLOCK_BIN), QStringList{},
            QStringList{QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"),
                        QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + m_bus.address(),
                        QStringLiteral("LC_ALL=") + QLatin1String(locale)},
            QString());
        if (!waitFor([] { return !windowNamed(kCaption).isEmpty(); }, 10000))
            m_error = QStringLiteral("the clock did not come up");
    }
    ~ReaderDesktop() {
        if (m_launcher.state() != QProcess::NotRunning)
            stopProcess(m_launcher);
    }

    QString error() const { return m_error; }
    const TestHome& home() const { return m_home; }
    ClockProcess& clock() { return *m_clock; }

    // Runs atspi_walk.py with these arguments; its exit code, or -1 when it ran over.
    int walk(const QStringList& args, int timeoutMs) {
        QProcess walker;
        walker.setProcessEnvironment(m_env);
        walker.setProcessChannelMode(QProcess::ForwardedChannels);
        walker.start(QStringLiteral("/usr/bin/python3"),
                     QStringList{QStringLiteral(OVRA_ATSPI_WALK)} + args);
        if (!walker.waitForStarted(5000))
            return -1;
        if (!walker.waitForFinished(timeoutMs)) {
            stopProcess(walker);
            return -1;
        }
        return walker.exitStatus() == QProcess::NormalExit ? walker.exitCode() : -1;
    }

    static inline const QString kCaption = QStringLiteral("Ovra Clock {Default}");

private:
    TestHome m_home;
    std::unique_ptr<PrivateDesktop> m_desktop;
    PrivateBusDaemon m_bus;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();
    QProcess m_launcher;
    std::unique_ptr<ClockProcess> m_clock;
    QString m_error;
};

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

TEST_P(AccessibilityOnTheDesktop, AScreenReaderReadsTheClockAndEveryPageOfItsSettings) {
    const Case& c = GetParam();
    ReaderDesktop desktop(c.session, c.locale, defaultSettings());
    ASSERT_TRUE(desktop.error().isEmpty()) << qPrintable(desktop.error());
    QStringList args{QLatin1String(c.language), QStringLiteral("Default")};
    if (c.minute)
        args << QStringLiteral("--minute");
    EXPECT_EQ(desktop.walk(args, 150000), 0) << "the walk found faults (above) or did not end";
}

// A due alarm's notice is announced as an alert named by its caption.
TEST(AccessibilityOnTheDesktop, AnAlarmNoticeIsAnAlertNamedByItsCaption) {
    // The alarm is due in the minute the clock starts, which must not end first.
    const AlarmRecord tip =
        alarmDueAt(timeWithRoomInMinute(10), alarmaction::showTip, 0, QStringLiteral("Tea"));
    ReaderDesktop desktop(Session::Openbox, "C.UTF-8", defaultSettings(),
                          [&](const TestHome& h) { storeAlarm(h, tip); });
    ASSERT_TRUE(desktop.error().isEmpty()) << qPrintable(desktop.error());
    EXPECT_EQ(
        desktop.walk({QStringLiteral("en"), QStringLiteral("Default"), QStringLiteral("--alert"),
                      noticeCaption(QStringLiteral("Default"), tip.AlarmTime, 0)},
                     60000),
        0)
        << "the walk found faults (above) or did not end";
}

INSTANTIATE_TEST_SUITE_P(Desktops, AccessibilityOnTheDesktop,
                         ::testing::Values(Case{Session::Openbox, "en", "C.UTF-8", true},
                                           Case{Session::Openbox, "de", "de_DE.UTF-8", false},
                                           Case{Session::Xfwm4, "en", "C.UTF-8", false},
                                           Case{Session::Xfwm4, "de", "de_DE.UTF-8", false}));

namespace {
struct MoveCase {
    Session session;
    bool pressable; // the window manager offers a move by the keyboard
};

std::ostream& operator<<(std::ostream& out, const MoveCase& c) {
    return out << sessionName(c.session).toStdString();
}

class MoveByTheKeyboard : public ::testing::TestWithParam<MoveCase> {};
} // namespace

// A screen reader presses Move, the arrow keys move the clock and Return drops it,
// where it stays and is stored. Without a window manager there is nothing to press.
TEST_P(MoveByTheKeyboard, MovePressedLetsTheArrowKeysMoveTheClock) {
    const MoveCase& c = GetParam();
    ClockSettings s = defaultSettings();
    s.Left = 300 * 15; // twips
    s.Top = 200 * 15;
    ReaderDesktop desktop(c.session, "C.UTF-8", s);
    ASSERT_TRUE(desktop.error().isEmpty()) << qPrintable(desktop.error());
    const QString window = windowNamed(ReaderDesktop::kCaption);
    const QRect before = geometryOf(window);
    ASSERT_EQ(before.topLeft(), QPoint(300, 200));

    const QString mode =
        c.pressable ? QStringLiteral("--press-move") : QStringLiteral("--move-absent");
    ASSERT_EQ(desktop.walk({QStringLiteral("en"), QStringLiteral("Default"), mode}, 60000), 0)
        << "the walk found faults (above) or did not end";
    if (!c.pressable)
        return;
    // The window manager has the keyboard once it is moving the clock.
    QThread::msleep(500);
    pressKeys(QStringList(6, QStringLiteral("Right")), 100);
    pressKeys({QStringLiteral("Return")});

    QRect after;
    EXPECT_TRUE(waitFor([&] { return (after = geometryOf(window)).left() > before.left(); }, 5000))
        << "the clock stayed at " << after.left();
    EXPECT_EQ(after.top(), before.top());
    // Once the window manager lets go of the keyboard, the clock keeps where it stands.
    EXPECT_TRUE(waitFor(
        [&] { return storedClockSettings(desktop.home()).Left == after.left() * 15; }, 5000))
        << "stored Left " << storedClockSettings(desktop.home()).Left << " for x " << after.left();
    EXPECT_EQ(storedClockSettings(desktop.home()).Top, 200 * 15);
    // The keys go back to the user's windows: the move is over, not left running.
    QThread::msleep(300);
    pressKeys({QStringLiteral("Right")});
    QThread::msleep(300);
    EXPECT_EQ(geometryOf(window), after);
}

INSTANTIATE_TEST_SUITE_P(Desktops, MoveByTheKeyboard,
                         ::testing::Values(MoveCase{Session::Openbox, true},
                                           MoveCase{Session::Xfwm4, true},
                                           MoveCase{Session::Bare, false}));
