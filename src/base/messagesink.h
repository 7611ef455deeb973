#pragma once

#include <QString>

namespace ovra {

inline const QString kErrorTitle = QStringLiteral("Ovra Clock Error");
inline const QString kPlainTitle = QStringLiteral("Ovra Clock");

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
