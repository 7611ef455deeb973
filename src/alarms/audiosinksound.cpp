#include "alarms/audiosinksound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace ovra {

namespace {

// The audio output takes no packed 24-bit samples: each becomes the top three
// bytes of a 32-bit one (both little-endian, as the file and the machine are).
QByteArray widen24(const QByteArray& data) {
    QByteArray wide;
    wide.reserve(data.size() / 3 * 4);
    for (qsizetype at = 0; at + 3 <= data.size(); at += 3)
        wide.append('\0').append(data.constData() + at, 3);
    return wide;
}

QAudioFormat::SampleFormat sampleFormat(const SoundSamples& samples) {
    if (samples.isFloat)
        return QAudioFormat::Float;
    switch (samples.bits) {
    case 8:
        return QAudioFormat::UInt8;
    case 16:
        return QAudioFormat::Int16;
    default: // 24 bits are widened to 32
        return QAudioFormat::Int32;
    }
}

} // namespace

LoopedSamples::LoopedSamples(QByteArray data) : m_data(std::move(data)) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 LoopedSamples::bytesAvailable() const {
    return m_data.size() + QIODevice::bytesAvailable();
}

qint64 LoopedSamples::readData(char* out, qint64 max) {
    // Nothing to loop over gives nothing, rather than a loop without end.
    if (m_data.isEmpty())
        return 0;
    qint64 done = 0;
    while (done < max) {
        const qint64 n = std::min(max - done, qint64(m_data.size()) - m_at);
        std::memcpy(out + done, m_data.constData() + m_at, size_t(n));
        done += n;
        m_at = (m_at + n) % m_data.size();
    }
    return done;
}

AudioSinkSound::AudioSinkSound() = default;

AudioSinkSound::~AudioSinkSound() {
    stop();
}

void AudioSinkSound::play(const SoundSamples& samples) {
    stop();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
        if (m_problem)
            m_problem(QCoreApplication::translate("ovra::AlarmSound", "no audio output"));
        return;
    }
    QAudioFormat format;
    format.setSampleRate(samples.rate);
    format.setChannelCount(samples.channels);
    format.setSampleFormat(sampleFormat(samples));
    m_samples = std::make_unique<LoopedSamples>(
        samples.bits == 24 && !samples.isFloat ? widen24(samples.data) : samples.data);
    m_sink = std::make_unique<QAudioSink>(output, format);
    // The output refuses the format or goes away: silence, and the reason for the notice.
    QObject::connect(
        m_sink.get(), &QAudioSink::stateChanged, m_sink.get(),
        [this, sink = m_sink.get(), name = samples.name](QAudio::State state) {
            if (state == QAudio::StoppedState && sink->error() != QAudio::NoError && m_problem)
                m_problem(QCoreApplication::translate("ovra::AlarmSound", "%1 cannot be played")
                              .arg(name));
        });
    m_sink->start(m_samples.get());
}

void AudioSinkSound::stop() {
    if (m_sink) {
        m_sink->disconnect();
        m_sink->stop();
    }
    m_sink.reset();
    m_samples.reset();
}

} // namespace ovra

extern "C" Q_DECL_EXPORT ovra::SoundBackend* ovra_create_alarm_sound_3() {
    return new ovra::AudioSinkSound;
}
