#pragma once

#include <QString>

#include <functional>

namespace ovra {

// The alarm sound: plays a file over and over until stopped, in the background.
// A file that cannot be played gives silence, and the problem handler hears why.
class AlarmSound {
public:
    // Why nothing is heard, as a short translated phrase ("no audio output").
    using Problem = std::function<void(const QString& why)>;

    virtual ~AlarmSound() = default;
    // Replaces whatever is playing.
    virtual void play(const QString& path) = 0;
    virtual void stop() = 0;
    // Where the reasons of the sounds played from now on go; they may come after
    // play() returns, from the event loop. An empty function drops them.
    virtual void onProblem(Problem problem) = 0;
};

} // namespace ovra
