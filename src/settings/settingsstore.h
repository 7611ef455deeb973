#pragma once

#include "settings/clocksettings.h"
#include "settings/keystore.h"
#include "time/clocktime.h"

#include <QString>

#include <array>

namespace ovra {

// The logical dots per inch of the screen at start-up. Positions are stored in
// fractions of an inch, so the same density turns them into pixels and back; a
// later change of density moves no clock.
struct ScreenDensity {
    double dpiX = 96;
    double dpiY = 96;
};

// The record of the clock a process shows, with its run-time companions.
struct ClockState {
    QString clockName;
    ClockSettings settings;
    int32_t zoneOffsetMinutes = 0;     // the offset of settings.timeZoneRow once loaded
    int32_t computerOffsetMinutes = 0; // the computer's standard offset, read at start-up
    int32_t computerZoneIndex = -1;    // the row of the computer's zone
    QTimeZone namedZone;               // settings.timeZoneName where the system knows it
    ScreenDensity density;             // what stored positions are converted with

    bool isDefaultClock() const { return clockName == u"Default"; }
};

// The key path every clock's values live under, as stored since the first version.
inline const QString kOvraKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock");

// The text value beside TimeZoneIndex naming the zone a clock was made for.
inline const QString kZoneNameValue = QStringLiteral("TimeZoneName");

// A stored value of the record: its name, the number the record stores under it,
// and the record's field set from a stored number. The number keeps the stored
// form: flags of inverted meaning, colours as 0xAARRGGBB, positions in twips.
struct SettingsField {
    const char16_t* name;
    int32_t (*stored)(const ClockSettings& s, const ScreenDensity& density);
    void (*take)(ClockSettings& s, int32_t value, const ScreenDensity& density);
};

// The 22 values in the order they are written to the store.
extern const std::array<SettingsField, 22> kSettingsFields;

// A new clock's first values, inside the caller's transaction: where it stands and
// how it keeps summer time.
StoreError writeNewClockPlace(KeyStore& store, const QString& clockName, QPoint positionPx,
                              TimeStandard standard, const ScreenDensity& density);

// Marks the clock as stored, for the zone it was added for: its row, and the zone's
// name where the clock was made for a zone no row carries. A key left from before
// loses a name its new row contradicts.
StoreError writeClockZone(KeyStore& store, const QString& clockName, int timeZoneRow,
                          const QByteArray& zoneName);

// "HKEY_CURRENT_USER\Software\Ovra Clock\<name>"
QString clockKeyPath(const QString& clockName);

// Writes the 22 values of the record, Enable as 1, in one transaction; a failed
// write leaves the stored values as they were.
StoreError writeClockSettings(KeyStore& store, const ClockState& state);

// Writes only where the clock stands (its monitor and position) in one transaction, so a
// drop is kept even when the process is killed before its shutdown.
StoreError writeClockPosition(KeyStore& store, const ClockState& state);

// Reads the record from the clock's key and resolves its zone (the row, and the
// zone name where the clock was made for a zone no row carries); returns the stored
// Enable (non-zero when the clock was stored before). A value that is text but not
// a number leaves its field as it was. When the store cannot be read (busy, damaged,
// an I/O error) the state is left as it was, 0 is returned and error, when given,
// receives the failure; absent values are not a failure.
int32_t readClockSettings(KeyStore& store, ClockState& state, StoreError* error = nullptr);

// Gives the state the computer's own zone row (the Default clock's, and a new
// clock's until it is stored); without a known row, the first row of its offset.
void takeComputerZone(ClockState& state);

// What the clock's time is worked out from.
ClockTimeInput clockTimeInput(const ClockState& state);

// readClockSettings followed by normalizeSettings; returns the read's error.
StoreError loadClockSettings(KeyStore& store, ClockState& state);

} // namespace ovra
