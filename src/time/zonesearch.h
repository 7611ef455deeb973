#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace ovra {

// The rows that a user's words name, for --zone: a row's zone name
// ("America/New_York") or its whole text, else the rows holding every word
// ("Tokyo", "new york") in their text or their zone's name, whole words first,
// then the beginnings of words. Case and accents do not count ("sao paulo"). A
// zone of the database that no row carries ("America/Toronto") finds the row that
// keeps its offsets now and half a year on. Empty when nothing fits.
QList<int> findZones(const QString& words, const QDateTime& nowUtc);

// "+05:30" for 19800 seconds east of UTC.
QString utcOffsetText(int secondsEast);

// One line a row for --list-zones: number, text, zone name and the offset from UTC
// that the row's place has now, separated by tabs.
QStringList zoneListLines(const QDateTime& nowUtc);

} // namespace ovra
