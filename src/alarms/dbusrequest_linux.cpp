#include "alarms/dbusrequest.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace ovra {

QString notAnsweringText(const QString& who) {
    //: %1 names a system service, such as logind or a session manager.
    return QCoreApplication::translate("ovra::PowerControl", "%1 does not answer").arg(who);
}

void sendRequest(QDBusConnection bus, const QDBusMessage& call, const QString& who,
                 QObject* context, PowerActions::Failed failed) {
    const QDBusPendingCall pending = bus.asyncCall(call, kRequestAnswerTimeoutMs);
    if (!failed)
        return;
    auto* watcher = new QDBusPendingCallWatcher(pending, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, who, failed = std::move(failed)] {
                         watcher->deleteLater();
                         if (!watcher->isError())
                             return;
                         const QDBusError error = watcher->error();
                         switch (error.type()) {
                         case QDBusError::ServiceUnknown:
                         case QDBusError::NoReply:
                         case QDBusError::Timeout:
                         case QDBusError::Disconnected:
                         case QDBusError::NoServer:
                             failed(notAnsweringText(who));
                             break;
                         default:
                             // The system's own words: "Access denied", "Operation
                             // not supported", an inhibitor's reason.
                             failed(error.message().isEmpty() ? error.name() : error.message());
                             break;
                         }
                     });
}

} // namespace ovra
