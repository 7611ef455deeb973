#include "settings/instanceserver.h"

#include "base/privatepath.h"
#include "base/regularfile.h"
#include "settings/instancepaths.h"
#include "settings/instanceprotocol.h"
#include "settings/privatesocket.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace ovra {

namespace proto = instanceprotocol;

namespace {
// Whether a live process of this user listens at the path. One that does not take
// the connection in time (stopped, or its queue is full) is alive all the same.
bool liveClockListens(const QString& path) {
    LocalSocket probe;
    switch (probe.connectTo(path, proto::ConnectTimeoutMs)) {
    case LocalSocket::Connect::NotAnswering:
    case LocalSocket::Connect::Failed: // cannot tell: not taken for gone
        return true;
    case LocalSocket::Connect::NoListener:
        return false;
    case LocalSocket::Connect::Connected:
        break;
    }
    return peerIsSameUser(probe.descriptor());
}

// A lock file in this user's folder that no process of this user holds, while some
// process holds it all the same: one of another user, who opened it while the
// folder was open to others, or made it. It is no clock of this user, and it goes;
// the stranger keeps a lock on a file that is no longer there. Only the file that
// was looked at goes, not one a clock of this user made in the meantime.
bool removeStrangersLock(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    if (::lstat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode) ||
        lockHolder(path) != 0)
        return false;
    struct stat now {};
    return ::lstat(name.constData(), &now) == 0 && now.st_ino == before.st_ino &&
           now.st_dev == before.st_dev && ::unlink(name.constData()) == 0;
}

void reply(LocalConnection* connection, const QByteArray& line) {
    connection->write(line + '\n');
}
} // namespace

InstanceServer::InstanceServer(QString socketPath, QObject* parent)
    : QObject(parent), m_path(std::move(socketPath)), m_lockPath(instanceLockPath(m_path)),
      m_idleTimeoutMs(proto::IdleTimeoutMs) {}

InstanceServer::InstanceServer(const InstancePlaces& places, const QString& clockName,
                               QObject* parent)
    : QObject(parent), m_path(instanceSocketPath(places.socketFolder, clockName)),
      m_lockPath(instanceNameLockPath(places.nameFolder, clockName)),
      m_notePath(instanceSocketNotePath(places.nameFolder, clockName)),
      m_idleTimeoutMs(proto::IdleTimeoutMs) {}

InstanceServer::~InstanceServer() {
    m_server.close();
    if (m_lock && !m_notePath.isEmpty())
        QFile::remove(m_notePath);
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
    if (!m_notePath.isEmpty()) {
        // The name folder beside the store. Where it cannot be made (a store folder
        // that cannot be written), the name is held beside the socket instead, as
        // earlier versions hold it.
        const QString folder = QFileInfo(m_lockPath).absolutePath();
        makePrivatePath(QFileInfo(folder).path());
        if (!ensurePrivateFolder(folder)) {
            m_lockPath = instanceLockPath(m_path);
            m_notePath.clear();
        }
    }
    if (!ensurePrivateFolder(QFileInfo(m_path).absolutePath(), problem))
        return Claim::Failed;

    // The lock names the clock's process for as long as it runs. Two processes
    // starting the same clock at once cannot both decide that the socket is stale,
    // and a clock that has stopped answering is not taken for gone. A lock left by a
    // process that died is recognised by its process id and taken over.
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // A folder or the like in the lock's place is no clock's lock, and nothing
        // could ever take it over.
        if (lock->error() != QLockFile::LockFailedError ||
            pathKind(lock->fileName()) != PathKind::Regular)
            return failed(QCoreApplication::translate("Settings",
                                                      "The clock's channel cannot be locked (%1).")
                              .arg(lock->fileName()));
        // The process id in a lock can have been reused since its clock died. A
        // clock listens as soon as it holds the lock; when nothing listens and no
        // process holds the file itself, the lock is left over.
        const QString noted = m_notePath.isEmpty() ? m_path : notedSocket(m_notePath);
        if (lockHolder(m_lockPath) != 0 || (!noted.isEmpty() && liveClockListens(noted)))
            return Claim::AlreadyRunning;
        if (!lock->removeStaleLockFile() && !removeStrangersLock(m_lockPath))
            return Claim::AlreadyRunning;
        if (!lock->tryLock(0))
            return Claim::AlreadyRunning;
    }
    // A clock of an earlier version holds no lock here while it runs.
    if (liveClockListens(m_path))
        return Claim::AlreadyRunning;
    // A note left by a clock that died would send callers to its socket.
    if (!m_notePath.isEmpty())
        QFile::remove(m_notePath);
    // Whatever is left is the socket of a process that is gone. Listening never
    // replaces what is at the path, so a socket another process put there in the
    // meantime makes this claim fail rather than cut that process off.
    LocalServer::remove(m_path);
    // From here on this process is the clock, reachable or not: a second start
    // finds the name taken.
    m_lock = std::move(lock);
    // Its process id is nobody else's business; the lock is made with the umask's
    // mode.
    QFile::setPermissions(m_lockPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QString why;
    if (!m_server.listen(m_path, proto::ListenBacklog, &why)) {
        failed(
            QCoreApplication::translate("Settings", "The clock's channel %1 cannot be opened: %2")
                .arg(m_path, why));
        return Claim::Unreachable;
    }
    if (!m_notePath.isEmpty() && !writeSocketNote(m_notePath, m_path)) {
        failed(QCoreApplication::translate("Settings", "The clock's channel cannot be noted in %1.")
                   .arg(m_notePath));
        return Claim::Unreachable;
    }
    return Claim::Listening;
}

void InstanceServer::serve(Handlers handlers) {
    m_handlers = std::move(handlers);
    if (!m_serving) {
        m_serving = true;
        connect(&m_server, &LocalServer::newConnection, this, &InstanceServer::acceptPending);
    }
    acceptPending();
}

void InstanceServer::acceptPending() {
    // A burst of callers is taken a queue's length at a time; the server says
    // again when more wait, so the clock's own events come in between.
    for (int taken = 0; taken < proto::ListenBacklog; ++taken) {
        LocalConnection* connection = m_server.nextPendingConnection();
        if (!connection)
            return;
        if (!peerIsSameUser(connection->descriptor())) {
            connection->abort();
            connection->deleteLater();
            continue;
        }
        if (m_connections.size() >= proto::MaxConnections)
            makeRoom();
        m_connections.append(connection);
        // A whole request fits; a buffer full without a line end is refused below.
        connection->setReadBufferSize(proto::MaxLineBytes + 1);
        auto* idle = new QTimer(connection);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, connection, &LocalConnection::abort);
        idle->start(m_idleTimeoutMs);
        connect(connection, &LocalConnection::disconnected, this, [this, connection] {
            m_connections.removeOne(connection);
            connection->deleteLater();
        });
        connect(connection, &LocalConnection::readyRead, this,
                [this, connection] { handle(connection); });
    }
}

void InstanceServer::makeRoom() {
    const auto oldest = std::find_if(m_connections.cbegin(), m_connections.cend(),
                                     [this](LocalConnection* c) { return c != m_handling; });
    if (oldest != m_connections.cend())
        (*oldest)->abort(); // its disconnected() takes it off the list
}

void InstanceServer::handle(LocalConnection* connection) {
    // A request under way is not cut off for taking long, nor given way to.
    QTimer* idle = connection->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    if (idle)
        idle->stop();
    // A handler may run an event loop; a request that arrives meanwhile is taken
    // up once the handler has returned.
    if (m_busy) {
        QTimer::singleShot(10, this, [this, guard = QPointer<LocalConnection>(connection)] {
            if (guard)
                handle(guard);
        });
        return;
    }
    QPointer<LocalConnection> guard(connection);
    m_handling = connection;
    const auto done = qScopeGuard([&] {
        m_handling = nullptr;
        if (guard && guard->isOpen() && idle)
            idle->start(m_idleTimeoutMs);
    });
    while (guard && guard->canReadLine()) {
        const QByteArray line = guard->readLine().trimmed();
        if (line == proto::Ping) {
            reply(guard, proto::Ok);
        } else if (line == proto::Raise) {
            m_busy = true;
            if (m_handlers.raise)
                m_handlers.raise();
            m_busy = false;
            if (guard)
                reply(guard, proto::Ok);
        } else if (line == proto::Settings) {
            m_busy = true;
            const bool shown = m_handlers.settings && m_handlers.settings();
            m_busy = false;
            if (guard)
                reply(guard, shown ? proto::Ok : proto::Busy);
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
            guard->disconnectFromPeer();
            return;
        }
    }
    if (guard && !guard->canReadLine() && guard->bytesAvailable() > proto::MaxLineBytes)
        guard->abort();
}

} // namespace ovra
