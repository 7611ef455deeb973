// The channel between clock processes, over real local sockets. The server side
// answers on this thread's event loop while the calls run on a second thread, the
// way two clock processes meet.
#include "settings/instancepaths.h"
#include "settings/instanceserver.h"
#include "settings/localinstancechannel.h"
#include "settings/privatesocket.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <tuple>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ovra;
using namespace std::chrono_literals;

namespace {

// Runs fn on another thread while this one keeps answering requests.
template <typename Fn> auto whileServing(Fn fn) {
    auto result = std::async(std::launch::async, fn);
    while (result.wait_for(0ms) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return result.get();
}

struct Channel {
    test::TestHome home;
    QString folder = instanceSocketFolder(home.roots().runtimeRoot);
    LocalInstanceChannel client{folder};

    QString socket(const QString& name) const { return instanceSocketPath(folder, name); }
    // A clock of that name that answers, counting its raises in raised.
    std::unique_ptr<InstanceServer> serving(const QString& name, int& raised) const {
        auto server = std::make_unique<InstanceServer>(socket(name));
        EXPECT_EQ(server->claim(), InstanceServer::Claim::Listening);
        server->serve({.raise = [&raised] { ++raised; },
                       .settings = {},
                       .close =
                           [] {
                           }});
        return server;
    }
};

int connectRaw(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    return fd;
}

void say(int fd, const std::string& text) {
    ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

// Sends piece over and over until the clock cuts the connection off, or keeps it
// open without taking more for a second.
std::string flood(int fd, const std::string& piece) {
    for (int i = 0; i < 4096; ++i) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 1000) != 1)
            return "kept open";
        if (::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 &&
            errno != EAGAIN)
            return "cut off";
    }
    return "kept open";
}

// What the clock says until it closes the connection.
std::string readUntilClosed(int fd, int patienceMs = 1000) {
    std::string heard;
    char buffer[256];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, patienceMs) != 1)
            return heard + "(kept open)";
        const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
        if (n <= 0)
            return heard;
        heard.append(buffer, size_t(n));
    }
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

} // namespace

TEST(InstanceChannel, SocketPathsStayShortPrivateAndDistinct) {
    Channel c;
    EXPECT_EQ(c.socket(QStringLiteral("Tokyo")), c.socket(QStringLiteral("Tokyo")));
    EXPECT_NE(c.socket(QStringLiteral("Tokyo")), c.socket(QStringLiteral("tokyo")));
    EXPECT_TRUE(c.socket(QString(200, u'n')).startsWith(c.folder));
    EXPECT_LE(QFile::encodeName(c.socket(QString(200, u'n'))).size(), kMaxSocketPathBytes);
    // A runtime folder too deep for socket paths falls back to a private folder of
    // its own elsewhere.
    const QString deep = c.home.path() + u'/' + QString(120, u'd');
    const QString folder = instanceSocketFolder(deep);
    EXPECT_LE(QFile::encodeName(instanceSocketPath(folder, QStringLiteral("Tokyo"))).size(),
              kMaxSocketPathBytes);
    EXPECT_NE(folder, instanceSocketFolder(deep + QStringLiteral("2")));
}

TEST(InstanceChannel, FindsAndRaisesARunningClock) {
    Channel c;
    int raised = 0;
    const auto server = c.serving(QStringLiteral("Tokyo"), raised);

    EXPECT_EQ(whileServing([&] { return c.client.find(QStringLiteral("Tokyo"), false); }),
              qint64(::getpid()));
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(whileServing([&] { return c.client.find(QStringLiteral("Tokyo"), true); }),
              qint64(::getpid()));
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(whileServing([&] { return c.client.find(QStringLiteral("Osaka"), true); }), 0);
    EXPECT_EQ(whileServing([&] { return c.client.close(QStringLiteral("Osaka"), 1000); }),
              CloseOutcome::NotRunning);
}

// A clock answers a close once its settings are stored and ends a moment later; the
// caller returns only when the name is free, so a start or a look right after does
// not find the clock that is going.
TEST(InstanceChannel, CloseReturnsOnceTheClockIsDoneAndItsNameIsFree) {
    Channel c;
    auto server = std::make_unique<InstanceServer>(c.socket(QStringLiteral("Tokyo")));
    ASSERT_EQ(server->claim(), InstanceServer::Claim::Listening);
    std::atomic<bool> shutdownDone = false;
    server->serve({.raise = [] {},
                   .settings = {},
                   .close =
                       [&] {
                           QThread::msleep(300); // storing the settings
                           shutdownDone = true;
                           QTimer::singleShot(300, [&] { server.reset(); });
                       }});
    const auto [outcome, doneWhenAnswered, found] = whileServing([&] {
        const CloseOutcome o = c.client.close(QStringLiteral("Tokyo"), 5000);
        return std::tuple{o, shutdownDone.load(), c.client.find(QStringLiteral("Tokyo"), false)};
    });
    EXPECT_EQ(outcome, CloseOutcome::Closed);
    EXPECT_TRUE(doneWhenAnswered);
    EXPECT_EQ(found, 0) << "the closed clock was still found";

    // One that answers but never ends is not reported closed.
    int raised = 0;
    const auto lingering = c.serving(QStringLiteral("Osaka"), raised);
    EXPECT_EQ(whileServing([&] { return c.client.close(QStringLiteral("Osaka"), 500); }),
              CloseOutcome::TimedOut);
}

TEST(InstanceChannel, AHungClockDoesNotHangTheCaller) {
    Channel c;
    InstanceServer server(c.socket(QStringLiteral("Tokyo")));
    ASSERT_EQ(server.claim(), InstanceServer::Claim::Listening);
    // Claimed but never answering, like a clock stuck before its event loop runs.
    auto outcome = std::async(std::launch::async,
                              [&] { return c.client.close(QStringLiteral("Tokyo"), 300); });
    EXPECT_EQ(outcome.get(), CloseOutcome::TimedOut);
}

TEST(InstanceChannel, ASecondStartOfARunningClockLeavesTheFirstReachable) {
    Channel c;
    InstanceServer first(c.socket(QStringLiteral("Tokyo")));
    ASSERT_EQ(first.claim(), InstanceServer::Claim::Listening);
    int firstRaised = 0;
    first.serve({.raise = [&] { ++firstRaised; },
                 .settings = {},
                 .close =
                     [] {
                     }});
    {
        InstanceServer second(c.socket(QStringLiteral("Tokyo")));
        EXPECT_EQ(whileServing([&] { return second.claim(); }),
                  InstanceServer::Claim::AlreadyRunning);
    }
    whileServing([&] { return c.client.find(QStringLiteral("Tokyo"), true); });
    EXPECT_EQ(firstRaised, 1);
}

// A clock opens its settings on request, says so only once they are open, and is
// told apart from one still starting and from one of an earlier version.
TEST(InstanceChannel, SettingsOpenOnRequestAndAnOlderClockIsToldApart) {
    Channel c;
    for (const bool ready : {true, false}) {
        SCOPED_TRACE(ready ? "clock up" : "clock still starting");
        InstanceServer server(c.socket(QStringLiteral("Tokyo")));
        ASSERT_EQ(server.claim(), InstanceServer::Claim::Listening);
        int shown = 0;
        server.serve({.raise = [] {},
                      .settings =
                          [&] {
                              shown += ready;
                              return ready;
                          },
                      .close =
                          [] {
                          }});
        EXPECT_EQ(whileServing([&] { return c.client.showSettings(QStringLiteral("Tokyo")); }),
                  ready ? SettingsOutcome::Shown : SettingsOutcome::NotAnswering);
        EXPECT_EQ(shown, ready ? 1 : 0);
    }
    EXPECT_EQ(c.client.showSettings(QStringLiteral("Osaka")), SettingsOutcome::NotRunning);

    // An earlier version answers what it does not know with an error and hangs up.
    const QByteArray path = QFile::encodeName(c.socket(QStringLiteral("Kyoto")));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    auto olderClock = std::async(std::launch::async, [listener] {
        const int fd = ::accept(listener, nullptr, nullptr);
        std::string heard;
        char ch = 0;
        while (::recv(fd, &ch, 1, 0) == 1 && ch != '\n')
            heard += ch;
        say(fd, "error\n");
        ::close(fd);
        return heard;
    });
    EXPECT_EQ(c.client.showSettings(QStringLiteral("Kyoto")), SettingsOutcome::NotUnderstood);
    EXPECT_EQ(olderClock.get(), "settings");
    ::close(listener);
}

TEST(InstanceChannel, OnlyThisUserCanReachTheClocks) {
    Channel c;
    // A folder that others could enter is narrowed before the socket goes in.
    QDir().mkpath(c.folder);
    ::chmod(QFile::encodeName(c.folder).constData(), 0755);
    InstanceServer server(c.socket(QStringLiteral("Tokyo")));
    ASSERT_EQ(server.claim(), InstanceServer::Claim::Listening);
    EXPECT_EQ(modeOf(c.folder), 0700u);
    EXPECT_EQ(modeOf(c.socket(QStringLiteral("Tokyo"))) & 077, 0u);

    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    // Another user cannot even connect.
    const QByteArray path = QFile::encodeName(c.socket(QStringLiteral("Tokyo")));
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        ::_exit(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "another user reached the clock's socket";

    // A folder that belongs to someone else is not used at all.
    InstanceServer stranger(c.socket(QStringLiteral("Osaka")));
    ASSERT_EQ(::chown(QFile::encodeName(c.folder).constData(), 65534, 65534), 0);
    QString problem;
    EXPECT_EQ(stranger.claim(&problem), InstanceServer::Claim::Failed);
    EXPECT_TRUE(problem.contains(QStringLiteral("belongs to another user"))) << qPrintable(problem);
    EXPECT_EQ(::chown(QFile::encodeName(c.folder).constData(), 0, 0), 0);
}

TEST(InstanceChannel, TheClockOutlastsCallersThatMisbehave) {
    Channel c;
    int raised = 0;
    const auto server = c.serving(QStringLiteral("Tokyo"), raised);
    // Each caller does its part and still holds its connection while a well-behaved
    // one raises the clock.
    const struct {
        const char* what;
        std::function<std::string(int)> call;
        std::string heard;
    } cases[] = {
        {"connects and says nothing", [](int) { return std::string(); }, ""},
        {"hangs up mid-line",
         [](int fd) {
             say(fd, "rai");
             ::shutdown(fd, SHUT_WR);
             return readUntilClosed(fd);
         },
         ""},
        {"splits its request over several writes",
         [](int fd) {
             say(fd, "pi");
             QThread::msleep(30);
             say(fd, "ng\n");
             ::shutdown(fd, SHUT_WR);
             return readUntilClosed(fd);
         },
         "ok\n"},
        // Read only as far as the longest request, it would pass for one.
        {"pads a request beyond the longest line",
         [](int fd) {
             std::string padded(105, ' ');
             padded.replace(0, 4, "ping");
             padded.back() = '\n';
             say(fd, padded);
             return readUntilClosed(fd);
         },
         ""},
        {"asks and hangs up before the answer",
         [](int fd) {
             say(fd, "ping\n");
             ::shutdown(fd, SHUT_RDWR);
             QThread::msleep(50);
             return std::string();
         },
         ""},
        {"floods garbage without line ends",
         [](int fd) { return flood(fd, std::string(4096, 'g')); }, "cut off"},
        {"asks without ever reading the answers",
         [](int fd) {
             std::string pings;
             for (int i = 0; i < 1000; ++i)
                 pings += "ping\n";
             return flood(fd, pings);
         },
         "cut off"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        const int before = raised;
        const auto [heard, found] = whileServing([&] {
            const int fd = connectRaw(c.socket(QStringLiteral("Tokyo")));
            const std::string heard = k.call(fd);
            const qint64 found = c.client.find(QStringLiteral("Tokyo"), true);
            ::close(fd);
            return std::pair{heard, found};
        });
        EXPECT_EQ(heard, k.heard);
        EXPECT_EQ(found, qint64(::getpid()));
        EXPECT_EQ(raised, before + 1);
    }
}

// A caller that connects and never speaks would hold one of the clock's
// descriptors for as long as it likes.
TEST(InstanceChannel, ACallerThatSaysNothingIsCutOff) {
    Channel c;
    int raised = 0;
    const auto server = c.serving(QStringLiteral("Tokyo"), raised);
    server->setIdleTimeout(50);
    const std::string heard = whileServing([&] {
        const int fd = connectRaw(c.socket(QStringLiteral("Tokyo")));
        // Patient enough for the busiest machine; the clock hangs up long before.
        const std::string heard = readUntilClosed(fd, 60000);
        ::close(fd);
        return heard;
    });
    EXPECT_EQ(heard, "");
}

// Paths from a long temporary folder, with no runtime folder or one too deep for
// sockets, take the next folder whose sockets fit, and the clock is found there.
TEST(InstanceChannel, EveryFolderIsCheckedForTheLengthOfItsSockets) {
    for (const bool deepRuntime : {false, true}) {
        SCOPED_TRACE(deepRuntime);
        test::TestHome home;
        const QString longTemp = home.path() + u'/' + QString(100, u't');
        ASSERT_TRUE(QDir().mkpath(longTemp));
        qputenv("TMPDIR", QFile::encodeName(longTemp));
        const QString runtime = deepRuntime ? home.path() + u'/' + QString(120, u'd') : QString();
        const QString folder = instanceSocketFolder(runtime);
        const QString socket = instanceSocketPath(folder, QStringLiteral("Tokyo"));
        EXPECT_LE(QFile::encodeName(socket).size(), kMaxSocketPathBytes) << qPrintable(socket);
        InstanceServer server(socket);
        QString problem;
        ASSERT_EQ(server.claim(&problem), InstanceServer::Claim::Listening) << qPrintable(problem);
        EXPECT_EQ(LocalInstanceChannel(instanceSocketFolder(runtime))
                      .find(QStringLiteral("Tokyo"), false),
                  qint64(::getpid()));
    }
}

// A clock holds its name beside the store and notes its socket there: the note and
// the lock are this user's alone, and a look from a shell with another socket folder
// finds the clock through them. A clock of the earlier version, which holds its name
// beside its socket, is still found where that shell's socket folder is, and a start
// of the same name there steps back.
TEST(InstanceChannel, ClocksMeetThroughTheNameFolderAndEarlierOnesStillCount) {
    test::TestHome home;
    const InstancePlaces places = instancePlaces(home.roots(), SocketFolderFor::Listening);
    const QString tokyo = QStringLiteral("Tokyo");
    {
        InstanceServer server(places, tokyo);
        ASSERT_EQ(server.claim(), InstanceServer::Claim::Listening);
        EXPECT_EQ(modeOf(places.nameFolder), 0700u);
        EXPECT_EQ(modeOf(instanceNameLockPath(places.nameFolder, tokyo)), 0600u);
        EXPECT_EQ(modeOf(instanceSocketNotePath(places.nameFolder, tokyo)), 0600u);
        EXPECT_EQ(notedSocket(instanceSocketNotePath(places.nameFolder, tokyo)),
                  instanceSocketPath(places.socketFolder, tokyo));
        // A shell whose socket folder is elsewhere.
        const QString elsewhere = home.path() + QStringLiteral("/elsewhere/");
        ASSERT_TRUE(QDir().mkpath(elsewhere));
        EXPECT_EQ(LocalInstanceChannel(elsewhere, places.nameFolder).find(tokyo, false),
                  qint64(::getpid()));
    }
    EXPECT_FALSE(QFile::exists(instanceSocketNotePath(places.nameFolder, tokyo)));
    EXPECT_EQ(LocalInstanceChannel(places).find(tokyo, false), 0);

    InstanceServer earlier(instanceSocketPath(places.socketFolder, tokyo));
    ASSERT_EQ(earlier.claim(), InstanceServer::Claim::Listening);
    EXPECT_EQ(LocalInstanceChannel(places).find(tokyo, false), qint64(::getpid()));
    InstanceServer now(places, tokyo);
    EXPECT_EQ(now.claim(), InstanceServer::Claim::AlreadyRunning);
}

// Where no socket folder is usable (each is open to others, or not a folder), a
// clock that listens makes a new private one and is found through its note.
TEST(InstanceChannel, WithNoUsableSocketFolderAClockMakesItsOwn) {
    test::TestHome home;
    // A runtime folder too deep for sockets gives the temporary folders a name of
    // this test's own, so the one it spoils in /tmp is nobody else's.
    const QString deep = home.path() + u'/' + QString(120, u'd');
    QStringList spoiled;
    for (const QString& temp : {home.path() + QStringLiteral("/tmp"), QStringLiteral("/tmp")}) {
        qputenv("TMPDIR", QFile::encodeName(temp));
        const QString folder = instanceSocketFolder(deep);
        ASSERT_TRUE(folder.startsWith(temp + u'/')) << qPrintable(folder);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
        spoiled << folder;
    }
    qputenv("TMPDIR", QFile::encodeName(home.path() + QStringLiteral("/tmp")));
    const QString notAFolder = home.path() + QStringLiteral("/cache-file");
    QFile(notAFolder).open(QIODevice::WriteOnly);
    qputenv("XDG_CACHE_HOME", QFile::encodeName(notAFolder));
    PathRoots roots = home.roots();
    roots.runtimeRoot = deep;

    const InstancePlaces places = instancePlaces(roots, SocketFolderFor::Listening);
    EXPECT_FALSE(spoiled.contains(places.socketFolder)) << qPrintable(places.socketFolder);
    EXPECT_EQ(modeOf(places.socketFolder), 0700u);
    InstanceServer server(places, QStringLiteral("Tokyo"));
    QString problem;
    EXPECT_EQ(server.claim(&problem), InstanceServer::Claim::Listening) << qPrintable(problem);
    EXPECT_EQ(LocalInstanceChannel(instancePlaces(roots, SocketFolderFor::Looking))
                  .find(QStringLiteral("Tokyo"), false),
              qint64(::getpid()));
    for (const QString& folder : spoiled)
        QDir().rmdir(folder);
    QDir(places.socketFolder).removeRecursively();
}
