#include "base/messagesink.h"

#include <cstdio>

namespace ovra {

void StderrMessageSink::showMessage(const QString& text, const QString& title, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
    std::fflush(stderr);
}

} // namespace ovra
