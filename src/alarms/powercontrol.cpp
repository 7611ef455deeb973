#include "alarms/powercontrol.h"

#include "alarms/alarmrecord.h"

namespace ovra {

bool PowerControl::adjustPrivilege(int privilege, bool enable, Request request) {
    if (privilege != kShutdownPrivilege)
        return false;
    if (!enable)
        return true;
    const QString answer =
        request == Request::Reboot ? m_actions.canReboot() : m_actions.canPowerOff();
    // "challenge" would need a password prompt nobody may be there to answer.
    return answer == u"yes";
}

void PowerControl::shutdownPC(Failed failed) {
    if (m_session && m_session->shutDown(failed))
        return;
    m_actions.powerOff(true, std::move(failed));
}

void PowerControl::restartPC(Failed failed) {
    if (m_session && m_session->restart(failed))
        return;
    m_actions.reboot(true, std::move(failed));
}

void PowerControl::lockPC(Failed failed) {
    m_actions.lockSession(std::move(failed));
}

void PowerControl::powerOffPC(Failed failed) {
    if (!adjustPrivilege(kShutdownPrivilege, true, Request::PowerOff)) {
        m_messages.showMessage(kPowerOffError, kPlainTitle, MessageIcon::Warning);
        return;
    }
    m_actions.powerOff(false, std::move(failed));
}

void PowerControl::rebootPC(Failed failed) {
    if (!adjustPrivilege(kShutdownPrivilege, true, Request::Reboot)) {
        m_messages.showMessage(kRebootError, kPlainTitle, MessageIcon::Warning);
        return;
    }
    m_actions.reboot(false, std::move(failed));
}

void PowerControl::runCountdownAction(int32_t action, Failed failed) {
    switch (action) {
    case alarmaction::ShutDown:
        shutdownPC(std::move(failed));
        break;
    case alarmaction::Restart:
        restartPC(std::move(failed));
        break;
    case alarmaction::Lock:
        lockPC(std::move(failed));
        break;
    case alarmaction::PowerOffNow:
        powerOffPC(std::move(failed));
        break;
    case alarmaction::RebootNow:
        rebootPC(std::move(failed));
        break;
    default:
        break;
    }
}

} // namespace ovra
