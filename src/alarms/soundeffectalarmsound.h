#pragma once

#include "alarms/alarmsound.h"

#include <QSoundEffect>

#include <memory>

namespace ovra {

// The alarm sound on QSoundEffect: a WAV file looped without end. It is the sound
// module's one class; the clock loads the module (LoadedAlarmSound) on the first
// alarm, and the module makes the effect and the audio back end then. The caller
// hands it no FIFO or device, which the loader would block on.
class SoundEffectAlarmSound final : public AlarmSound {
public:
    void play(const QString& path) override;
    void stop() override;
    void onProblem(Problem problem) override { m_problem = std::move(problem); }

    // The effect once made, for looking at its state; null before the first play.
    const QSoundEffect* effect() const { return m_effect.get(); }

private:
    std::unique_ptr<QSoundEffect> m_effect;
    Problem m_problem;
};

} // namespace ovra
