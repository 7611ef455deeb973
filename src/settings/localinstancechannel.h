#pragma once

#include "settings/instancechannel.h"

#include <QDeadlineTimer>

namespace ovra {

class LocalSocket;

// The calling side of the clocks' channels: one local socket per running clock in
// this user's private socket folder.
class LocalInstanceChannel final : public InstanceChannel {
public:
    explicit LocalInstanceChannel(QString socketFolder) : m_folder(std::move(socketFolder)) {}

    qint64 find(const QString& clockName, bool bringForward) override;
    CloseOutcome close(const QString& clockName, int timeoutMs) override;
    SettingsOutcome showSettings(const QString& clockName) override;
    QString problem() const override { return m_problem; }

private:
    qint64 connectToClock(LocalSocket& socket, const QString& clockName);
    CloseOutcome terminate(const QString& clockName, qint64 pid, QDeadlineTimer deadline);
    // Whether the process pid let go of the clock's name before the deadline.
    bool waitForNameReleased(const QString& clockName, qint64 pid, QDeadlineTimer deadline) const;

    QString m_folder;
    QString m_problem;
    // The process that holds the name of the clock last asked for while nothing
    // listens at its socket; 0 when none does.
    qint64 m_unreachable = 0;
};

} // namespace ovra
