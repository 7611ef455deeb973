#include "alarms/powercontrol.h"

#include "alarms/alarmrecord.h"

namespace ovra {

namespace {
// logind's answer to CanPowerOff / CanReboot. "challenge" would need a password
// prompt nobody may be there to answer, and an empty answer (logind unreachable)
// allows nothing either.
bool allowedUnattended(const QString& answer) {
    return answer == u"yes";
}
} // namespace

void PowerControl::ShutdownPC(Failed failed) {
    if (m_session && m_session->shutDown(failed))
        return;
    m_actions.powerOff(true, std::move(failed));
}

void PowerControl::RestartPC(Failed failed) {
    if (m_session && m_session->restart(failed))
        return;
    m_actions.reboot(true, std::move(failed));
}

void PowerControl::LockPC(Failed failed) {
    m_actions.lockSession(std::move(failed));
}

void PowerControl::PowerOffPC(Failed failed) {
    if (!allowedUnattended(m_actions.canPowerOff())) {
        m_messages.showMessage(kPowerOffError, kPlainTitle, MessageIcon::Warning);
        return;
    }
    m_actions.powerOff(false, std::move(failed));
}

void PowerControl::RebootPC(Failed failed) {
    if (!allowedUnattended(m_actions.canReboot())) {
        m_messages.showMessage(kRebootError, kPlainTitle, MessageIcon::Warning);
        return;
    }
    m_actions.reboot(false, std::move(failed));
}

void PowerControl::runCountdownAction(int32_t action, Failed failed) {
    switch (action) {
    case alarmaction::ShutDown:
        ShutdownPC(std::move(failed));
        break;
    case alarmaction::Restart:
        RestartPC(std::move(failed));
        break;
    case alarmaction::Lock:
        LockPC(std::move(failed));
        break;
    case alarmaction::PowerOffNow:
        PowerOffPC(std::move(failed));
        break;
    case alarmaction::RebootNow:
        RebootPC(std::move(failed));
        break;
    default:
        break;
    }
}

} // namespace ovra
