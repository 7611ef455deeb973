#include "alarms/logindresumewatch.h"

#include <QDBusConnection>

namespace ovra {

LogindResumeWatch::LogindResumeWatch() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    m_listening = bus.connect(QStringLiteral("org.freedesktop.login1"),
                              QStringLiteral("/org/freedesktop/login1"),
                              QStringLiteral("org.freedesktop.login1.Manager"),
                              QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

void LogindResumeWatch::prepareForSleep(bool goingToSleep) {
    if (!goingToSleep && m_resume)
        m_resume();
}

} // namespace ovra
