#include "settings/localinstancechannel.h"

#include "settings/instancepaths.h"
#include "settings/instanceprotocol.h"
#include "settings/localsocket.h"
#include "settings/privatesocket.h"

#include <QThread>

#include <csignal>

namespace ovra {

namespace proto = instanceprotocol;

namespace {
// Waits for one answer line until the deadline; empty when none came. gone is set
// when the other side closed the connection.
QByteArray readAnswer(LocalSocket& socket, QDeadlineTimer deadline, bool* gone) {
    QByteArray line;
    const LocalSocket::Read read = socket.readLine(&line, deadline, proto::MaxLineBytes);
    *gone = read == LocalSocket::Read::Closed;
    return read == LocalSocket::Read::Line ? line.trimmed() : QByteArray();
}
} // namespace

// The pid of the process behind the clock's socket, 0 when no clock of this user
// listens there (missing socket, socket of a killed process), kNotAnswering when a
// process listens but does not take the connection in time, or kChannelFailed.
qint64 LocalInstanceChannel::connectToClock(LocalSocket& socket, const QString& clockName) {
    m_problem.clear();
    m_unreachable = 0;
    if (!m_nameFolder.isEmpty()) {
        const QString lock = instanceNameLockPath(m_nameFolder, clockName);
        if (const qint64 holder = lockHolder(lock); holder != 0) {
            m_lock = lock;
            // A clock that holds its name but noted no socket could not listen.
            const QString noted = notedSocket(instanceSocketNotePath(m_nameFolder, clockName));
            if (noted.isEmpty()) {
                m_unreachable = holder;
                return kNotAnswering;
            }
            return connectAt(socket, noted, holder);
        }
    }
    // No clock holds the name there: one of an earlier version, or of a process that
    // could not make the name folder, holds it beside its socket in this process's
    // socket folder.
    const QString path = instanceSocketPath(m_folder, clockName);
    m_lock = instanceLockPath(path);
    return connectAt(socket, path, 0);
}

qint64 LocalInstanceChannel::connectAt(LocalSocket& socket, const QString& path, qint64 holder) {
    switch (socket.connectTo(path, proto::ConnectTimeoutMs)) {
    case LocalSocket::Connect::NoListener:
        // A clock that could not listen still holds its name while it runs.
        m_unreachable = holder != 0 ? holder : lockHolder(m_lock);
        return m_unreachable != 0 ? kNotAnswering : 0;
    case LocalSocket::Connect::NotAnswering:
        return kNotAnswering;
    case LocalSocket::Connect::Failed:
        m_problem = socket.failure();
        return kChannelFailed;
    case LocalSocket::Connect::Connected:
        break;
    }
    const auto peer = peerCredentials(socket.descriptor());
    if (!peer || peer->uid != currentUserId()) {
        socket.close();
        // Whoever listens is not this user's clock; the one holding the name is.
        m_unreachable = holder;
        return holder != 0 ? kNotAnswering : 0;
    }
    return peer->pid > 0 ? peer->pid : 1;
}

qint64 LocalInstanceChannel::find(const QString& clockName, bool bringForward) {
    LocalSocket socket;
    const qint64 pid = connectToClock(socket, clockName);
    if (pid <= 0)
        return pid;
    if (bringForward) {
        const QDeadlineTimer deadline(proto::ReplyTimeoutMs);
        bool gone = false;
        // A clock that does not raise in time is still running; the answer only
        // keeps the window order the caller asked for.
        if (socket.write(proto::Raise + '\n', deadline))
            readAnswer(socket, deadline, &gone);
    }
    return pid;
}

CloseOutcome LocalInstanceChannel::close(const QString& clockName, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    LocalSocket socket;
    const qint64 pid = connectToClock(socket, clockName);
    if (pid == 0)
        return CloseOutcome::NotRunning;
    if (pid == kNotAnswering)
        return m_unreachable > 1 ? terminate(m_unreachable, deadline) : CloseOutcome::TimedOut;
    if (pid == kChannelFailed)
        return CloseOutcome::Failed;
    // A request that cannot be sent finds the clock gone when the answer is read.
    socket.write(proto::Close + '\n', deadline);
    bool gone = false;
    const QByteArray answer = readAnswer(socket, deadline, &gone);
    if (answer != proto::Closed && !gone)
        return CloseOutcome::TimedOut;
    // The clock answers before its process ends, and it still holds its name until
    // then: a start of the same name right after would find it taken, and a look
    // for the clock would still find it running.
    return waitForNameReleased(pid, deadline) ? CloseOutcome::Closed : CloseOutcome::TimedOut;
}

SettingsOutcome LocalInstanceChannel::showSettings(const QString& clockName) {
    LocalSocket socket;
    const qint64 pid = connectToClock(socket, clockName);
    if (pid == 0)
        return SettingsOutcome::NotRunning;
    if (pid == kNotAnswering)
        return SettingsOutcome::NotAnswering;
    if (pid == kChannelFailed)
        return SettingsOutcome::Failed;
    const QDeadlineTimer deadline(proto::SettingsReplyTimeoutMs);
    bool gone = false;
    const QByteArray answer = socket.write(proto::Settings + '\n', deadline)
                                  ? readAnswer(socket, deadline, &gone)
                                  : QByteArray();
    if (answer == proto::Ok)
        return SettingsOutcome::Shown;
    // An earlier version answers a request it does not know with an error and hangs
    // up; one that ends meanwhile hangs up without a word.
    if (answer == proto::Error)
        return SettingsOutcome::NotUnderstood;
    if (gone && answer.isEmpty())
        return SettingsOutcome::NotRunning;
    return SettingsOutcome::NotAnswering;
}

bool LocalInstanceChannel::waitForNameReleased(qint64 pid, QDeadlineTimer deadline) const {
    while (lockHolder(m_lock) == pid) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

CloseOutcome LocalInstanceChannel::terminate(qint64 pid, QDeadlineTimer deadline) {
    // A clock without a socket ends on SIGTERM the way it ends on a close request,
    // storing its settings first; it lets go of its name only once it has ended.
    if (::kill(pid_t(pid), SIGTERM) != 0)
        return CloseOutcome::TimedOut;
    return waitForNameReleased(pid, deadline) ? CloseOutcome::Closed : CloseOutcome::TimedOut;
}

} // namespace ovra
