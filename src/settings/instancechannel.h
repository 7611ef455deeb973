#pragma once

#include <QString>
#include <QtGlobal>

namespace ovra {

// How a close request to another clock process ended.
enum class CloseOutcome {
    Closed,     // the clock shut down (its settings are stored) or its process is gone
    NotRunning, // no clock of that name answers
    TimedOut,   // the clock took the request but did not finish in time
    Failed,     // this process could not ask (see InstanceChannel::problem())
};

// How a request to show another clock's settings dialog ended.
enum class SettingsOutcome {
    Shown,         // the clock opened its dialog, or brought it forward
    NotRunning,    // no clock of that name runs
    NotAnswering,  // its process is alive but did not answer in time, or is still starting
    NotUnderstood, // a clock of an earlier version that does not know the request
    Failed,        // this process could not ask (see InstanceChannel::problem())
};

// What find() gives for a clock whose process is alive but does not take the
// connection in time (stopped, or its queue of waiting connections is full). It is
// neither stopped nor free to be started again.
inline constexpr qint64 kNotAnswering = -1;

// What find() gives when this process cannot ask at all (out of descriptors or
// memory): whether the clock runs is unknown, and it must not be taken for stopped.
inline constexpr qint64 kChannelFailed = -2;

// How long a caller waits for another clock to finish its shutdown. A healthy clock
// needs a few milliseconds; a hung one must not hang the caller with it.
inline constexpr int kCloseTimeoutMs = 5000;

// The line between clock processes of one user: find a running clock by its name,
// bring its window forward, open its settings, ask it to close. Each running clock answers under
// its own name; nothing else records which clocks run.
class InstanceChannel {
public:
    virtual ~InstanceChannel() = default;

    // The process id of the running clock of that name, 0 when none runs,
    // kNotAnswering or kChannelFailed.
    // With bringForward its window is also raised and activated.
    virtual qint64 find(const QString& clockName, bool bringForward) = 0;

    // Asks the clock to shut down and returns once it has (its settings are then
    // stored), or after timeoutMs.
    virtual CloseOutcome close(const QString& clockName, int timeoutMs) = 0;

    // Asks the clock to open its settings dialog with the keyboard.
    virtual SettingsOutcome showSettings(const QString& clockName) = 0;

    // Why the last call gave kChannelFailed or CloseOutcome::Failed.
    virtual QString problem() const { return {}; }
};

} // namespace ovra
