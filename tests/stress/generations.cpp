#include "stress/generations.h"

#include "alarms/alarmfile.h"
#include "settings/clocksettings.h"
#include "settings/settingsstore.h"

namespace ovra::test {

namespace {
int recordsOf(qint64 generation) {
    return int(generation % 6);
}

int32_t settingOf(qint64 generation, int field) {
    return int32_t(generation * 31 + field);
}
} // namespace

void fillAlarmGeneration(AlarmTable& table, qint64 generation) {
    table.clear();
    for (int i = 0; i < recordsOf(generation); ++i) {
        AlarmRecord r;
        r.AlarmTime = alarmTimeOf(int((generation + i) % 24), int((generation * 7 + i) % 60));
        r.status = int32_t(generation);
        r.Action = i;
        r.PlayTime = int32_t(generation % 5);
        for (size_t b = 0; b < r.Reserved.size(); ++b)
            r.Reserved[b] = uint8_t(generation >> (8 * (b % 8)));
        r.Note = QStringLiteral("generation %1, alarm %2").arg(generation).arg(i);
        r.SoundFile = QStringLiteral("sound %1.wav").arg(generation);
        table.appendLoaded(r);
    }
}

QByteArray alarmFileOf(qint64 generation) {
    AlarmTable table;
    fillAlarmGeneration(table, generation);
    return alarmFileBytes(table);
}

std::optional<qint64> alarmGenerationOf(const std::optional<QByteArray>& file,
                                        std::initializer_list<qint64> candidates) {
    for (const qint64 g : candidates) {
        if (!file ? recordsOf(g) == 0 : recordsOf(g) > 0 && *file == alarmFileOf(g))
            return g;
    }
    return std::nullopt;
}

int writeSettingsGeneration(KeyStore& store, qint64 generation) {
    ClockState state;
    state.clockName = kCrashClock;
    for (size_t f = 0; f < kSettingsFields.size(); ++f)
        state.settings.*kSettingsFields[f].member = settingOf(generation, int(f));
    return writeClockSettings(store, state);
}

std::optional<qint64> settingsGenerationOf(KeyStore& store) {
    const QString key = clockKeyPath(kCrashClock);
    std::optional<qint64> generation;
    int missing = 0;
    for (size_t f = 0; f < kSettingsFields.size(); ++f) {
        const QString name = QString::fromUtf16(kSettingsFields[f].name);
        if (std::holds_alternative<std::monostate>(store.readValue(key, name))) {
            ++missing;
            continue;
        }
        const std::optional<int32_t> value = store.readInteger(key, name);
        if (!value)
            return std::nullopt;
        if (kSettingsFields[f].member == &ClockSettings::Enable) { // always stored as 1
            if (*value != 1)
                return std::nullopt;
            continue;
        }
        const qint64 g = (qint64(*value) - qint64(f)) / 31;
        if (settingOf(g, int(f)) != *value || (generation && *generation != g))
            return std::nullopt;
        generation = g;
    }
    if (missing == int(kSettingsFields.size()))
        return 0;
    return missing == 0 ? generation : std::nullopt;
}

} // namespace ovra::test
