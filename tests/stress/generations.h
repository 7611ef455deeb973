#pragma once

// What the crash test's writer saves in its generation g, and how a checker tells
// which generation a file or a store holds. Consecutive generations differ in every
// value and in the alarm file's length (0 to 5 records; none means no file), so a
// mixture of two generations or a cut file matches none of them.
#include "alarms/alarmtable.h"
#include "settings/keystore.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <optional>

namespace ovra::test {

void fillAlarmGeneration(AlarmTable& table, qint64 generation);
QByteArray alarmFileOf(qint64 generation);
// The generation among the candidates whose alarm file is exactly these bytes
// (nothing for a missing file).
std::optional<qint64> alarmGenerationOf(const std::optional<QByteArray>& file,
                                        std::initializer_list<qint64> candidates);

inline const QString kCrashClock = QStringLiteral("Crash Test");
// StoreError::None when all 22 values were written.
StoreError writeSettingsGeneration(KeyStore& store, qint64 generation);
// 0 when the clock has no stored values, the generation when all 22 values are
// those of one generation, nothing for any mixture or damage.
std::optional<qint64> settingsGenerationOf(KeyStore& store);

} // namespace ovra::test
