#include "alarms/soundeffectalarmsound.h"

#include "base/regularfile.h"

#include <QUrl>

namespace ovra {

void SoundEffectAlarmSound::play(const QString& path) {
    if (!m_effect) {
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setLoopCount(QSoundEffect::Infinite);
    }
    m_effect->stop();
    // A missing file or one that is no WAV leaves the effect in its error state:
    // silence, as wanted. A FIFO or device is never handed to the loader, which
    // would block on it and hold up the process's end.
    if (pathKind(path) == PathKind::Other) {
        m_effect->setSource(QUrl());
        return;
    }
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->play();
}

void SoundEffectAlarmSound::stop() {
    if (m_effect)
        m_effect->stop();
}

} // namespace ovra
