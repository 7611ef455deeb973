#pragma once

#include "settings/instancepaths.h"
#include "settings/localsocket.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLockFile;

namespace ovra {

// The listening side of a clock's channel. A clock process first claims its name
// (before it shows anything), and starts answering once its window exists.
class InstanceServer final : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Listening,      // this process now answers for the clock
        AlreadyRunning, // a live process of this user already does
        Unreachable,    // this process holds the clock's name, but the socket cannot be
                        // made: the clock runs, unreachable, and no second one starts
        Failed,         // the name cannot be taken at all: the process must not run
                        // as the clock, or any number of copies could
    };

    struct Handlers {
        std::function<void()> raise;
        // Opens the settings dialog; false while the clock cannot show one yet.
        std::function<bool()> settings;
        // Must return only after the clock's shutdown has finished.
        std::function<void()> close;
    };

    // The name held beside the socket, as earlier versions hold it.
    explicit InstanceServer(QString socketPath, QObject* parent = nullptr);
    // The name held in the places' name folder, with a note there of the socket.
    InstanceServer(const InstancePlaces& places, const QString& clockName,
                   QObject* parent = nullptr);
    ~InstanceServer() override;

    // Takes the clock's name for the life of this object, and its socket. A socket
    // left behind by a process that was killed is replaced; one whose process is
    // alive is not, even while that process does not answer.
    Claim claim(QString* problem = nullptr);

    // Answers requests from now on, including those that queued up since claim().
    void serve(Handlers handlers);

    const QString& socketPath() const { return m_path; }

    // How long a caller may stay silent before it is cut off.
    void setIdleTimeout(int ms) { m_idleTimeoutMs = ms; }

private:
    void acceptPending();
    void handle(LocalConnection* connection);
    void makeRoom();

    QString m_path;
    QString m_lockPath;
    // Where the socket is noted for clocks started from other shells; empty when the
    // name is held beside the socket.
    QString m_notePath;
    // Held while this process runs as the clock: the kernel drops it with the
    // process, so a live clock keeps its name even when its socket is stuck or
    // could not be made.
    std::unique_ptr<QLockFile> m_lock;
    LocalServer m_server;
    Handlers m_handlers;
    bool m_serving = false;
    bool m_busy = false;
    int m_idleTimeoutMs;
    // The connections held, oldest first, and the one whose request is being handled.
    QList<LocalConnection*> m_connections;
    LocalConnection* m_handling = nullptr;
};

} // namespace ovra
