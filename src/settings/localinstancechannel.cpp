#include "settings/localinstancechannel.h"

#include "settings/instancepaths.h"
#include "settings/instanceprotocol.h"
#include "settings/privatesocket.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace ovra {

namespace proto = instanceprotocol;

namespace {
// Connects to the clock's socket; the pid of the process behind it, 0 when no
// clock of this user listens there (missing socket, socket of a killed process), or
// kNotAnswering when a process listens but does not take the connection in time.
qint64 connectToClock(QLocalSocket& socket, const QString& path) {
    socket.connectToServer(path);
    if (!socket.waitForConnected(proto::ConnectTimeoutMs)) {
        // Only a live process keeps a socket listening, and only this user can put
        // one into the private folder: a connection still waiting when the time is
        // up means a full queue, so that process is stopped or hung, not gone.
        const bool waiting = socket.state() == QLocalSocket::ConnectingState ||
                             socket.error() == QLocalSocket::SocketTimeoutError;
        socket.abort();
        return waiting ? kNotAnswering : 0;
    }
    const auto peer = peerCredentials(socket.socketDescriptor());
    if (!peer || peer->uid != currentUserId()) {
        socket.abort();
        return 0;
    }
    return peer->pid > 0 ? peer->pid : 1;
}

// Waits for one answer line until the deadline; empty when none came. gone is set
// when the other side closed the connection.
QByteArray readAnswer(QLocalSocket& socket, QDeadlineTimer deadline, bool* gone) {
    *gone = false;
    while (!socket.canReadLine()) {
        if (socket.state() != QLocalSocket::ConnectedState) {
            *gone = true;
            return {};
        }
        if (deadline.hasExpired())
            return {};
        socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return socket.readLine(proto::MaxLineBytes + 1).trimmed();
}
} // namespace

qint64 LocalInstanceChannel::find(const QString& clockName, bool bringForward) {
    QLocalSocket socket;
    const qint64 pid = connectToClock(socket, instanceSocketPath(m_folder, clockName));
    if (pid <= 0)
        return pid;
    if (bringForward) {
        socket.write(proto::Raise + '\n');
        bool gone = false;
        // A clock that does not raise in time is still running; the answer only
        // keeps the window order the caller asked for.
        readAnswer(socket, QDeadlineTimer(proto::ReplyTimeoutMs), &gone);
    }
    socket.disconnectFromServer();
    return pid;
}

CloseOutcome LocalInstanceChannel::close(const QString& clockName, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    const qint64 pid = connectToClock(socket, instanceSocketPath(m_folder, clockName));
    if (pid == 0)
        return CloseOutcome::NotRunning;
    if (pid == kNotAnswering)
        return CloseOutcome::TimedOut;
    socket.write(proto::Close + '\n');
    socket.flush();
    bool gone = false;
    const QByteArray answer = readAnswer(socket, deadline, &gone);
    if (answer == proto::Closed || gone)
        return CloseOutcome::Closed;
    socket.abort();
    return CloseOutcome::TimedOut;
}

} // namespace ovra
