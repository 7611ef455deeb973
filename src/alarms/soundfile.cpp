#include "alarms/soundfile.h"

#include "base/regularfile.h"
#include "base/textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

namespace ovra {

namespace {

// WAVE format tags the sound back end decodes: integer PCM, float, extensible.
constexpr quint16 kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
// Chunks looked at before the samples; real files have a handful.
constexpr int kMaxChunks = 64;

// Whether the RIFF structure holds what its header claims: a format the back end
// plays, then a data chunk that fits in the file. A header that claims gigabytes
// of samples would otherwise be believed.
bool wavHeaderMatches(QFile& file) {
    const qint64 size = file.size();
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return false;
    qint64 at = 12;
    bool format = false;
    for (int i = 0; i < kMaxChunks && at + 8 <= size; ++i) {
        if (!file.seek(at))
            return false;
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8)
            return false;
        const qint64 length = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const qint64 body = at + 8;
        if (chunk.startsWith("data"))
            return format && length <= size - body;
        if (length > size - body)
            return false;
        if (chunk.startsWith("fmt ")) {
            const QByteArray fmt = file.read(16);
            if (length < 16 || fmt.size() < 16)
                return false;
            const auto tag = qFromLittleEndian<quint16>(fmt.constData());
            const auto channels = qFromLittleEndian<quint16>(fmt.constData() + 2);
            const auto rate = qFromLittleEndian<quint32>(fmt.constData() + 4);
            const auto bits = qFromLittleEndian<quint16>(fmt.constData() + 14);
            format = (tag == kPcm || tag == kFloat || tag == kExtensible) && channels > 0 &&
                     rate > 0 && bits > 0;
            if (!format)
                return false;
        }
        at = body + length + (length & 1); // chunks are padded to even lengths
    }
    return false;
}

} // namespace

QString soundFileProblem(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file;
    if (!openRegularFileForReading(file, path))
        //: %1 is the name of a sound file.
        return QCoreApplication::translate("ovra::AlarmSound", "%1 cannot be read").arg(name);
    if (file.size() > kMaxSoundFileBytes)
        //: %1 is the name of a sound file.
        return QCoreApplication::translate("ovra::AlarmSound", "%1 is larger than 50 MB").arg(name);
    if (!wavHeaderMatches(file))
        //: %1 is the name of a sound file.
        return QCoreApplication::translate("ovra::AlarmSound",
                                           "%1 is not a WAV file that can be played")
            .arg(name);
    return {};
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
    const QString own = CleanString(soundFile);
    if (FileExists(own) && QFileInfo(own).isFile())
        return own;
    if (isOwnPrivateFile(defaultPath))
        return defaultPath;
    return QFileInfo(shippedPath).isFile() ? shippedPath : QString();
}

} // namespace ovra
