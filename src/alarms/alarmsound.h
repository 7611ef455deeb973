#pragma once

#include <QString>

namespace ovra {

// The alarm sound: plays a file over and over until stopped, in the background.
// A file that cannot be played gives silence; there is no fallback sound.
class AlarmSound {
public:
    virtual ~AlarmSound() = default;
    // Replaces whatever is playing.
    virtual void play(const QString& path) = 0;
    virtual void stop() = 0;
};

} // namespace ovra
