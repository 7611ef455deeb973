#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <array>
#include <cstdint>
#include <span>

namespace ovra {

struct ZoneEntry {
    const char16_t* displayName;
    int32_t offsetMinutes; // east of UTC: local = UTC + offset
    const char* ianaId;    // the system zone with the real rules of the row's place
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

// The offsets of every row's place now and half a year on, worked out once for
// the many zones a search may weigh.
class ZoneRows {
public:
    explicit ZoneRows(const QDateTime& nowUtc);
    // See computerZoneIndex.
    int rowFor(const QTimeZone& zone) const;
    // Whether the row's place keeps the zone's offsets now and half a year on.
    bool keepsOffsets(int row, const QTimeZone& zone) const;

private:
    QDateTime m_now, m_later;
    std::array<int, kZoneCount> m_offsetNow{}, m_offsetLater{}; // seconds east
    std::array<bool, kZoneCount> m_known{};                     // the place has rules
};

// The row that stands for a zone: the row of the same zone name; else the first
// row whose place keeps the same offsets now and half a year on (a link such as
// Asia/Calcutta or US/Eastern); else the first row of its standard offset; else
// the row whose place is nearest to it now (Lord Howe, Chatham). -1 only for an
// invalid zone.
int computerZoneIndex(const QTimeZone& zone, const QDateTime& nowUtc);

// Where a clock is: a row of the table, and the zone of the system's database it
// was made for when that is not the row's own place ("Europe/Zurich" beside the
// Berlin row). The row is what older readers of a store understand; the zone
// name, where there is one, decides the time.
struct ZoneChoice {
    int row = -1;
    QByteArray zoneName;

    bool isValid() const { return row >= 0; }
    friend bool operator==(const ZoneChoice&, const ZoneChoice&) = default;
};

// The choice that stands for the computer's zone: its row, and its zone name only
// where no row keeps its offsets all year, so that a clock added for it keeps the
// computer's exact time.
ZoneChoice computerZoneChoice(const QTimeZone& computer, const QDateTime& nowUtc);

// The zone whose rules a choice follows: the named zone where the system knows
// it, else the row's place. Invalid when neither is known.
QTimeZone zoneOfChoice(const ZoneChoice& choice);

// The city of a zone name ("Lord Howe" for Australia/Lord_Howe); empty for
// names that are offsets or standards (Etc/GMT+5, EST5EDT).
QString cityOfZone(const QByteArray& zoneName);

// The place a row names, for a clock's name: its zone's city where the row's own
// text names it ("Tokyo" for "Osaka, Sapporo, Tokyo"), else the first place of
// the text ("Harare"); empty for a row named after an offset or a time standard
// ("Coordinated Universal Time", "Eastern Time (US & Canada)").
QString zoneCity(int index);

} // namespace ovra
