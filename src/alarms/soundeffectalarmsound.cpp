#include "alarms/soundeffectalarmsound.h"

#include "alarms/soundmodule.h"

#include <QUrl>

namespace ovra {

void SoundEffectAlarmSound::play(const QString& path) {
    if (!m_effect) {
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setLoopCount(QSoundEffect::Infinite);
    }
    m_effect->stop();
    // A missing file or one that is no WAV leaves the effect in its error state:
    // silence, as wanted.
    m_effect->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
    if (!path.isEmpty())
        m_effect->play();
}

void SoundEffectAlarmSound::stop() {
    if (m_effect)
        m_effect->stop();
}

} // namespace ovra

extern "C" Q_DECL_EXPORT ovra::AlarmSound* ovra_create_alarm_sound_1() {
    return new ovra::SoundEffectAlarmSound;
}
