#pragma once

#include "settings/instancechannel.h"

namespace ovra {

// The calling side of the clocks' channels: one local socket per running clock in
// this user's private socket folder.
class LocalInstanceChannel final : public InstanceChannel {
public:
    explicit LocalInstanceChannel(QString socketFolder) : m_folder(std::move(socketFolder)) {}

    qint64 find(const QString& clockName, bool bringForward) override;
    CloseOutcome close(const QString& clockName, int timeoutMs) override;

private:
    QString m_folder;
};

} // namespace ovra
