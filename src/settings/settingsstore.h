#pragma once

#include "settings/clocksettings.h"
#include "settings/keystore.h"
#include "time/clocktime.h"

#include <QString>

namespace ovra {

// The record of the clock a process shows, with its run-time companions.
struct ClockState {
    QString clockName;
    ClockSettings settings;
    int32_t zoneOffsetMinutes = 0;  // the row TimeZoneIndex's offset once loaded
    int32_t LocalBiasMinutes = 0;   // the computer's standard bias, read once at start-up
    int32_t computerZoneIndex = -1; // the row of the computer's zone, found with the bias
    QTimeZone namedZone;            // settings.TimeZoneName where the system knows it

    bool isDefaultClock() const { return clockName == u"Default"; }
};

// The key path every clock's values live under, as stored since the first version.
inline const QString kOvraKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock");

// The text value beside TimeZoneIndex naming the zone a clock was made for.
inline const QString kZoneNameValue = QStringLiteral("TimeZoneName");

// "HKEY_CURRENT_USER\Software\Ovra Clock\<name>"
QString clockKeyPath(const QString& clockName);

// Writes the 22 values of the record, Enable as 1, in one transaction. Returns a
// status code (0 success); a failed write leaves the stored values as they were.
int writeClockSettings(KeyStore& store, const ClockState& state);

// Writes only where the clock stands (MonitorID, Left, Top) in one transaction, so a
// drop is kept even when the process is killed before its shutdown.
int writeClockPosition(KeyStore& store, const ClockState& state);

// Reads the record from the clock's key and resolves its zone (the row, and the
// zone name where the clock was made for a zone no row carries); returns the stored
// Enable (non-zero when the clock was stored before). A value that is text but not
// a number leaves its field as it was. When the store cannot be read (busy, damaged,
// an I/O error) the state is left as it was, 0 is returned and status, when given,
// receives the failure; absent values are not a failure.
int32_t readClockSettings(KeyStore& store, ClockState& state, int* status = nullptr);

// Gives the state the computer's own zone row (the Default clock's, and a new
// clock's until it is stored); without a known row, the first row of the bias.
void takeComputerZone(ClockState& state);

// What the clock's time is worked out from.
ClockTimeInput clockTimeInput(const ClockState& state);

// readClockSettings followed by normalizeSettings; returns the read's status.
int loadClockSettings(KeyStore& store, ClockState& state);

} // namespace ovra
