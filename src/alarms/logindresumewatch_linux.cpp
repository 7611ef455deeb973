#include "alarms/logindresumewatch.h"

#include "base/ossupport.h"

#include <QDBusConnection>

namespace ovra {

LogindResumeWatch::LogindResumeWatch() {
    // The bus is served by a thread of Qt's own, waited for without a bound: a
    // process that cannot start one goes without the resume signal instead of
    // hanging at start-up.
    if (!threadsCanStart())
        return;
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
