#pragma once

#include "alarms/poweractions.h"

#include <QDBusConnection>
#include <QDBusMessage>

class QObject;

namespace ovra {

// How long a power or session request may wait for its answer: long enough for
// the user to type a password or for the session's programs to save, bounded so
// that a bus that never answers is reported at last.
inline constexpr int kRequestAnswerTimeoutMs = 10 * 60 * 1000;

// Sends a request without waiting for its answer; failed hears an error answer in
// a short phrase (who names the service in it). The watch ends with context.
void sendRequest(QDBusConnection bus, const QDBusMessage& call, const QString& who,
                 QObject* context, PowerActions::Failed failed);

// "<who> does not answer" for a bus or service that is not there.
QString notAnsweringText(const QString& who);

} // namespace ovra
