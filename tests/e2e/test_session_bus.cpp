// A clock started where no session bus is named (a bare X session, a cron job with
// a display, ssh -X) must not leave a bus of its own running behind it.
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

#include <signal.h>
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
