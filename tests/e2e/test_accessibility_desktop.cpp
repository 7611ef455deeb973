// The clock as a screen reader meets it: the real clock on a private desktop, with a
// private session bus that holds the accessibility bus of at-spi2-core, walked over
// AT-SPI by atspi_walk.py (names, roles, states, actions and events).
#include "alarms/privatebus.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QProcess>

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

TEST_P(AccessibilityOnTheDesktop, AScreenReaderReadsTheClockAndEveryPageOfItsSettings) {
    const Case& c = GetParam();
    TestHome home;
    PrivateDesktop desktop(DesktopOptions{.session = c.session});
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    PrivateBusDaemon bus;
    ASSERT_TRUE(bus.error().isEmpty()) << qPrintable(bus.error());
    const QString busEntry = QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + bus.address();

    // The bus launcher names the accessibility bus on the session bus; the registry
    // is started on that bus when the first client asks for it.
    QProcess launcher;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.insert(QStringLiteral("DISPLAY"), desktop.display());
    launcher.setProcessEnvironment(env);
    launcher.setProcessChannelMode(QProcess::ForwardedChannels);
    launcher.start(QStringLiteral(OVRA_ATSPI_BUS_LAUNCHER),
                   {QStringLiteral("--launch-immediately")});
    ASSERT_TRUE(launcher.waitForStarted(5000));

    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {},
                       {QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"), busEntry,
                        QStringLiteral("LC_ALL=") + QLatin1String(c.locale)},
                       {});
    ASSERT_TRUE(waitFor(
        [] { return !windowNamed(QStringLiteral("Ovra Clock {Default}")).isEmpty(); }, 10000));

    QProcess walker;
    walker.setProcessEnvironment(env);
    walker.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList args{QStringLiteral(OVRA_ATSPI_WALK), QLatin1String(c.language),
                     QStringLiteral("Default")};
    if (c.minute)
        args << QStringLiteral("--minute");
    walker.start(QStringLiteral("/usr/bin/python3"), args);
    ASSERT_TRUE(walker.waitForStarted(5000));
    const bool finished = walker.waitForFinished(150000);
    if (!finished)
        stopProcess(walker);
    EXPECT_TRUE(finished) << "the walk did not end";
    EXPECT_EQ(walker.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(walker.exitCode(), 0) << "the walk found faults (above)";
    stopProcess(launcher);
}

INSTANTIATE_TEST_SUITE_P(Desktops, AccessibilityOnTheDesktop,
                         ::testing::Values(Case{Session::Openbox, "en", "C.UTF-8", true},
                                           Case{Session::Openbox, "de", "de_DE.UTF-8", false},
                                           Case{Session::Xfwm4, "en", "C.UTF-8", false},
                                           Case{Session::Xfwm4, "de", "de_DE.UTF-8", false}));
