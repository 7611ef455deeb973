#pragma once

#include "alarms/soundmodule.h"

#include <QIODevice>

#include <memory>

class QAudioSink;

namespace ovra {

// The samples, over and over, for an audio sink to pull from.
class LoopedSamples final : public QIODevice {
public:
    explicit LoopedSamples(QByteArray data);
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* out, qint64 max) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_at = 0;
};

// The alarm sound on a QAudioSink, fed from memory. It is the sound module's one
// class; the clock loads the module (LoadedAlarmSound) on the first alarm, and the
// module opens the audio output then.
class AudioSinkSound final : public SoundBackend {
public:
    AudioSinkSound();
    ~AudioSinkSound() override;
    void play(const SoundSamples& samples) override;
    void stop() override;
    void onProblem(AlarmSound::Problem problem) override { m_problem = std::move(problem); }

private:
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<LoopedSamples> m_samples; // outlives m_sink, which reads it
    AlarmSound::Problem m_problem;
};

} // namespace ovra
