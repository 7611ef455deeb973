#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace ovra {

// Stream connections between processes of one machine, addressed by a path. Only
// what the clocks' channel needs, on QtCore alone: the socket library of Qt would
// map a network stack into every clock for this one use.

// The calling side. Every call that waits takes a deadline, so a peer that hangs
// cannot hang the caller with it. Not a QObject: it is used from any thread.
class LocalSocket final {
public:
    enum class Connect {
        Connected,
        NoListener,   // nothing listens at the path (missing, left over, not a socket)
        NotAnswering, // a listener is there but does not take the connection in time
        Failed,       // this process cannot make a connection at all (out of descriptors
                      // or memory): whether anything listens is unknown
    };
    enum class Read {
        Line,
        TimedOut,
        Closed,  // the peer has gone before a whole line came
        TooLong, // more than the longest line allowed came without a line end
    };

    LocalSocket() = default;
    ~LocalSocket() { close(); }
    LocalSocket(const LocalSocket&) = delete;
    LocalSocket& operator=(const LocalSocket&) = delete;

    Connect connectTo(const QString& path, int timeoutMs);
    // Why the last connectTo() failed, as the system tells it.
    QString failure() const { return m_failure; }
    bool isConnected() const { return m_handle != -1; }

    // Sends all of data; false when the peer is gone or the deadline passes first.
    bool write(const QByteArray& data, QDeadlineTimer deadline);

    // Waits for one line and puts it, without its line end, into line.
    Read readLine(QByteArray* line, QDeadlineTimer deadline, int maxBytes);

    // What the platform knows the connection by, to ask who the peer is.
    qintptr descriptor() const { return m_handle; }

    void close();

private:
    qintptr m_handle = -1;
    QByteArray m_received;
    QString m_failure;
};

class LocalServer;

// One connection a LocalServer has taken. Reads whatever arrives into a buffer of
// limited size and says so with readyRead(); writes without waiting, keeping what
// the peer has not taken yet.
class LocalConnection final : public QObject {
    Q_OBJECT
public:
    ~LocalConnection() override;

    bool isOpen() const { return m_native != nullptr; }
    qintptr descriptor() const;

    // At most this many bytes are read ahead; reading stops until lines are taken.
    // A caller that finds the buffer full without a whole line has a peer that
    // sends something other than lines of the length it expects.
    void setReadBufferSize(qint64 bytes) { m_readLimit = qMax<qint64>(1, bytes); }
    qint64 bytesAvailable() const { return m_received.size(); }
    bool canReadLine() const { return m_received.contains('\n'); }
    // The next whole line without its line end; empty when there is none.
    QByteArray readLine();

    // Queues data and sends what the peer takes at once. A peer that leaves too
    // much unread is cut off, so it cannot make this process hold on to it.
    void write(const QByteArray& data);
    // Waits until everything queued is sent; false when the time ran out first or
    // the peer went.
    bool waitForBytesWritten(int timeoutMs);

    // Closes once what is queued is sent.
    void disconnectFromPeer();
    // Closes at once and drops what is queued.
    void abort();

signals:
    void readyRead();
    // The connection has closed, from either side. What was read before stays
    // readable.
    void disconnected();

private:
    friend class LocalServer;
    struct Native;
    LocalConnection(qintptr handle, QObject* parent);

    void onReadable();
    void onWritable();
    bool sendQueued();
    void closeNow();

    std::unique_ptr<Native> m_native;
    QByteArray m_received;
    QByteArray m_unsent;
    qint64 m_readLimit = 64 * 1024;
    bool m_closing = false;
};

// The listening side, driven by the event loop of the thread it lives in.
class LocalServer final : public QObject {
    Q_OBJECT
public:
    explicit LocalServer(QObject* parent = nullptr);
    ~LocalServer() override;

    // Listens at path, which must not exist yet; only this user can connect. Up to
    // backlog connections wait for nextPendingConnection() before callers are kept
    // out (they see NotAnswering).
    bool listen(const QString& path, int backlog, QString* problem = nullptr);
    bool isListening() const { return m_native != nullptr; }
    // Stops listening and removes the socket file, if it is still this server's.
    void close();

    // Removes what is left at path (the socket of a process that is gone, or
    // anything else but a folder). True when nothing is there any more.
    static bool remove(const QString& path);

    // A waiting connection, a child of this server; nullptr when none waits.
    // newConnection() comes again only once this has been called: a server not yet
    // ready to answer leaves callers waiting in the backlog.
    LocalConnection* nextPendingConnection();

signals:
    void newConnection();

private:
    struct Native;
    void onPending();

    std::unique_ptr<Native> m_native;
};

} // namespace ovra
