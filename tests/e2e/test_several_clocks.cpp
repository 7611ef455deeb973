// Several clocks kept, started, stopped and deleted through the command line, each
// a real clock process on a private X server.
#include "settings/autorun.h"
#include "settings/clocklist.h"
#include "settings/instancepaths.h"
#include "settings/localinstancechannel.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <vector>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ovra;
using namespace ovra::test;

namespace {

ProgramResult cli(const QStringList& args) {
    return runCapturing(QStringLiteral(OVRA_CLOCK_BIN), args);
}

// Gone, or only a zombie waiting for a parent that does not reap it.
bool processGone(qint64 pid) {
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype paren = text.lastIndexOf(')');
    return paren > 0 && text.mid(paren + 2, 1) == "Z";
}

// The clock processes this test caused; whatever is left at the end is closed, and
// killed by its id if it does not close.
struct Clocks {
    explicit Clocks(const test::TestHome& home)
        : channel(instanceSocketFolder(home.roots().runtimeRoot)) {}
    ~Clocks() {
        for (const qint64 pid : std::as_const(pids)) {
            if (processGone(pid))
                continue;
            for (const QString& name : pids.keys(pid))
                channel.close(name, 3000);
            if (!waitFor([&] { return processGone(pid); }, 3000))
                ::kill(pid_t(pid), SIGKILL);
        }
    }
    qint64 track(const QString& name) {
        const qint64 pid = channel.find(name, false);
        if (pid > 0)
            pids.insert(name, pid);
        return pid;
    }
    LocalInstanceChannel channel;
    QMap<QString, qint64> pids;
};

struct Store {
    explicit Store(const test::TestHome& home) : backend(home.storePath()), store(backend) {}
    bool has(const QString& clock, const QString& value) {
        return store.readValue(clockKeyPath(clock), value) != StoredValue{};
    }
    bool keyExists(const QString& clock) {
        const KeyPath p = splitKeyPath(clockKeyPath(clock));
        return backend.keyExists(p.root, p.subKey);
    }
    SqliteStoreBackend backend;
    KeyStore store;
};

} // namespace

TEST(SeveralClocks, KeptStartedStoppedAndDeletedFromTheCommandLine) {
    test::TestHome home;
    // The compositor also keeps a client connected, so the X server never resets
    // between two clocks connecting.
    test::PrivateDesktop desktop(1024, 768);
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    Clocks clocks(home);
    const QString tokyo = QStringLiteral("Tokyo");
    const QString newYork = QStringLiteral("New York");
    const QString autostart = home.path() + QStringLiteral("/config/autostart");
    const QString alarmFile = home.path() + QStringLiteral("/data/Tamrel/Ovra Clock/New York.cfg");
    QDir().mkpath(QFileInfo(alarmFile).absolutePath());
    {
        QFile f(alarmFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(566, '\0'));
    }

    ASSERT_EQ(cli({QStringLiteral("--add"), tokyo, QStringLiteral("--zone"), QStringLiteral("80")})
                  .exitCode,
              0);
    ASSERT_EQ(
        cli({QStringLiteral("--add"), newYork, QStringLiteral("--zone"), QStringLiteral("20")})
            .exitCode,
        0);
    ASSERT_EQ(cli({QStringLiteral("--start"), QStringLiteral("Default")}).exitCode, 0);

    const QString allRunning =
        QStringLiteral("Default -- Running\nTokyo -- Running\nNew York -- Running\n");
    QString listed;
    EXPECT_TRUE(waitFor([&] {
        listed = cli({QStringLiteral("--list")}).out;
        return listed == allRunning;
    })) << qPrintable(listed);
    for (const QString& name : {QStringLiteral("Default"), tokyo, newYork})
        ASSERT_GT(clocks.track(name), 0) << qPrintable(name);

    // Stopped from another process: the clock has stored its settings by the time
    // the stop returns.
    Store store(home);
    ASSERT_FALSE(store.has(tokyo, QStringLiteral("ClockRadius")));
    const ProgramResult stop = cli({QStringLiteral("--stop"), tokyo});
    EXPECT_EQ(stop.exitCode, 0) << qPrintable(stop.err);
    EXPECT_EQ(store.store.readInteger(clockKeyPath(tokyo), QStringLiteral("ClockRadius")), 48);
    EXPECT_TRUE(store.has(tokyo, QStringLiteral("Left")));
    EXPECT_EQ(store.store.readInteger(clockKeyPath(tokyo), QStringLiteral("TimeZoneIndex")), 80);
    EXPECT_TRUE(QFile::exists(Autorun::entryFilePath(autostart, tokyo)));
    EXPECT_TRUE(waitFor([&] { return processGone(clocks.pids.value(tokyo)); }));
    EXPECT_EQ(cli({QStringLiteral("--list")}).out,
              QStringLiteral("Default -- Running\nTokyo -- Stopped\nNew York -- Running\n"));

    // Deleting a running clock closes it first; its alarms stay for a later clock
    // of the same name.
    const ProgramResult del = cli({QStringLiteral("--delete"), newYork});
    EXPECT_EQ(del.exitCode, 0) << qPrintable(del.err);
    EXPECT_TRUE(waitFor([&] { return processGone(clocks.pids.value(newYork)); }));
    EXPECT_FALSE(store.keyExists(newYork));
    EXPECT_EQ(store.store.readText(kClockListKey, kClockListValue), QStringLiteral("{Tokyo}"));
    EXPECT_FALSE(QFile::exists(Autorun::entryFilePath(autostart, newYork)));
    EXPECT_TRUE(QFile::exists(alarmFile));

    const ProgramResult refused = cli({QStringLiteral("--delete"), QStringLiteral("Default")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Default clock can not be deleted.")));

    // A clock killed outright leaves its socket behind; starting it again works.
    const qint64 defaultPid = clocks.pids.value(QStringLiteral("Default"));
    ::kill(pid_t(defaultPid), SIGKILL);
    ASSERT_TRUE(waitFor([&] { return processGone(defaultPid); }));
    EXPECT_EQ(cli({QStringLiteral("--list")}).out,
              QStringLiteral("Default -- Stopped\nTokyo -- Stopped\n"));
    ASSERT_EQ(cli({QStringLiteral("--start"), QStringLiteral("Default")}).exitCode, 0);
    EXPECT_TRUE(waitFor([&] { return clocks.track(QStringLiteral("Default")) > 0; }));
    EXPECT_NE(clocks.pids.value(QStringLiteral("Default")), defaultPid);
    EXPECT_EQ(cli({QStringLiteral("--stop"), QStringLiteral("Default")}).exitCode, 0);
}

// --delete right after --add: the delete must reach the new clock, and nothing of
// the clock may run on unlisted or come back when it ends.
TEST(SeveralClocks, AClockDeletedRightAfterItWasAddedLeavesNothingBehind) {
    test::TestHome home;
    test::PrivateDesktop desktop(1024, 768);
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    Clocks clocks(home);
    const QString osaka = QStringLiteral("Osaka");
    const QString autostart = home.path() + QStringLiteral("/config/autostart");

    const ProgramResult add = cli({QStringLiteral("--add"), osaka});
    ASSERT_EQ(add.exitCode, 0) << qPrintable(add.err);
    const ProgramResult del = cli({QStringLiteral("--delete"), osaka});
    ASSERT_EQ(del.exitCode, 0) << qPrintable(del.err);

    // A clock that missed the close request comes up on its own within this wait.
    const bool runsOn = waitFor([&] { return clocks.track(osaka) > 0; }, 3000);
    EXPECT_FALSE(runsOn) << "the deleted clock still runs";
    if (runsOn) {
        clocks.channel.close(osaka, 5000);
        waitFor([&] { return processGone(clocks.pids.value(osaka)); });
    }
    Store store(home);
    EXPECT_FALSE(store.keyExists(osaka));
    EXPECT_FALSE(QFile::exists(Autorun::entryFilePath(autostart, osaka)));
    EXPECT_EQ(cli({QStringLiteral("--list")}).out, QStringLiteral("Default -- Stopped\n"));
}

TEST(SeveralClocks, AFrozenClockIsNotAnsweringAndKeepsItsName) {
    test::TestHome home;
    test::PrivateDesktop desktop(800, 600);
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    Clocks clocks(home);
    const QString tokyo = QStringLiteral("Tokyo");
    ASSERT_EQ(cli({QStringLiteral("--add"), tokyo, QStringLiteral("--zone"), QStringLiteral("80")})
                  .exitCode,
              0);
    ASSERT_TRUE(waitFor([&] { return clocks.track(tokyo) > 0; }));
    const qint64 pid = clocks.pids.value(tokyo);

    // Stopped, and its queue of waiting connections filled as a script calling
    // --list in a loop fills it.
    ASSERT_EQ(::kill(pid_t(pid), SIGSTOP), 0);
    const QByteArray socketPath = QFile::encodeName(
        instanceSocketPath(instanceSocketFolder(home.roots().runtimeRoot), tokyo));
    std::vector<int> waiting;
    bool full = false;
    for (int i = 0; i < 200 && !full; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, socketPath.constData(), sizeof(addr.sun_path) - 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
            full = errno == EAGAIN;
            ::close(fd);
            continue;
        }
        waiting.push_back(fd);
    }
    const auto resume = [&] {
        for (const int fd : waiting)
            ::close(fd);
        waiting.clear();
        ::kill(pid_t(pid), SIGCONT);
    };
    if (!full)
        resume();
    ASSERT_TRUE(full) << "the clock's queue never filled";

    const ProgramResult listed = cli({QStringLiteral("--list")});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_TRUE(listed.out.contains(QStringLiteral("Tokyo -- Not answering\n")))
        << qPrintable(listed.out);
    const ProgramResult started = cli({QStringLiteral("--start"), tokyo});
    EXPECT_EQ(started.exitCode, 1);
    EXPECT_TRUE(started.err.contains(QStringLiteral("does not answer"))) << qPrintable(started.err);
    // A second process started for it directly (as a session's autostart would)
    // steps back instead of taking the clock's socket.
    ClockProcess second(QStringLiteral(OVRA_CLOCK_BIN), {tokyo});
    EXPECT_TRUE(second.endsWithin(15000));

    resume();
    // The clock answers again, under its own process.
    EXPECT_TRUE(waitFor([&] { return clocks.channel.find(tokyo, false) == pid; }));
    EXPECT_EQ(cli({QStringLiteral("--stop"), tokyo}).exitCode, 0);
    EXPECT_TRUE(waitFor([&] { return processGone(pid); }));
}
