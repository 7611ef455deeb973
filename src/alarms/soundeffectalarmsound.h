#pragma once

#include "alarms/alarmsound.h"

#include <QSoundEffect>

#include <memory>

namespace ovra {

// The alarm sound on QSoundEffect: a WAV file looped without end. The effect (and
// with it the audio back end) is made on the first alarm, not at start-up.
class SoundEffectAlarmSound final : public AlarmSound {
public:
    void play(const QString& path) override;
    void stop() override;

    // The effect once made, for looking at its state; null before the first play.
    const QSoundEffect* effect() const { return m_effect.get(); }

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

} // namespace ovra
