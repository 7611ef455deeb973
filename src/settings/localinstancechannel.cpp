#include "settings/localinstancechannel.h"

#include "settings/instancepaths.h"
#include "settings/instanceprotocol.h"
#include "settings/localsocket.h"
#include "settings/privatesocket.h"

namespace ovra {

namespace proto = instanceprotocol;

namespace {
// Connects to the clock's socket; the pid of the process behind it, 0 when no
// clock of this user listens there (missing socket, socket of a killed process), or
// kNotAnswering when a process listens but does not take the connection in time.
qint64 connectToClock(LocalSocket& socket, const QString& path) {
    switch (socket.connectTo(path, proto::ConnectTimeoutMs)) {
    case LocalSocket::Connect::NoListener:
        return 0;
    case LocalSocket::Connect::NotAnswering:
        return kNotAnswering;
    case LocalSocket::Connect::Connected:
        break;
    }
    const auto peer = peerCredentials(socket.descriptor());
    if (!peer || peer->uid != currentUserId()) {
        socket.close();
        return 0;
    }
    return peer->pid > 0 ? peer->pid : 1;
}

// Waits for one answer line until the deadline; empty when none came. gone is set
// when the other side closed the connection.
QByteArray readAnswer(LocalSocket& socket, QDeadlineTimer deadline, bool* gone) {
    QByteArray line;
    const LocalSocket::Read read = socket.readLine(&line, deadline, proto::MaxLineBytes);
    *gone = read == LocalSocket::Read::Closed;
    return read == LocalSocket::Read::Line ? line.trimmed() : QByteArray();
}
} // namespace

qint64 LocalInstanceChannel::find(const QString& clockName, bool bringForward) {
    LocalSocket socket;
    const qint64 pid = connectToClock(socket, instanceSocketPath(m_folder, clockName));
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
    const qint64 pid = connectToClock(socket, instanceSocketPath(m_folder, clockName));
    if (pid == 0)
        return CloseOutcome::NotRunning;
    if (pid == kNotAnswering)
        return CloseOutcome::TimedOut;
    // A request that cannot be sent finds the clock gone when the answer is read.
    socket.write(proto::Close + '\n', deadline);
    bool gone = false;
    const QByteArray answer = readAnswer(socket, deadline, &gone);
    if (answer == proto::Closed || gone)
        return CloseOutcome::Closed;
    return CloseOutcome::TimedOut;
}

} // namespace ovra
