#pragma once

#include "alarms/alarmtable.h"
#include "base/messagesink.h"

#include <QByteArray>
#include <QString>

class QIODevice;

#include <cstdint>

namespace ovra {

inline const QString kAlarmReadFailed =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Reading configuration file failed! "));
inline const QString kAlarmSaveFailed =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Saving configuration file failed! "));

// The alarm file is the table's records back to back, 566 bytes each, no header.

// Fills the table from the file. 0 when it was read; 1 when it does not exist (no
// message) or could not be read, or held more than 128 records (message; the
// records read so far stay). A trailing partial record is left out.
int32_t loadAlarmFile(AlarmTable& table, const QString& path, MessageSink& messages);

// The records of an open device, read the way loadAlarmFile reads its file.
int32_t readAlarmRecords(AlarmTable& table, QIODevice& device, MessageSink& messages);

// The file's contents for the table: its records back to back.
QByteArray alarmFileBytes(const AlarmTable& table);

// Writes the table to the file; an empty table removes the file. The new contents
// replace the old file in one rename, so a failure (full disk, folder not
// writable) leaves the old file as it was; it shows the message and returns 1.
// The alarm editor calls this after every change, with the clock's AlarmFilePath.
int32_t saveAlarmFile(const AlarmTable& table, const QString& path, MessageSink& messages);

} // namespace ovra
