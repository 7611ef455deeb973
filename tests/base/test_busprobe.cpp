// A bus is tried with a bound before the clock lets a library wait on it.
#include "base/busprobe.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace ovra;

namespace {

// A listening socket at path (a leading "@" makes it abstract) that says greeting
// to each caller, or nothing at all when greeting is empty.
class FakeBus {
public:
    FakeBus(const QByteArray& path, QByteArray greeting) : m_greeting(std::move(greeting)) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const bool abstract = path.startsWith('@');
        const QByteArray name = abstract ? path.mid(1) : path;
        std::memcpy(addr.sun_path + (abstract ? 1 : 0), name.constData(), size_t(name.size()));
        const socklen_t size = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()) + 1);
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), size) != 0 || ::listen(m_fd, 8) != 0)
            return;
        m_ok = true;
        if (m_greeting.isEmpty())
            return;
        m_server = std::thread([this] {
            const int peer = ::accept(m_fd, nullptr, nullptr);
            if (peer < 0)
                return;
            char buffer[256];
            if (::read(peer, buffer, sizeof(buffer)) > 0) [[maybe_unused]]
                const ssize_t sent =
                    ::write(peer, m_greeting.constData(), size_t(m_greeting.size()));
            ::close(peer);
        });
    }
    ~FakeBus() {
        ::shutdown(m_fd, SHUT_RDWR);
        ::close(m_fd);
        if (m_server.joinable())
            m_server.join();
    }
    bool ok() const { return m_ok; }

private:
    QByteArray m_greeting;
    int m_fd = -1;
    bool m_ok = false;
    std::thread m_server;
};

} // namespace

TEST(BusProbe, TellsABusThatAnswersFromOneThatKeepsSilent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray abstract = "ovra-probe-" + QByteArray::number(::getpid());
    const struct {
        const char* what;
        QByteArray listenAt; // empty: nothing listens
        QByteArray greeting; // empty: never a word
        QByteArray address;
        BusAnswer expected;
    } cases[] = {
        {"a bus that takes the handshake", folder + "/ok", "OK 0123456789abcdef\r\n",
         "unix:path=" + folder + "/ok", BusAnswer::Answers},
        {"a bus that refuses the mechanism", folder + "/rejected", "REJECTED DBUS_COOKIE_SHA1\r\n",
         "unix:path=" + folder + "/rejected,guid=0", BusAnswer::Answers},
        {"an abstract bus", "@" + abstract, "OK 1\r\n", "unix:abstract=" + abstract,
         BusAnswer::Answers},
        {"a bus that never answers", folder + "/silent", "", "unix:path=" + folder + "/silent",
         BusAnswer::Silent},
        {"the silent one after a missing one", folder + "/silent2", "",
         "unix:path=" + folder + "/none;unix:path=" + folder + "/silent2", BusAnswer::Silent},
        {"an escaped path", folder + "/with space", "OK 1\r\n",
         "unix:path=" + folder + "/with%20space", BusAnswer::Answers},
        {"nothing there", "", "", "unix:path=" + folder + "/none", BusAnswer::Absent},
        {"a bus turned off", "", "", "disabled:", BusAnswer::Absent},
        {"a kind that cannot be tried", "", "", "tcp:host=localhost,port=1", BusAnswer::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<FakeBus> bus;
        if (!c.listenAt.isEmpty()) {
            bus = std::make_unique<FakeBus>(c.listenAt, c.greeting);
            ASSERT_TRUE(bus->ok());
        }
        EXPECT_EQ(probeBus(c.address, 300), c.expected);
    }
}
