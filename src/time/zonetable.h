#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <cstdint>
#include <span>

namespace ovra {

struct ZoneEntry {
    const char16_t* DisplayName;
    int32_t OffsetMinutes; // east of UTC: local = UTC + offset
    const char* IanaId;    // the system zone with the real rules of the row's place
};

inline constexpr int kZoneCount = 97;

// The built-in zones in ascending offset; an index is also the position in the
// settings dialog's zone list and the stored TimeZoneIndex.
std::span<const ZoneEntry> zoneTable();

// The row at index, or nullptr outside 0..96.
const ZoneEntry* zoneAt(int index);

// The lowest index whose offset equals offsetMinutes, or -1.
int zoneIndexForOffset(int32_t offsetMinutes);

// The system's zone for the row at index; invalid outside 0..96 or when the
// system's zone database lacks it.
QTimeZone ianaZoneAt(int index);

// The row that stands for the computer's zone: the row of the same zone name;
// else the first row whose place keeps the same offsets now and half a year on
// (a link such as Asia/Calcutta or US/Eastern); else, as for a zone the database
// cannot name, the first row of its standard offset. -1 when none fits.
int computerZoneIndex(const QTimeZone& computer, const QDateTime& nowUtc);

// The place a row's zone is named after ("New York" for America/New_York); empty
// for a row named after an offset.
QString zoneCity(int index);

} // namespace ovra
