#include "settings/localsocket.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace ovra {

namespace {

// How often a caller knocks again on a listener whose queue is full.
constexpr qint64 kConnectRetryMs = 10;
// What a connection keeps for a peer that does not read its answers.
constexpr qsizetype kMaxUnsentBytes = 64 * 1024;

bool toAddress(const QString& path, sockaddr_un* addr) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.isEmpty() || bytes.contains('\0') ||
        bytes.size() >= qsizetype(sizeof(addr->sun_path)))
        return false;
    *addr = {};
    addr->sun_family = AF_UNIX;
    std::memcpy(addr->sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

// Waits until fd is ready for events or the deadline passes; false on the latter.
bool waitFor(int fd, short events, QDeadlineTimer deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const qint64 left = deadline.remainingTime();
        const int n = ::poll(&p, 1, left < 0 ? -1 : int(qMin<qint64>(left, INT_MAX)));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// Sends without waiting; the bytes sent, 0 when the socket takes no more now, -1
// when the peer is gone. No SIGPIPE: a peer that hangs up must not end the process.
qsizetype sendSome(int fd, const char* data, qsizetype size) {
    for (;;) {
        const ssize_t n = ::send(fd, data, size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0)
            return n;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        if (errno != EINTR)
            return -1;
    }
}

// Closes a descriptor and lets go of its notifiers. They may be the ones whose
// signal is being handled, so they go on the event loop, but they stop watching
// before the descriptor is closed: its number is free for the next file this
// process opens.
void closeWatched(int fd, std::initializer_list<QSocketNotifier*> notifiers) {
    for (QSocketNotifier* notifier : notifiers) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    ::close(fd);
}

} // namespace

// ---- the calling side

LocalSocket::Connect LocalSocket::connectTo(const QString& path, int timeoutMs) {
    close();
    m_failure.clear();
    const QDeadlineTimer deadline(timeoutMs);
    sockaddr_un addr{};
    if (!toAddress(path, &addr))
        return Connect::NoListener;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        m_failure = QString::fromLocal8Bit(std::strerror(errno));
        return Connect::Failed;
    }
    const auto give = [&](Connect result) {
        if (result == Connect::Connected)
            m_handle = fd;
        else
            ::close(fd);
        return result;
    };
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0)
            return give(Connect::Connected);
        switch (errno) {
        case EINTR:
            continue;
        case EISCONN: // an interrupted attempt that went through after all
            return give(Connect::Connected);
        case EAGAIN:
            // The listener's queue is full. Only a live process keeps a socket
            // listening, so it is there but stopped or hung; it may drain the queue
            // before the time is up.
            if (deadline.hasExpired())
                return give(Connect::NotAnswering);
            if (const qint64 left = deadline.remainingTime(); left >= 0 && left < kConnectRetryMs)
                std::this_thread::sleep_for(std::chrono::milliseconds(qMax<qint64>(1, left)));
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(kConnectRetryMs));
            continue;
        case EINPROGRESS:
        case EALREADY: {
            if (!waitFor(fd, POLLOUT, deadline))
                return give(Connect::NotAnswering);
            int error = 0;
            socklen_t size = sizeof(error);
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
                return give(Connect::Connected);
            return give(Connect::NoListener);
        }
        case ENOMEM:
        case ENOBUFS:
            m_failure = QString::fromLocal8Bit(std::strerror(errno));
            return give(Connect::Failed);
        default: // refused (left over by a process that is gone), missing, not a socket
            return give(Connect::NoListener);
        }
    }
}

bool LocalSocket::write(const QByteArray& data, QDeadlineTimer deadline) {
    const int fd = int(m_handle);
    if (fd < 0)
        return false;
    for (qsizetype sent = 0; sent < data.size();) {
        const qsizetype n = sendSome(fd, data.constData() + sent, data.size() - sent);
        if (n < 0 || (n == 0 && !waitFor(fd, POLLOUT, deadline)))
            return false;
        sent += n;
    }
    return true;
}

LocalSocket::Read LocalSocket::readLine(QByteArray* line, QDeadlineTimer deadline, int maxBytes) {
    const int fd = int(m_handle);
    for (;;) {
        const qsizetype end = m_received.indexOf('\n');
        if (end >= 0 && end <= maxBytes) {
            *line = m_received.left(end);
            m_received.remove(0, end + 1);
            return Read::Line;
        }
        if (end > maxBytes || m_received.size() > maxBytes)
            return Read::TooLong;
        if (fd < 0)
            return Read::Closed;
        char buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
        if (n > 0) {
            m_received.append(buffer, n);
            continue;
        }
        if (n == 0)
            return Read::Closed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return Read::Closed;
        if (!waitFor(fd, POLLIN, deadline))
            return Read::TimedOut;
    }
}

void LocalSocket::close() {
    if (m_handle >= 0)
        ::close(int(m_handle));
    m_handle = -1;
    m_received.clear();
}

// ---- one connection of the listening side

struct LocalConnection::Native {
    Native(int fd, LocalConnection* owner)
        : fd(fd), reading(new QSocketNotifier(fd, QSocketNotifier::Read, owner)),
          writing(new QSocketNotifier(fd, QSocketNotifier::Write, owner)) {
        writing->setEnabled(false);
    }
    ~Native() { closeWatched(fd, {reading, writing}); }
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    const int fd;
    QSocketNotifier* const reading;
    QSocketNotifier* const writing;
};

LocalConnection::LocalConnection(qintptr handle, QObject* parent)
    : QObject(parent), m_native(std::make_unique<Native>(int(handle), this)) {
    connect(m_native->reading, &QSocketNotifier::activated, this, &LocalConnection::onReadable);
    connect(m_native->writing, &QSocketNotifier::activated, this, &LocalConnection::onWritable);
}

LocalConnection::~LocalConnection() = default;

qintptr LocalConnection::descriptor() const {
    return m_native ? m_native->fd : -1;
}

QByteArray LocalConnection::readLine() {
    const qsizetype end = m_received.indexOf('\n');
    if (end < 0)
        return {};
    QByteArray line = m_received.left(end);
    m_received.remove(0, end + 1);
    // There is room again in the buffer.
    if (m_native && !m_closing)
        m_native->reading->setEnabled(true);
    return line;
}

void LocalConnection::onReadable() {
    if (!m_native)
        return;
    const qint64 room = m_readLimit - m_received.size();
    if (room <= 0) {
        m_native->reading->setEnabled(false);
        return;
    }
    char buffer[4096];
    ssize_t n;
    do
        n = ::recv(m_native->fd, buffer, size_t(qMin<qint64>(room, sizeof(buffer))), 0);
    while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return;
    if (n <= 0) {
        closeNow();
        return;
    }
    m_received.append(buffer, n);
    if (m_received.size() >= m_readLimit)
        m_native->reading->setEnabled(false);
    emit readyRead();
}

bool LocalConnection::sendQueued() {
    while (m_native && !m_unsent.isEmpty()) {
        const qsizetype n = sendSome(m_native->fd, m_unsent.constData(), m_unsent.size());
        if (n < 0) {
            closeNow();
            return false;
        }
        if (n == 0)
            break;
        m_unsent.remove(0, n);
    }
    if (!m_native)
        return false;
    m_native->writing->setEnabled(!m_unsent.isEmpty());
    if (m_unsent.isEmpty() && m_closing)
        closeNow();
    return true;
}

void LocalConnection::onWritable() {
    sendQueued();
}

void LocalConnection::write(const QByteArray& data) {
    if (!m_native || m_closing)
        return;
    m_unsent += data;
    if (m_unsent.size() > kMaxUnsentBytes) {
        abort();
        return;
    }
    sendQueued();
}

bool LocalConnection::waitForBytesWritten(int timeoutMs) {
    if (!m_native)
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const int fd = m_native->fd;
        if (!sendQueued())
            return false;
        if (m_unsent.isEmpty())
            return true;
        if (!waitFor(fd, POLLOUT, deadline))
            return false;
    }
}

void LocalConnection::disconnectFromPeer() {
    if (!m_native)
        return;
    m_closing = true;
    m_native->reading->setEnabled(false);
    sendQueued();
}

void LocalConnection::abort() {
    m_unsent.clear();
    m_received.clear();
    closeNow();
}

void LocalConnection::closeNow() {
    if (!m_native)
        return;
    m_native.reset();
    m_unsent.clear();
    m_closing = false;
    emit disconnected();
}

// ---- the listening side

struct LocalServer::Native {
    Native(int fd, QByteArray path, const struct stat& st, LocalServer* owner)
        : fd(fd), path(std::move(path)), device(st.st_dev), inode(st.st_ino),
          pending(new QSocketNotifier(fd, QSocketNotifier::Read, owner)) {}
    ~Native() { closeWatched(fd, {pending}); }
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    const int fd;
    const QByteArray path;
    // Which file at the path is this server's, so closing removes no other's.
    const dev_t device;
    const ino_t inode;
    QSocketNotifier* const pending;
    bool retryArmed = false;
};

LocalServer::LocalServer(QObject* parent) : QObject(parent) {}

LocalServer::~LocalServer() {
    close();
}

bool LocalServer::listen(const QString& path, int backlog, QString* problem) {
    close();
    const auto fail = [&](int error, int fd) {
        if (problem)
            *problem = QString::fromLocal8Bit(std::strerror(error));
        if (fd >= 0)
            ::close(fd);
        return false;
    };
    sockaddr_un addr{};
    if (!toAddress(path, &addr))
        return fail(ENAMETOOLONG, -1);
    const QByteArray name(addr.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return fail(errno, -1);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0)
        return fail(errno, fd);
    // Closed to other users before anything can connect, whatever the folder allows.
    struct stat st {};
    if (::chmod(name.constData(), 0600) != 0 || ::lstat(name.constData(), &st) != 0 ||
        ::listen(fd, backlog) != 0) {
        const int error = errno;
        ::unlink(name.constData());
        return fail(error, fd);
    }
    m_native = std::make_unique<Native>(fd, name, st, this);
    connect(m_native->pending, &QSocketNotifier::activated, this, &LocalServer::onPending);
    return true;
}

void LocalServer::close() {
    if (!m_native)
        return;
    // Removed before the socket closes: whoever looks finds a live listener or none.
    struct stat st {};
    if (::lstat(m_native->path.constData(), &st) == 0 && st.st_dev == m_native->device &&
        st.st_ino == m_native->inode)
        ::unlink(m_native->path.constData());
    m_native.reset();
}

bool LocalServer::remove(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    return !name.isEmpty() && (::unlink(name.constData()) == 0 || errno == ENOENT);
}

void LocalServer::onPending() {
    // The queue stays readable until it is taken from; the notifier would fire on
    // every pass of the event loop while nobody takes it.
    m_native->pending->setEnabled(false);
    emit newConnection();
}

LocalConnection* LocalServer::nextPendingConnection() {
    if (!m_native)
        return nullptr;
    for (;;) {
        const int fd = ::accept4(m_native->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            m_native->pending->setEnabled(true);
            return new LocalConnection(fd, this);
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            m_native->pending->setEnabled(true);
            return nullptr;
        }
        // Out of descriptors or memory: the queue stays readable, so listening again
        // at once would spin. Callers wait in the queue meanwhile.
        if (!m_native->retryArmed) {
            m_native->retryArmed = true;
            QTimer::singleShot(100, this, [this] {
                if (!m_native)
                    return;
                m_native->retryArmed = false;
                m_native->pending->setEnabled(true);
            });
        }
        return nullptr;
    }
}

} // namespace ovra
