#include "alarms/soundeffectalarmsound.h"

#include "alarms/soundmodule.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>
#include <QUrl>

namespace ovra {

void SoundEffectAlarmSound::play(const QString& path) {
    if (!m_effect) {
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setLoopCount(QSoundEffect::Infinite);
        // The file is decoded in the background; one it cannot decode ends there.
        QObject::connect(m_effect.get(), &QSoundEffect::statusChanged, m_effect.get(), [this] {
            if (m_effect->status() == QSoundEffect::Error && m_problem)
                m_problem(QCoreApplication::translate("ovra::AlarmSound", "%1 cannot be played")
                              .arg(QFileInfo(m_effect->source().toLocalFile()).fileName()));
        });
    }
    m_effect->stop();
    // A missing file or one that is no WAV leaves the effect in its error state:
    // silence, and the reason for the notice.
    m_effect->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
    if (path.isEmpty())
        return;
    m_effect->play();
    if (QMediaDevices::audioOutputs().isEmpty() && m_problem)
        m_problem(QCoreApplication::translate("ovra::AlarmSound", "no audio output"));
}

void SoundEffectAlarmSound::stop() {
    if (m_effect)
        m_effect->stop();
}

} // namespace ovra

extern "C" Q_DECL_EXPORT ovra::AlarmSound* ovra_create_alarm_sound_2() {
    return new ovra::SoundEffectAlarmSound;
}
