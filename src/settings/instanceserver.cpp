#include "settings/instanceserver.h"

#include "settings/instanceprotocol.h"
#include "settings/privatesocket.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>

namespace ovra {

namespace proto = instanceprotocol;

namespace {
// Whether a live process of this user listens at the path. One that does not take
// the connection in time (stopped, or its queue is full) is alive all the same.
bool liveClockListens(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    if (!probe.waitForConnected(proto::ConnectTimeoutMs))
        return probe.state() == QLocalSocket::ConnectingState ||
               probe.error() == QLocalSocket::SocketTimeoutError;
    return peerIsSameUser(probe.socketDescriptor());
}

void reply(QLocalSocket* socket, const QByteArray& line) {
    socket->write(line + '\n');
    socket->flush();
}
} // namespace

InstanceServer::InstanceServer(QString socketPath, QObject* parent)
    : QObject(parent), m_path(std::move(socketPath)) {}

InstanceServer::~InstanceServer() {
    m_server.close();
    // The socket goes before the name is released, so whoever takes the name next
    // finds nothing of this process.
    m_lock.reset();
}

InstanceServer::Claim InstanceServer::claim(QString* problem) {
    auto failed = [&](const QString& why) {
        if (problem)
            *problem = why;
        return Claim::Failed;
    };
    if (!ensurePrivateFolder(QFileInfo(m_path).absolutePath(), problem))
        return Claim::Failed;

    // The lock names the clock's process for as long as it runs. Two processes
    // starting the same clock at once cannot both decide that the socket is stale,
    // and a clock that has stopped answering is not taken for gone. A lock left by a
    // process that died is recognised by its process id and taken over.
    auto lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError)
            return failed(QCoreApplication::translate("Settings",
                                                      "The clock's channel cannot be locked (%1).")
                              .arg(lock->fileName()));
        // The process id in a lock can have been reused since its clock died. A
        // clock listens as soon as it holds the lock; when nothing listens and no
        // process holds the file itself, the lock is left over.
        if (liveClockListens(m_path) || !lock->removeStaleLockFile() || !lock->tryLock(0))
            return Claim::AlreadyRunning;
    }
    // A clock of an earlier version holds no lock while it runs.
    if (liveClockListens(m_path))
        return Claim::AlreadyRunning;
    // Whatever is left is the socket of a process that is gone. The folder is
    // private already; listening without socket options also keeps Qt from moving
    // a fresh socket over a path another process may still answer on.
    QLocalServer::removeServer(m_path);
    m_server.setSocketOptions(QLocalServer::NoOptions);
    if (!m_server.listen(m_path))
        return failed(
            QCoreApplication::translate("Settings", "The clock's channel %1 cannot be opened: %2")
                .arg(m_path, m_server.errorString()));
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_lock = std::move(lock);
    return Claim::Listening;
}

void InstanceServer::serve(Handlers handlers) {
    m_handlers = std::move(handlers);
    if (!m_serving) {
        m_serving = true;
        connect(&m_server, &QLocalServer::newConnection, this, &InstanceServer::acceptPending);
    }
    acceptPending();
}

void InstanceServer::acceptPending() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (!peerIsSameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { handle(socket); });
        if (socket->bytesAvailable() > 0)
            handle(socket);
    }
}

void InstanceServer::handle(QLocalSocket* socket) {
    // A handler may run an event loop; a request that arrives meanwhile is taken
    // up once the handler has returned.
    if (m_busy) {
        QTimer::singleShot(10, this, [this, guard = QPointer<QLocalSocket>(socket)] {
            if (guard)
                handle(guard);
        });
        return;
    }
    QPointer<QLocalSocket> guard(socket);
    while (guard && guard->canReadLine()) {
        const QByteArray line = guard->readLine(proto::MaxLineBytes + 1).trimmed();
        if (line == proto::Ping) {
            reply(guard, proto::Ok);
        } else if (line == proto::Raise) {
            m_busy = true;
            if (m_handlers.raise)
                m_handlers.raise();
            m_busy = false;
            if (guard)
                reply(guard, proto::Ok);
        } else if (line == proto::Close) {
            m_busy = true;
            if (m_handlers.close)
                m_handlers.close();
            m_busy = false;
            // The process ends as soon as the event loop sees the window gone: the
            // answer must be out before that.
            if (guard) {
                reply(guard, proto::Closed);
                guard->waitForBytesWritten(proto::ReplyTimeoutMs);
            }
        } else {
            reply(guard, proto::Error);
            guard->disconnectFromServer();
            return;
        }
    }
    if (guard && !guard->canReadLine() && guard->bytesAvailable() > proto::MaxLineBytes)
        guard->abort();
}

} // namespace ovra
