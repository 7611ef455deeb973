// The local sockets under the clocks' channel, against raw sockets that play the
// listeners a caller can meet: none, one stuck, one that talks slowly.
#include "settings/localsocket.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ovra;
using namespace std::chrono_literals;

namespace {

sockaddr_un addressOf(const QString& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(addr.sun_path, bytes.constData(), size_t(bytes.size()));
    return addr;
}

// A listener of the test's own with the smallest queue, and a peer thread of it.
struct RawListener {
    explicit RawListener(const QString& path) {
        const sockaddr_un addr = addressOf(path);
        EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)), 0);
        EXPECT_EQ(::listen(fd, 0), 0);
    }
    ~RawListener() {
        if (peer.joinable())
            peer.join();
        ::close(fd);
    }
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    std::thread peer;
};

} // namespace

TEST(LocalSocket, ConnectTellsAMissingListenerFromOneThatDoesNotAnswer) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s"));
    EXPECT_EQ(LocalSocket().connectTo(path, 400), LocalSocket::Connect::NoListener);

    // Stopped, with its queue full of callers.
    RawListener listener(path);
    std::vector<std::unique_ptr<LocalSocket>> waiting;
    while (waiting.size() < 64) {
        waiting.push_back(std::make_unique<LocalSocket>());
        if (waiting.back()->connectTo(path, 0) != LocalSocket::Connect::Connected)
            break;
    }
    ASSERT_LT(waiting.size(), 64u) << "the queue never filled";
    QElapsedTimer took;
    took.start();
    EXPECT_EQ(LocalSocket().connectTo(path, 400), LocalSocket::Connect::NotAnswering);
    EXPECT_GE(took.elapsed(), 350) << "gave up before the time was up";
    EXPECT_LT(took.elapsed(), 1000);

    // Taking a caller off the queue in time lets the next one in.
    listener.peer = std::thread([&] {
        std::this_thread::sleep_for(100ms);
        ::close(::accept(listener.fd, nullptr, nullptr));
    });
    EXPECT_EQ(LocalSocket().connectTo(path, 400), LocalSocket::Connect::Connected);
}

TEST(LocalSocket, ALineIsReadWholeWithinItsLength) {
    const struct {
        const char* what;
        std::vector<std::string> writes;
        LocalSocket::Read expected;
        QByteArray line;
    } cases[] = {
        {"split over several writes", {"an", "sw", "er\nnext"}, LocalSocket::Read::Line, "answer"},
        {"longer than allowed", {std::string(100, 'x')}, LocalSocket::Read::TooLong, ""},
        {"the peer hangs up mid-line", {"answ"}, LocalSocket::Read::Closed, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s"));
        RawListener listener(path);
        LocalSocket socket;
        ASSERT_EQ(socket.connectTo(path, 400), LocalSocket::Connect::Connected);
        // The peer hangs up after its last write.
        listener.peer = std::thread([&] {
            const int peer = ::accept(listener.fd, nullptr, nullptr);
            for (const std::string& w : c.writes) {
                std::this_thread::sleep_for(30ms);
                EXPECT_EQ(::write(peer, w.data(), w.size()), ssize_t(w.size()));
            }
            ::close(peer);
        });
        QByteArray line;
        EXPECT_EQ(socket.readLine(&line, QDeadlineTimer(1000), 64), c.expected);
        EXPECT_EQ(line, c.line);
    }
}

TEST(LocalServer, ItsSocketIsItsAloneAndGoesWithIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s"));
    LocalServer server;
    QString problem;
    ASSERT_TRUE(server.listen(path, 4, &problem)) << qPrintable(problem);
    // A second listener at the path is refused and leaves the first one in place.
    EXPECT_FALSE(LocalServer().listen(path, 4, &problem));
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_EQ(LocalSocket().connectTo(path, 400), LocalSocket::Connect::Connected);
    server.close();
    EXPECT_FALSE(QFileInfo::exists(path));

    // What another process put at the path since is not this server's to remove.
    ASSERT_TRUE(server.listen(path, 4));
    ASSERT_TRUE(LocalServer::remove(path));
    const RawListener other(path);
    server.close();
    EXPECT_TRUE(QFileInfo::exists(path));
}
