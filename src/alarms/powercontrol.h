#pragma once

#include "alarms/poweractions.h"
#include "alarms/sessionend.h"
#include "base/messagesink.h"

#include <cstdint>

namespace ovra {

// The shutdown privilege, the only one the clock ever asks about.
inline constexpr int kShutdownPrivilege = 19;

inline const QString kPowerOffError =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Power off PC error"));
inline const QString kRebootError =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Reboot PC error"));

// The five actions an alarm's countdown can end in. Shut down and restart end the
// session the ordinary way, through the desktop's session manager when one runs;
// power off and reboot "without saving" first make sure the system will carry
// them out unattended and say so when it will not. A request that is refused or
// cannot be sent is reported, so a countdown never ends in silence.
class PowerControl {
public:
    enum class Request { PowerOff, Reboot };

    PowerControl(PowerActions& actions, MessageSink& messages, SessionEnd* session = nullptr)
        : m_actions(actions), m_messages(messages), m_session(session) {}

    // True when the user holds the privilege for the request without having to
    // authenticate first. Dropping a privilege (enable false) needs nothing and
    // succeeds; any privilege but the shutdown one is unknown here and refused.
    bool adjustPrivilege(int privilege, bool enable, Request request = Request::PowerOff);

    // failed hears why a request the system or the session refused, or could not
    // be sent, did not happen; a refused privilege has its own message instead.
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
