#pragma once

#include <QString>

namespace ovra {

// Starts a process that shows a clock.
class ClockLauncher {
public:
    virtual ~ClockLauncher() = default;
    // False when no process could be started.
    virtual bool launch(const QString& clockName) = 0;
};

// Starts the program itself, detached, with the clock's name as its one argument
// (after "--" for a name that begins with "-").
class DetachedClockLauncher final : public ClockLauncher {
public:
    explicit DetachedClockLauncher(QString program) : m_program(std::move(program)) {}
    bool launch(const QString& clockName) override;

private:
    QString m_program;
};

} // namespace ovra
