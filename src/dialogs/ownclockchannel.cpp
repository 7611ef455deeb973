#include "dialogs/ownclockchannel.h"

#include <QCoreApplication>

namespace ovra {

OwnClockChannel::OwnClockChannel(InstanceChannel& others, OwnClock own)
    : m_others(others), m_own(std::move(own)) {}

qint64 OwnClockChannel::find(const QString& clockName, bool bringForward) {
    if (clockName != m_own.name)
        return m_others.find(clockName, bringForward);
    if (bringForward && m_own.raise)
        m_own.raise();
    return QCoreApplication::applicationPid();
}

CloseOutcome OwnClockChannel::close(const QString& clockName, int timeoutMs) {
    if (clockName != m_own.name)
        return m_others.close(clockName, timeoutMs);
    if (!m_own.close)
        return CloseOutcome::TimedOut; // nobody here can carry it out
    m_own.close();
    return CloseOutcome::Closed;
}

SettingsOutcome OwnClockChannel::showSettings(const QString& clockName) {
    if (clockName != m_own.name)
        return m_others.showSettings(clockName);
    if (!m_own.showSettings)
        return SettingsOutcome::NotAnswering; // nobody here can carry it out
    m_own.showSettings();
    return SettingsOutcome::Shown;
}

} // namespace ovra
