#include "base/messagesink.h"

#include <QCoreApplication>

#include <cstdio>

namespace ovra {

QString translatedMessage(const QString& text) {
    return QCoreApplication::translate("Messages", text.toUtf8().constData());
}

void StderrMessageSink::showMessage(const QString& text, const QString& title, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(translatedMessage(title)),
                 qUtf8Printable(translatedMessage(text)));
    std::fflush(stderr);
}

} // namespace ovra
