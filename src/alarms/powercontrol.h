#pragma once

#include "alarms/poweractions.h"
#include "alarms/sessionend.h"
#include "base/messagesink.h"

#include <cstdint>

namespace ovra {

inline const QString kPowerOffError =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Power off PC error"));
inline const QString kRebootError =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Reboot PC error"));

// The five actions an alarm's countdown can end in. Shut down and restart end the
// session the ordinary way, through the desktop's session manager when one runs;
// power off and reboot "without saving" first ask logind whether it will carry
// them out unattended and say so when it will not. Locking asks nothing first:
// logind has no check for it, and a refused lock comes back like any refusal. A
// request that is refused or cannot be sent is reported, so a countdown never ends
// in silence.
class PowerControl {
public:
    PowerControl(PowerActions& actions, MessageSink& messages, SessionEnd* session = nullptr)
        : m_actions(actions), m_messages(messages), m_session(session) {}

    // failed hears why a request the system or the session refused, or could not
    // be sent, did not happen; an unattended power off or reboot that logind would
    // not allow shows its own message instead and sends nothing.
    using Failed = PowerActions::Failed;
    void shutdownPC(Failed failed = {});
    void restartPC(Failed failed = {});
    void lockPC(Failed failed = {});
    void powerOffPC(Failed failed = {});
    void rebootPC(Failed failed = {});

    // The action a countdown ends in, by the alarm's action code 1..5; any other
    // code does nothing.
    void runCountdownAction(int32_t action, Failed failed = {});

private:
    PowerActions& m_actions;
    MessageSink& m_messages;
    SessionEnd* m_session;
};

} // namespace ovra
