#pragma once

#include "settings/instancechannel.h"
#include "settings/instancepaths.h"

#include <QDeadlineTimer>

namespace ovra {

class LocalSocket;

// The calling side of the clocks' channels: one local socket per running clock.
// A clock that holds its name in the name folder is reached at the socket it noted
// there, wherever that is; one of an earlier version (or any, without a name
// folder) in this process's socket folder.
class LocalInstanceChannel final : public InstanceChannel {
public:
    explicit LocalInstanceChannel(QString socketFolder, QString nameFolder = {})
        : m_folder(std::move(socketFolder)), m_nameFolder(std::move(nameFolder)) {}
    explicit LocalInstanceChannel(const InstancePlaces& places)
        : LocalInstanceChannel(places.socketFolder, places.nameFolder) {}

    qint64 find(const QString& clockName, bool bringForward) override;
    CloseOutcome close(const QString& clockName, int timeoutMs) override;
    SettingsOutcome showSettings(const QString& clockName) override;
    QString problem() const override { return m_problem; }

private:
    qint64 connectToClock(LocalSocket& socket, const QString& clockName);
    CloseOutcome terminate(qint64 pid, QDeadlineTimer deadline);
    // Whether the process pid let go of the clock's name before the deadline.
    bool waitForNameReleased(qint64 pid, QDeadlineTimer deadline) const;
    // The pid behind the socket at path, or what connectToClock() gives instead;
    // holder is the process that holds the name, 0 when unknown.
    qint64 connectAt(LocalSocket& socket, const QString& path, qint64 holder);

    QString m_folder;
    QString m_nameFolder;
    // The lock of the clock last asked for.
    QString m_lock;
    QString m_problem;
    // The process that holds the name of the clock last asked for while nothing
    // listens at its socket; 0 when none does.
    qint64 m_unreachable = 0;
};

} // namespace ovra
