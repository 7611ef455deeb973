#include "alarms/powercontrol.h"

#include "alarms/alarmrecord.h"

namespace ovra {

bool PowerControl::AdjustPrivilege(int privilege, bool enable, Request request) {
    if (privilege != kShutdownPrivilege)
        return false;
    if (!enable)
        return true;
    const QString answer =
        request == Request::Reboot ? m_actions.canReboot() : m_actions.canPowerOff();
    // "challenge" would need a password prompt nobody may be there to answer.
    return answer == u"yes";
}

void PowerControl::ShutdownPC() {
    if (m_session && m_session->shutDown())
        return;
    m_actions.powerOff(true);
}

void PowerControl::RestartPC() {
    if (m_session && m_session->restart())
        return;
    m_actions.reboot(true);
}

void PowerControl::LockPC() {
    m_actions.lockSession();
}

void PowerControl::PowerOffPC() {
    if (!AdjustPrivilege(kShutdownPrivilege, true, Request::PowerOff)) {
        m_messages.showMessage(kPowerOffError, kPlainTitle, MessageIcon::Warning);
        return;
    }
    m_actions.powerOff(false);
}

void PowerControl::RebootPC() {
    if (!AdjustPrivilege(kShutdownPrivilege, true, Request::Reboot)) {
        m_messages.showMessage(kRebootError, kPlainTitle, MessageIcon::Warning);
        return;
    }
    m_actions.reboot(false);
}

void PowerControl::runCountdownAction(int32_t action) {
    switch (action) {
    case alarmaction::ShutDown:
        ShutdownPC();
        break;
    case alarmaction::Restart:
        RestartPC();
        break;
    case alarmaction::Lock:
        LockPC();
        break;
    case alarmaction::PowerOffNow:
        PowerOffPC();
        break;
    case alarmaction::RebootNow:
        RebootPC();
        break;
    default:
        break;
    }
}

} // namespace ovra
