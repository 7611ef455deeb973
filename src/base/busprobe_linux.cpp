#include "base/busprobe.h"

#include <QDeadlineTimer>
#include <QList>

#include <cerrno>
#include <climits>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace ovra {

namespace {

// Undoes the %XX escapes of a D-Bus address value.
QByteArray unescape(const QByteArray& value) {
    return QByteArray::fromPercentEncoding(value);
}

// The socket address of one "unix:" entry; false for any other kind, or one without
// a path.
bool unixAddress(const QByteArray& entry, sockaddr_un* addr, socklen_t* size) {
    if (!entry.startsWith("unix:"))
        return false;
    *addr = {};
    addr->sun_family = AF_UNIX;
    for (const QByteArray& pair : entry.mid(5).split(',')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = pair.left(eq);
        const QByteArray value = unescape(pair.mid(eq + 1));
        const bool abstract = key == "abstract";
        if ((key != "path" && !abstract) || value.isEmpty() || value.contains('\0'))
            continue;
        // An abstract name starts with a NUL in the address.
        const qsizetype offset = abstract ? 1 : 0;
        if (value.size() + offset >= qsizetype(sizeof(addr->sun_path)))
            return false;
        std::memcpy(addr->sun_path + offset, value.constData(), size_t(value.size()));
        *size = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(offset + value.size()) +
                          (abstract ? 0 : 1));
        return true;
    }
    return false;
}

bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const qint64 left = deadline.remainingTime();
        const int n = ::poll(&p, 1, int(qBound(qint64(0), left, qint64(INT_MAX))));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// One unix socket: the bus's first words are its answer to the credentials byte
// and the request for EXTERNAL authentication ("OK <guid>" or "REJECTED ...").
BusAnswer probeUnix(const sockaddr_un& addr, socklen_t size, const QDeadlineTimer& deadline) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return BusAnswer::Unknown;
    const auto done = [fd](BusAnswer answer) {
        ::close(fd);
        return answer;
    };
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), size) != 0) {
        if (errno == EAGAIN)
            return done(BusAnswer::Silent); // its queue is full: nobody takes connections
        if (errno != EINPROGRESS)
            return done(BusAnswer::Absent);
        int error = 0;
        socklen_t length = sizeof(error);
        if (!waitFor(fd, POLLOUT, deadline))
            return done(BusAnswer::Silent);
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return done(BusAnswer::Absent);
    }
    const QByteArray hello =
        QByteArray(1, '\0') + "AUTH EXTERNAL " + QByteArray::number(::getuid()).toHex() + "\r\n";
    if (::send(fd, hello.constData(), size_t(hello.size()), MSG_NOSIGNAL) != hello.size())
        return done(BusAnswer::Absent);
    QByteArray heard;
    while (!heard.contains('\n')) {
        if (!waitFor(fd, POLLIN, deadline))
            return done(BusAnswer::Silent);
        char buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return done(BusAnswer::Absent); // it hung up: libdbus fails at once too
        if (n > 0)
            heard.append(buffer, n);
    }
    return done(BusAnswer::Answers);
}

} // namespace

BusAnswer probeBus(const QByteArray& address, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    bool unknown = false;
    for (const QByteArray& entry : address.split(';')) {
        if (entry.isEmpty() || entry.startsWith("disabled:"))
            continue;
        sockaddr_un addr{};
        socklen_t size = 0;
        if (!unixAddress(entry, &addr, &size)) {
            unknown = true;
            continue;
        }
        // libdbus takes the first entry that connects, as this does.
        switch (probeUnix(addr, size, deadline)) {
        case BusAnswer::Answers:
            return BusAnswer::Answers;
        case BusAnswer::Silent:
            return BusAnswer::Silent;
        case BusAnswer::Unknown:
            unknown = true;
            break;
        case BusAnswer::Absent:
            break;
        }
    }
    return unknown ? BusAnswer::Unknown : BusAnswer::Absent;
}

QByteArray sessionBusAddress() {
    if (const QByteArray named = qgetenv("DBUS_SESSION_BUS_ADDRESS"); !named.isEmpty())
        return named;
    // Where libdbus looks when no address is named.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return runtime.startsWith('/') ? "unix:path=" + runtime + "/bus" : QByteArray();
}

QByteArray systemBusAddress() {
    if (const QByteArray named = qgetenv("DBUS_SYSTEM_BUS_ADDRESS"); !named.isEmpty())
        return named;
    return "unix:path=/var/run/dbus/system_bus_socket";
}

} // namespace ovra
