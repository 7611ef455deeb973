#include "support/fakesocket.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace ovra::test {

FakeSocketServer::FakeSocketServer(const QByteArray& path, Manner manner, QByteArray greeting) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const bool abstract = path.startsWith('@');
    const QByteArray name = abstract ? path.mid(1) : path;
    if (size_t(name.size()) + 1 >= sizeof(addr.sun_path))
        return;
    std::memcpy(addr.sun_path + (abstract ? 1 : 0), name.constData(), size_t(name.size()));
    const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()) + 1);
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return;
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), size) != 0 || ::listen(m_fd, 64) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    if (manner == Manner::Silent)
        return;
    m_server = std::thread([fd = m_fd, manner, greeting = std::move(greeting)] {
        for (;;) {
            const int caller = ::accept(fd, nullptr, nullptr);
            if (caller < 0) {
                if (errno == EINTR)
                    continue;
                return; // shut down
            }
            if (manner == Manner::Greeting) {
                char said[256];
                if (::read(caller, said, sizeof(said)) > 0) [[maybe_unused]]
                    const ssize_t sent =
                        ::write(caller, greeting.constData(), size_t(greeting.size()));
                ::close(caller);
                return;
            }
            ::close(caller);
        }
    });
}

FakeSocketServer::~FakeSocketServer() {
    if (m_fd < 0)
        return;
    ::shutdown(m_fd, SHUT_RDWR);
    if (m_server.joinable())
        m_server.join();
    ::close(m_fd);
}

} // namespace ovra::test
