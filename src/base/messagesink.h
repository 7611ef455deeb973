#pragma once

#include <QString>

namespace ovra {

// Fixed message texts stay English in the code, as the recording doubles of the
// tests see them; they are marked in the context "Messages", and the sinks that
// show them to a person translate them on the way out.
inline const QString kErrorTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Ovra Clock Error"));
inline const QString kPlainTitle = QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Ovra Clock"));

// A text marked in the context "Messages" in the user's language; any other text
// (one already translated where it was put together) comes back as it is.
QString translatedMessage(const QString& text);

enum class MessageIcon { Information, Warning, Stop };

// Where user-facing messages go: message boxes in the running clock, stderr on the
// command line, a recording double in tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& text, const QString& title, MessageIcon icon) = 0;
};

// Prints "title: text" on stderr; used by the command-line options and whenever
// no display is available.
class StderrMessageSink final : public MessageSink {
public:
    void showMessage(const QString& text, const QString& title, MessageIcon icon) override;
};

} // namespace ovra
