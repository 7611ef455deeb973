// A clock started where no session bus is named (a bare X session, a cron job with
// a display, ssh -X) must not leave a bus of its own running behind it.
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/fakesocket.h"
#include "support/privatesessionbus.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <optional>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ovra;
using namespace ovra::test;

namespace {

// Bus processes that carry this test's private home in their environment: only
// processes this test caused can have it there.
QList<qint64> busProcessesOf(const QString& home) {
    const QByteArray mark = "HOME=" + QFile::encodeName(home);
    QList<qint64> found;
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        bool number = false;
        const qint64 pid = it.fileName().toLongLong(&number);
        if (!number || pid == ::getpid())
            continue;
        QFile comm(it.filePath() + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly) || !comm.readAll().startsWith("dbus-"))
            continue;
        QFile environ(it.filePath() + QStringLiteral("/environ"));
        if (environ.open(QIODevice::ReadOnly) && environ.readAll().split('\0').contains(mark))
            found << pid;
    }
    return found;
}

} // namespace

TEST(SessionBus, AClockWithoutASessionBusStartsNone) {
    test::TestHome home;
    test::PrivateDesktop desktop(800, 600);
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    const QByteArray savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    {
        ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
        // Up and drawn: everything that asks for the bus at start-up has asked.
        EXPECT_TRUE(waitFor(
            [&] { return !windowNamed(QStringLiteral("Ovra Clock {Default}")).isEmpty(); }, 15000));
        EXPECT_EQ(runCapturing(QStringLiteral(OVRA_CLOCK_BIN),
                               {QStringLiteral("--stop"), QStringLiteral("Default")})
                      .exitCode,
                  0);
        EXPECT_TRUE(clock.endsWithin(10000));
    }
    if (!savedBus.isNull())
        qputenv("DBUS_SESSION_BUS_ADDRESS", savedBus);

    const QList<qint64> left = busProcessesOf(home.path());
    EXPECT_TRUE(left.isEmpty()) << left.size() << " bus processes outlived the clock";
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/.dbus/session-bus")));
    for (const qint64 pid : left)
        ::kill(pid_t(pid), SIGTERM);
}

namespace {
// A variable of the test's environment, and so of the clocks it starts, for as long
// as the object lives.
class Variable {
public:
    Variable(const char* name, const QByteArray& value) : m_name(name), m_saved(qgetenv(name)) {
        qputenv(name, value);
    }
    ~Variable() {
        if (m_saved.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, m_saved);
    }

private:
    const char* m_name;
    QByteArray m_saved;
};
} // namespace

// A bus that takes connections and never answers costs the clock what it uses that
// bus for, with a line that says so, and nothing else: the clock shows, and --stop
// ends it, within seconds.
TEST(SessionBus, ABusThatNeverAnswersCostsItsFeatureNotTheClock) {
    enum class Where { SessionBus, SystemBus, AccessibilityVariable, RootWindow, SessionNamed };
    const struct {
        const char* what;
        Where where;
    } cases[] = {
        {"the session bus", Where::SessionBus},
        {"the system bus", Where::SystemBus},
        {"the accessibility bus named in AT_SPI_BUS_ADDRESS", Where::AccessibilityVariable},
        {"the accessibility bus named on the X root window", Where::RootWindow},
        {"the accessibility bus the session bus names", Where::SessionNamed},
    };
    // A working session bus of the test's own, so that the others are asked for.
    PrivateSessionBus session;
    ASSERT_TRUE(session.confirm()) << qPrintable(session.error());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestHome home;
        test::PrivateDesktop desktop(800, 600);
        ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
        // It takes connections and never says a word: the kernel completes each
        // connection into the queue, and nobody ever reads it.
        const QByteArray silentPath =
            QFile::encodeName(home.path() + QStringLiteral("/silent-bus"));
        const FakeSocketServer silent(silentPath, FakeSocketServer::Manner::Silent);
        ASSERT_TRUE(silent.ok());
        const QByteArray silentAddress = "unix:path=" + silentPath;
        std::optional<Variable> variable;
        const QString a11y = QStringLiteral("org.a11y.Bus");
        switch (c.where) {
        case Where::SessionBus:
            variable.emplace("DBUS_SESSION_BUS_ADDRESS", silentAddress);
            break;
        case Where::SystemBus:
            variable.emplace("DBUS_SYSTEM_BUS_ADDRESS", silentAddress);
            break;
        case Where::AccessibilityVariable:
            variable.emplace("AT_SPI_BUS_ADDRESS", silentAddress);
            break;
        case Where::RootWindow:
            ASSERT_EQ(runProgram(QStringLiteral("xprop"),
                                 {QStringLiteral("-root"), QStringLiteral("-f"),
                                  QStringLiteral("AT_SPI_BUS"), QStringLiteral("8s"),
                                  QStringLiteral("-set"), QStringLiteral("AT_SPI_BUS"),
                                  QString::fromUtf8(silentAddress)}),
                      0);
            break;
        case Where::SessionNamed:
            ASSERT_TRUE(session.startService(a11y, QStringLiteral("/org/a11y/bus"), a11y, {}))
                << qPrintable(session.error());
            ASSERT_TRUE(session.addMethod(a11y, a11y, QStringLiteral("GetAddress"),
                                          QStringLiteral("s"),
                                          QStringLiteral("ret = '%1'").arg(silentAddress)));
            // Qt asks only while a screen reader is on.
            variable.emplace("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
            break;
        }
        const QString errors = home.path() + QStringLiteral("/clock.err");
        ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {}, {}, errors);
        EXPECT_TRUE(waitFor(
            [&] { return !windowNamed(QStringLiteral("Ovra Clock {Default}")).isEmpty(); }, 8000));
        QElapsedTimer stopping;
        stopping.start();
        const ProgramResult stop = runCapturing(
            QStringLiteral(OVRA_CLOCK_BIN), {QStringLiteral("--stop"), QStringLiteral("Default")});
        EXPECT_EQ(stop.exitCode, 0) << qPrintable(stop.err);
        EXPECT_TRUE(clock.endsWithin(3000));
        EXPECT_LT(stopping.elapsed(), 6000);
        QFile said(errors);
        ASSERT_TRUE(said.open(QIODevice::ReadOnly));
        EXPECT_TRUE(said.readAll().contains("does not answer"));
        session.stopService(a11y);
    }
}
