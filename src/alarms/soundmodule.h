#pragma once

#include "alarms/alarmsound.h"

#include <QByteArray>
#include <QString>

namespace ovra {

// The samples of a WAV file that passed every check of readWavHeader, as the clock
// hands them to its sound module. The module never opens a file: what it plays is
// what was checked.
struct SoundSamples {
    QString name;    // the file's name, for the reasons
    QByteArray data; // whole frames, little-endian as in the file
    int channels = 0;
    int rate = 0;
    int bits = 0; // 8 (unsigned), 16, 24 or 32
    bool isFloat = false;
};

// The module's sound: loops the samples until stopped, in the background. A format
// the audio output refuses gives silence, and the problem handler hears why.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // Replaces whatever is playing.
    virtual void play(const SoundSamples& samples) = 0;
    virtual void stop() = 0;
    virtual void onProblem(AlarmSound::Problem problem) = 0;
};

// The alarm sound's back end is built as a module of its own, loaded when the
// first alarm sounds. Its one entry makes a new sound for the caller to own; the
// number in the name changes whenever SoundBackend or SoundSamples do, so that a
// module left over from another version is refused instead of called.
inline constexpr char kSoundModuleName[] = "ovra-clock-sound";
inline constexpr char kSoundModuleEntry[] = "ovra_create_alarm_sound_3";
using CreateSoundBackend = SoundBackend* (*)();

} // namespace ovra
