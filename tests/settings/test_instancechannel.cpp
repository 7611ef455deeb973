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

#include <gtest/gtest.h>

#include <atomic>
#include <future>

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
};

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
    InstanceServer server(c.socket(QStringLiteral("Tokyo")));
    ASSERT_EQ(server.claim(), InstanceServer::Claim::Listening);
    int raised = 0;
    server.serve({.raise = [&] { ++raised; },
                  .close =
                      [] {
                      }});

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

TEST(InstanceChannel, CloseIsAnsweredOnlyAfterTheShutdownFinished) {
    Channel c;
    InstanceServer server(c.socket(QStringLiteral("Tokyo")));
    ASSERT_EQ(server.claim(), InstanceServer::Claim::Listening);
    std::atomic<bool> shutdownDone = false;
    server.serve({.raise = [] {},
                  .close =
                      [&] {
                          QThread::msleep(300); // storing the settings
                          shutdownDone = true;
                      }});
    const auto [outcome, doneWhenAnswered] = whileServing([&] {
        const CloseOutcome o = c.client.close(QStringLiteral("Tokyo"), 5000);
        return std::pair{o, shutdownDone.load()};
    });
    EXPECT_EQ(outcome, CloseOutcome::Closed);
    EXPECT_TRUE(doneWhenAnswered);
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
