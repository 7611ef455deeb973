#include "settings/settingsstore.h"

#include "time/zonetable.h"

namespace ovra {

QString clockKeyPath(const QString& clockName) {
    return kOvraKey + u'\\' + clockName;
}

int writeClockSettings(KeyStore& store, const ClockState& state) {
    const QString key = clockKeyPath(state.clockName);
    int result = status::Success;
    const int rc = store.transaction([&] {
        for (const auto& field : kSettingsFields) {
            const int32_t value =
                field.member == &ClockSettings::Enable ? 1 : state.settings.*field.member;
            result = store.writeInteger(key, QString::fromUtf16(field.name), value);
            if (result != status::Success)
                return false;
        }
        return true;
    });
    return result != status::Success ? result : rc;
}

int writeClockPosition(KeyStore& store, const ClockState& state) {
    const QString key = clockKeyPath(state.clockName);
    const ClockSettings& s = state.settings;
    int result = status::Success;
    const int rc = store.transaction([&] {
        for (const auto& [name, value] : {std::pair{u"MonitorID", s.MonitorID},
                                          std::pair{u"Left", s.Left}, std::pair{u"Top", s.Top}}) {
            result = store.writeInteger(key, QString::fromUtf16(name), value);
            if (result != status::Success)
                return false;
        }
        return true;
    });
    return result != status::Success ? result : rc;
}

void takeComputerZone(ClockState& state) {
    const int row = state.computerZoneIndex >= 0 ? state.computerZoneIndex
                                                 : zoneIndexForOffset(-state.LocalBiasMinutes);
    if (row >= 0) {
        state.zoneOffsetMinutes = -state.LocalBiasMinutes;
        state.settings.TimeZoneIndex = row;
    }
    // The computer's zone decides; a name stored for this clock does not.
    state.settings.TimeZoneName.clear();
    state.namedZone = QTimeZone();
}

ClockTimeInput clockTimeInput(const ClockState& state) {
    return {state.isDefaultClock(), state.zoneOffsetMinutes, state.settings.TimeStandard,
            state.settings.TimeZoneIndex, state.namedZone};
}

int32_t readClockSettings(KeyStore& store, ClockState& target, int* status) {
    int ignored = 0;
    int& failure = status ? *status : ignored;
    failure = status::Success;
    // A record read half way would be a mix of stored values and defaults: the
    // fields go into a copy that replaces the state only once every read succeeded.
    ClockState state = target;
    const QString key = clockKeyPath(state.clockName);
    ClockSettings& s = state.settings;
    auto readInto = [&](int32_t& field, const char16_t* name) {
        if (failure != status::Success)
            return;
        int rc = status::Success;
        const auto value = store.readInteger(key, QString::fromUtf16(name), &rc);
        if (rc != status::Success && rc != status::NotFound)
            failure = rc;
        else if (value)
            field = *value;
    };

    int32_t enable = 0;
    readInto(enable, u"Enable");

    if (enable == 0 || state.isDefaultClock()) {
        takeComputerZone(state);
    } else {
        readInto(s.TimeZoneIndex, u"TimeZoneIndex");
        if (const ZoneEntry* zone = zoneAt(s.TimeZoneIndex))
            state.zoneOffsetMinutes = zone->offsetMinutes;
        if (failure == status::Success) {
            int rc = status::Success;
            const QString name = store.readText(key, kZoneNameValue, &rc);
            if (rc != status::Success && rc != status::NotFound)
                failure = rc;
            s.TimeZoneName = name.trimmed().toUtf8();
            // A name this computer's database lacks (a newer one's) leaves the row.
            state.namedZone = s.TimeZoneName.isEmpty() ? QTimeZone() : QTimeZone(s.TimeZoneName);
        }
    }

    for (const auto& field : kSettingsFields) {
        if (field.member == &ClockSettings::Enable || field.member == &ClockSettings::TimeZoneIndex)
            continue;
        readInto(s.*field.member, field.name);
    }
    if (failure != status::Success)
        return 0;
    s.Enable = enable;
    target = state;
    return enable;
}

int loadClockSettings(KeyStore& store, ClockState& state) {
    int rc = status::Success;
    readClockSettings(store, state, &rc);
    normalizeSettings(state.settings);
    return rc;
}

} // namespace ovra
