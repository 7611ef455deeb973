#include "settings/settingsstore.h"

#include "time/zonetable.h"

#include <cmath>

namespace ovra {

namespace {
using S = ClockSettings;
using D = ScreenDensity;

// A twip is 1/1440 inch, the unit positions have been stored in from the start.
double twipsPerPixel(double dpi) {
    return dpi > 0 ? 1440.0 / dpi : 15;
}

int toPixels(int32_t twips, double dpi) {
    return int(std::lround(twips / twipsPerPixel(dpi)));
}

int32_t toTwips(int pixels, double dpi) {
    return int32_t(std::lround(pixels * twipsPerPixel(dpi)));
}

// A position is written back in the twips it was read in as long as it still
// stands on the pixel those twips convert to.
int32_t storedCoordinate(int pixels, const std::optional<int32_t>& read, double dpi) {
    return read && toPixels(*read, dpi) == pixels ? *read : toTwips(pixels, dpi);
}

// A flag as stored: its value for true, and whether a stored number means true.
// A number that is neither 0 nor 1 is written back as it was read while the flag
// keeps the meaning it was read with.
struct Flag {
    bool S::*member;
    std::optional<int32_t> AsStored::*read;
    int32_t whenTrue;
    bool (*means)(int32_t);
};
constexpr Flag kStartAtLogin{&S::startAtLogin, &AsStored::startAtLogin, 0, [](int32_t v) {
                                 return v == 0;
                             }};
constexpr Flag kAlwaysOnTop{&S::alwaysOnTop, &AsStored::alwaysOnTop, 1, [](int32_t v) {
                                return v == 1;
                            }};
constexpr Flag kShowScale{&S::showScale, &AsStored::showScale, 0, [](int32_t v) {
                              return v == 0;
                          }};

template <const Flag& F> int32_t storedFlag(const S& s, const D&) {
    const bool value = s.*F.member;
    const std::optional<int32_t>& read = s.asStored.*F.read;
    if (read && F.means(*read) == value)
        return *read;
    return value ? F.whenTrue : 1 - F.whenTrue;
}
template <const Flag& F> void takeFlag(S& s, int32_t v, const D&) {
    s.*F.member = F.means(v);
    s.asStored.*F.read = v;
}

template <int S::*M> int32_t storedInt(const S& s, const D&) {
    return s.*M;
}
template <int S::*M> void takeInt(S& s, int32_t v, const D&) {
    s.*M = v;
}

template <QColor S::*M> int32_t storedColour(const S& s, const D&) {
    return int32_t((s.*M).rgba());
}
template <QColor S::*M> void takeColour(S& s, int32_t v, const D&) {
    s.*M = QColor::fromRgba(QRgb(uint32_t(v)));
}

template <typename E, E S::*M> int32_t storedEnum(const S& s, const D&) {
    return int32_t(s.*M);
}
template <typename E, E S::*M> void takeEnum(S& s, int32_t v, const D&) {
    s.*M = E(v);
}
} // namespace

const std::array<SettingsField, 22> kSettingsFields = {{
    // A written record is a stored one.
    {u"Enable", [](const S&, const D&) { return int32_t(1); },
     [](S& s, int32_t v, const D&) {
         s.enabled = v != 0;
     }},
    {u"TimeZoneIndex", storedInt<&S::timeZoneRow>, takeInt<&S::timeZoneRow>},
    {u"TimeStandard", storedEnum<TimeStandard, &S::timeStandard>,
     takeEnum<TimeStandard, &S::timeStandard>},
    {u"MonitorID", storedInt<&S::monitor>, takeInt<&S::monitor>},
    {u"Autorun", storedFlag<kStartAtLogin>, takeFlag<kStartAtLogin>},
    {u"Top",
     [](const S& s, const D& d) {
         return storedCoordinate(s.position.y(), s.asStored.top, d.dpiY);
     },
     [](S& s, int32_t v, const D& d) {
         s.position.setY(toPixels(v, d.dpiY));
         s.asStored.top = v;
     }},
    {u"Left",
     [](const S& s, const D& d) {
         return storedCoordinate(s.position.x(), s.asStored.left, d.dpiX);
     },
     [](S& s, int32_t v, const D& d) {
         s.position.setX(toPixels(v, d.dpiX));
         s.asStored.left = v;
     }},
    {u"AlwaysOnTop", storedFlag<kAlwaysOnTop>, takeFlag<kAlwaysOnTop>},
    {u"DisplayScale", storedFlag<kShowScale>, takeFlag<kShowScale>},
    {u"12/24Hour", storedEnum<HourMode, &S::hourMode>, takeEnum<HourMode, &S::hourMode>},
    {u"HourCircleWidth", storedInt<&S::hourRingWidth>, takeInt<&S::hourRingWidth>},
    {u"MinuteCircleWidth", storedInt<&S::minuteRingWidth>, takeInt<&S::minuteRingWidth>},
    {u"SecondCircleWidth", storedInt<&S::secondRingWidth>, takeInt<&S::secondRingWidth>},
    {u"ClockRadius", storedInt<&S::radius>, takeInt<&S::radius>},
    {u"BackgroundOpacity", storedInt<&S::opacityStep>, takeInt<&S::opacityStep>},
    {u"AM/24HourCircleColor", storedColour<&S::amHourColor>, takeColour<&S::amHourColor>},
    {u"PMHourCircleColor", storedColour<&S::pmHourColor>, takeColour<&S::pmHourColor>},
    {u"MinuteCircleColor", storedColour<&S::minuteColor>, takeColour<&S::minuteColor>},
    {u"SecondCircleColor", storedColour<&S::secondColor>, takeColour<&S::secondColor>},
    {u"TimeFontColor", storedColour<&S::timeTextColor>, takeColour<&S::timeTextColor>},
    {u"DateFontColor", storedColour<&S::dateTextColor>, takeColour<&S::dateTextColor>},
    {u"ClockScaleColor", storedColour<&S::scaleColor>, takeColour<&S::scaleColor>},
}};

namespace {
// The first two values are read before the others: whether the clock was stored,
// and its zone.
constexpr size_t kEnableField = 0, kZoneRowField = 1;

const SettingsField& field(std::u16string_view name) {
    for (const auto& f : kSettingsFields)
        if (name == f.name)
            return f;
    Q_UNREACHABLE();
}

StoreError writeFields(KeyStore& store, const ClockState& state,
                       std::initializer_list<std::u16string_view> only = {}) {
    const QString key = clockKeyPath(state.clockName);
    StoreError result = StoreError::None;
    const StoreError rc = store.transaction([&] {
        for (const auto& f : kSettingsFields) {
            if (only.size() > 0 && std::find(only.begin(), only.end(), f.name) == only.end())
                continue;
            result = store.writeInteger(key, QString::fromUtf16(f.name),
                                        f.stored(state.settings, state.density));
            if (result != StoreError::None)
                return false;
        }
        return true;
    });
    return result != StoreError::None ? result : rc;
}
} // namespace

QString clockKeyPath(const QString& clockName) {
    return kOvraKey + u'\\' + clockName;
}

StoreError writeClockSettings(KeyStore& store, const ClockState& state) {
    return writeFields(store, state);
}

StoreError writeClockPosition(KeyStore& store, const ClockState& state) {
    return writeFields(store, state, {u"MonitorID", u"Left", u"Top"});
}

StoreError writeNewClockPlace(KeyStore& store, const QString& clockName, QPoint positionPx,
                              TimeStandard standard, const ScreenDensity& density) {
    const QString key = clockKeyPath(clockName);
    ClockSettings s;
    s.position = positionPx;
    s.timeStandard = standard;
    for (const auto name : {u"Left", u"Top", u"TimeStandard"}) {
        const StoreError rc =
            store.writeInteger(key, QString::fromUtf16(name), field(name).stored(s, density));
        if (rc != StoreError::None)
            return rc;
    }
    return StoreError::None;
}

StoreError writeClockZone(KeyStore& store, const QString& clockName, int timeZoneRow,
                          const QByteArray& zoneName) {
    const QString key = clockKeyPath(clockName);
    const StoreError nameRc =
        zoneName.isEmpty() ? store.deleteValue(key, kZoneNameValue)
                           : store.writeText(key, kZoneNameValue, QString::fromUtf8(zoneName));
    if (nameRc != StoreError::None && nameRc != StoreError::NotFound)
        return nameRc;
    ClockSettings s;
    s.timeZoneRow = timeZoneRow;
    for (const size_t i : {kEnableField, kZoneRowField}) {
        const SettingsField& f = kSettingsFields[i];
        const StoreError rc = store.writeInteger(key, QString::fromUtf16(f.name), f.stored(s, {}));
        if (rc != StoreError::None)
            return rc;
    }
    return StoreError::None;
}

void takeComputerZone(ClockState& state) {
    const int row = state.computerZoneIndex >= 0 ? state.computerZoneIndex
                                                 : zoneIndexForOffset(state.computerOffsetMinutes);
    if (row >= 0) {
        state.zoneOffsetMinutes = state.computerOffsetMinutes;
        state.settings.timeZoneRow = row;
    }
    // The computer's zone decides; a name stored for this clock does not.
    state.settings.timeZoneName.clear();
    state.namedZone = QTimeZone();
}

ClockTimeInput clockTimeInput(const ClockState& state) {
    return {state.isDefaultClock(), state.zoneOffsetMinutes, int32_t(state.settings.timeStandard),
            state.settings.timeZoneRow, state.namedZone};
}

int32_t readClockSettings(KeyStore& store, ClockState& target, StoreError* error) {
    StoreError ignored = StoreError::None;
    StoreError& failure = error ? *error : ignored;
    failure = StoreError::None;
    // A record read half way would be a mix of stored values and defaults: the
    // fields go into a copy that replaces the state only once every read succeeded.
    ClockState state = target;
    const QString key = clockKeyPath(state.clockName);
    ClockSettings& s = state.settings;
    auto read = [&](const char16_t* name) -> std::optional<int32_t> {
        if (failure != StoreError::None)
            return std::nullopt;
        StoreError rc = StoreError::None;
        const auto value = store.readInteger(key, QString::fromUtf16(name), &rc);
        if (rc != StoreError::None && rc != StoreError::NotFound)
            failure = rc;
        return failure == StoreError::None ? value : std::nullopt;
    };
    auto readInto = [&](const SettingsField& f) {
        if (const auto value = read(f.name))
            f.take(s, *value, state.density);
    };

    const int32_t enable = read(kSettingsFields[kEnableField].name).value_or(0);

    if (enable == 0 || state.isDefaultClock()) {
        takeComputerZone(state);
    } else {
        readInto(kSettingsFields[kZoneRowField]);
        if (const ZoneEntry* zone = zoneAt(s.timeZoneRow))
            state.zoneOffsetMinutes = zone->offsetMinutes;
        if (failure == StoreError::None) {
            StoreError rc = StoreError::None;
            const QString name = store.readText(key, kZoneNameValue, &rc);
            if (rc != StoreError::None && rc != StoreError::NotFound)
                failure = rc;
            s.timeZoneName = name.trimmed().toUtf8();
            // A name this computer's database lacks (a newer one's) leaves the row.
            state.namedZone = s.timeZoneName.isEmpty() ? QTimeZone() : QTimeZone(s.timeZoneName);
        }
    }

    for (size_t i = 0; i < kSettingsFields.size(); ++i)
        if (i != kEnableField && i != kZoneRowField)
            readInto(kSettingsFields[i]);
    if (failure != StoreError::None)
        return 0;
    s.enabled = enable != 0;
    target = state;
    return enable;
}

StoreError loadClockSettings(KeyStore& store, ClockState& state) {
    StoreError rc = StoreError::None;
    readClockSettings(store, state, &rc);
    normalizeSettings(state.settings);
    return rc;
}

} // namespace ovra
