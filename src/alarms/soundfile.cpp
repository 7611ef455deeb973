#include "alarms/soundfile.h"

#include "base/regularfile.h"
#include "base/textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovra {

namespace {

// WAVE format tags: integer PCM, float, and the extensible header that names one
// of the two in its sub-format.
constexpr quint16 kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
// The sub-format's GUID after its first two bytes, which hold the tag.
constexpr char kSubFormatTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
// Chunks looked at before the samples; real files have a handful.
constexpr int kMaxChunks = 64;

template <typename T> T little(QByteArrayView bytes, qint64 at) {
    return qFromLittleEndian<T>(bytes.constData() + at);
}

// The fields of a fmt chunk of length bytes at body; the fault stays NotWav for
// one too short to hold them.
WavHeader readFormat(QByteArrayView bytes, qint64 body, qint64 length) {
    WavHeader h;
    if (length < 16)
        return h;
    quint16 tag = little<quint16>(bytes, body);
    h.channels = little<quint16>(bytes, body + 2);
    h.rate = little<quint32>(bytes, body + 4);
    const quint32 byteRate = little<quint32>(bytes, body + 8);
    const quint16 blockAlign = little<quint16>(bytes, body + 12);
    h.bits = little<quint16>(bytes, body + 14);
    if (tag == kExtensible) {
        // cbSize, valid bits, channel mask, sub-format GUID.
        if (length < 40 || little<quint16>(bytes, body + 16) < 22 ||
            little<quint16>(bytes, body + 18) > h.bits ||
            bytes.sliced(body + 26, 14) != QByteArrayView(kSubFormatTail, 14)) {
            h.fault = WavHeader::Fault::Encoding;
            return h;
        }
        tag = little<quint16>(bytes, body + 24);
    }
    h.isFloat = tag == kFloat;
    const bool pcm = tag == kPcm && (h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32);
    if (!pcm && !(h.isFloat && h.bits == 32))
        h.fault = WavHeader::Fault::Encoding;
    else if (h.channels < kMinSoundChannels || h.channels > kMaxSoundChannels)
        h.fault = WavHeader::Fault::Channels;
    else if (h.rate < kMinSoundRate || h.rate > kMaxSoundRate)
        h.fault = WavHeader::Fault::Rate;
    // Both follow from the fields above; a header that contradicts itself is damaged.
    else if (blockAlign != h.frameBytes() || byteRate != h.rate * blockAlign)
        h.fault = WavHeader::Fault::NotWav;
    else
        h.fault = WavHeader::Fault::None;
    return h;
}

} // namespace

WavHeader readWavHeader(QByteArrayView bytes) {
    const qint64 size = bytes.size();
    // The RIFF length is not checked: writers that stream often leave it wrong,
    // and only the chunks below are read.
    if (size < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "WAVE")
        return {};
    std::optional<WavHeader> format;
    qint64 at = 12;
    for (int i = 0; i < kMaxChunks && at + 8 <= size; ++i) {
        const QByteArrayView id = bytes.sliced(at, 4);
        const qint64 length = little<quint32>(bytes, at + 4);
        const qint64 body = at + 8;
        if (length > size - body)
            return {};
        if (id == "data") {
            if (!format)
                return {};
            WavHeader h = *format;
            if (h.fault == WavHeader::Fault::None) {
                h.dataOffset = body;
                h.dataBytes = length - length % h.frameBytes();
                if (h.dataBytes == 0)
                    h.fault = WavHeader::Fault::Empty;
            }
            return h;
        }
        if (id == "fmt ") {
            format = readFormat(bytes, body, length);
            if (format->fault == WavHeader::Fault::NotWav)
                return {};
        }
        at = body + length + (length & 1); // chunks are padded to even lengths
    }
    return {};
}

QString wavFaultText(const WavHeader& header, const QString& fileName) {
    switch (header.fault) {
    case WavHeader::Fault::None:
        return {};
    case WavHeader::Fault::NotWav:
        break;
    case WavHeader::Fault::Encoding:
        //: %1 is the name of a sound file.
        return QCoreApplication::translate("ovra::AlarmSound",
                                           "%1 is not 8, 16, 24 or 32-bit PCM or 32-bit float")
            .arg(fileName);
    case WavHeader::Fault::Channels:
        //: %1 is the name of a sound file, %2 the channels its header claims, %3 to %4
        //: the channels a sound may have.
        return QCoreApplication::translate("ovra::AlarmSound",
                                           "%1 has %2 channels, where %3 to %4 can be played")
            .arg(fileName)
            .arg(header.channels)
            .arg(kMinSoundChannels)
            .arg(kMaxSoundChannels);
    case WavHeader::Fault::Rate:
        //: %1 is the name of a sound file, %2 the samples a second its header claims, %3
        //: to %4 the rates a sound may have.
        return QCoreApplication::translate(
                   "ovra::AlarmSound", "%1 has %2 samples a second, where %3 to %4 can be played")
            .arg(fileName)
            .arg(header.rate)
            .arg(kMinSoundRate)
            .arg(kMaxSoundRate);
    case WavHeader::Fault::Empty:
        //: %1 is the name of a sound file.
        return QCoreApplication::translate("ovra::AlarmSound", "%1 holds no sound").arg(fileName);
    }
    //: %1 is the name of a sound file.
    return QCoreApplication::translate("ovra::AlarmSound",
                                       "%1 is not a WAV file that can be played")
        .arg(fileName);
}

SoundFileContents readSoundFile(const QString& path) {
    SoundFileContents sound;
    const QString name = QFileInfo(path).fileName();
    const auto unreadable = [&] {
        //: %1 is the name of a sound file.
        sound.problem =
            QCoreApplication::translate("ovra::AlarmSound", "%1 cannot be read").arg(name);
        return sound;
    };
    // In a folder that others may write, the file and its name may be someone else's.
    struct stat folder {};
    const bool shared =
        ::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &folder) != 0 ||
        othersMayWrite(folder.st_mode, folder.st_gid);
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; what was
    // opened is then judged by its descriptor, which nothing can swap.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (shared ? O_NOFOLLOW : 0));
    if (fd < 0)
        return unreadable();
    QFile file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (shared && (st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)))) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unreadable();
    }
    if (st.st_size > kMaxSoundFileBytes) {
        //: %1 is the name of a sound file.
        sound.problem =
            QCoreApplication::translate("ovra::AlarmSound", "%1 is larger than 50 MB").arg(name);
        return sound;
    }
    // What is read is what is checked and played, whatever happens to the file now.
    sound.bytes = file.read(st.st_size);
    sound.header = readWavHeader(sound.bytes);
    sound.problem = wavFaultText(sound.header, name);
    return sound;
}

QString soundFileProblem(const QString& path) {
    return readSoundFile(path).problem;
}

bool isOwnPrivateFile(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString shippedAlarmSound(const QString& executableFolder) {
    const QDir bin(executableFolder);
    const QString name = QStringLiteral("alarm.wav");
    for (const QString& folder :
         {bin.filePath(QStringLiteral("sounds")),
          QDir::cleanPath(bin.filePath(QStringLiteral(OVRA_SOUNDS_FROM_BIN)))}) {
        const QString file = QDir(folder).filePath(name);
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

QString chooseAlarmSound(const QString& soundFile, const QString& defaultPath,
                         const QString& shippedPath) {
    // A folder or anything else that is no file selects the default sound, as
    // "Default Alarm Sound" (which names no file) does.
    const QString own = cleanString(soundFile);
    if (fileExists(own) && QFileInfo(own).isFile())
        return own;
    if (isOwnPrivateFile(defaultPath))
        return defaultPath;
    return QFileInfo(shippedPath).isFile() ? shippedPath : QString();
}

} // namespace ovra
