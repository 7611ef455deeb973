#pragma once

#include "time/zonetable.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace ovra {

// Finds the places a user's words name, among the rows of the table and every
// zone and link of the system's zone database.
//
// A place is found by a name it carries whole (a zone name such as
// "America/New_York", a row's text, "GMT" or "UTC" for the UTC row); else by
// every word of the query, whole words first, then the beginnings of words. A
// row's words are those of its text and its zone's name; a zone's are those of
// its name ("Lord Howe", "Calcutta") and of its country in English and in every
// language spoken there ("Switzerland", "Schweiz", "Suisse"). Case and accents do
// not count. A zone that is a row's own place is that row; a zone found by its
// city stands in for the row that keeps its offsets, since it is the more exact
// of the two ("Kyiv" is Europe/Kyiv rather than Helsinki's row).
class ZoneFinder {
public:
    // nowUtc decides which row stands for a zone that no row carries.
    explicit ZoneFinder(const QDateTime& nowUtc);

    // Empty when nothing fits.
    QList<ZoneChoice> find(const QString& words) const;

    // What a choice is called in a list of matches: the row's text, or a zone's
    // city and country ("Zurich, Switzerland").
    QString describe(const ZoneChoice& choice) const;

    // Every zone of the database that has a city, one line each: the zone name,
    // the city and the country (empty for a link), separated by tabs.
    QStringList placeLines() const;

private:
    struct Place {
        int row = -1;           // a row of the table, or -1 for a zone of the database
        QByteArray zoneName;    // the row's place, or the zone of the database
        QByteArray linkTarget;  // the zone a link names; the zone itself otherwise
        QStringList words;      // folded, as are the two lists below
        QStringList cityWords;  // a zone's city alone
        QStringList exactNames; // names that find the place whole
    };

    // Zones found by their city stand in for the rows they would be stored with.
    QList<ZoneChoice> choicesOf(const QList<const Place*>& places, const QStringList& query,
                                bool wholeWords) const;

    QList<Place> m_places;                  // the rows in table order, then the other zones by name
    QHash<QByteArray, QString> m_countryOf; // zone name to country, in English
    ZoneRows m_rows;
};

// "+05:30" for 19800 seconds east of UTC.
QString utcOffsetText(int secondsEast);

// One line a row for --list-zones: number, text, zone name and the offset from UTC
// that the row's place has now, separated by tabs.
QStringList zoneListLines(const QDateTime& nowUtc);

} // namespace ovra
