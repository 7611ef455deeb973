#include "alarms/alarmfile.h"

#include "base/regularfile.h"
#include "base/textutil.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace ovra {

namespace {

// The record count the file claims: its length over 566, rounded to the nearest
// whole number with a half going to the even neighbour. It decides whether a file
// counts as holding more than 128 records; only whole records are read.
qint64 claimedRecords(qint64 fileSize) {
    return static_cast<qint64>(std::nearbyint(double(fileSize) / kAlarmRecordSize));
}

int32_t readFailed(MessageSink& messages, const QString& detail = {}) {
    messages.showMessage(detail.isEmpty() ? kAlarmReadFailed
                                          : translatedMessage(kAlarmReadFailed) + u'\n' + detail,
                         kPlainTitle, MessageIcon::Warning);
    return 1;
}

int32_t saveFailed(MessageSink& messages, const QString& detail = {}) {
    messages.showMessage(detail.isEmpty() ? kAlarmSaveFailed
                                          : translatedMessage(kAlarmSaveFailed) + u'\n' + detail,
                         kPlainTitle, MessageIcon::Warning);
    return 1;
}

// Alarm notes are private: only the owner reads the file.
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kSharedBits = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                 QFileDevice::WriteOther | QFileDevice::ExeOther;

} // namespace

int32_t loadAlarmFile(AlarmTable& table, const QString& path, MessageSink& messages) {
    table.clear();
    if (!fileExists(path))
        return 1;
    const QString source = cleanString(path);
    QFile file;
    QString problem;
    if (!openRegularFileForReading(file, source, &problem))
        return readFailed(messages, pathKind(source) == PathKind::Other ? problem : QString());
    // A file written before alarm files were kept private is tightened on sight.
    if (file.permissions() & kSharedBits)
        QFile::setPermissions(source, kPrivateFile);
    return readAlarmRecords(table, file, messages);
}

int32_t readAlarmRecords(AlarmTable& table, QIODevice& device, MessageSink& messages) {
    table.clear();
    const qint64 records = claimedRecords(device.size());
    for (qint64 i = 0; i < records; ++i) {
        if (table.isFull())
            return readFailed(messages);
        const QByteArray bytes = device.read(kAlarmRecordSize);
        if (bytes.isEmpty() && !device.atEnd())
            return readFailed(messages);
        if (bytes.size() < kAlarmRecordSize)
            break; // the partial record the rounding asked for
        table.appendLoaded(AlarmRecord::fromBytes(bytes));
    }
    return 0;
}

QByteArray alarmFileBytes(const AlarmTable& table) {
    QByteArray data;
    data.reserve(qsizetype(table.alarmCount()) * kAlarmRecordSize);
    for (int i = 0; i < table.alarmCount(); ++i)
        data += table.at(i).toBytes();
    return data;
}

int32_t saveAlarmFile(const AlarmTable& table, const QString& path, MessageSink& messages) {
    const QString target = cleanString(path);
    if (table.alarmCount() == 0) {
        // A clock without alarms has no file. If the old one cannot go, it would
        // bring the deleted alarms back at the next start: say so.
        if (!mayReplaceWithFile(target))
            return saveFailed(messages, notRegularFileText(target));
        if (fileExists(target) && !QFile::remove(target))
            return saveFailed(messages);
        return 0;
    }
    // The new contents are renamed over the old file: a folder, FIFO or device
    // there is not the alarm file and must not be replaced.
    if (!mayReplaceWithFile(target))
        return saveFailed(messages, notRegularFileText(target));

    const QByteArray data = alarmFileBytes(table);
    QSaveFile file(target);
    // Unbuffered, so a short write (full disk, size limit) shows in write()'s count;
    // through the buffer Qt would report the whole block written and commit a
    // truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return saveFailed(messages);
    // Set on the temporary file, so the renamed file is never readable by others.
    file.setPermissions(kPrivateFile);
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return saveFailed(messages);
    }
    if (!file.commit())
        return saveFailed(messages);
    return 0;
}

} // namespace ovra
