#include "time/zonesearch.h"

#include "base/textutil.h"
#include "time/zonetable.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <utility>

namespace ovra {

namespace {

QStringList wordsOf(const QString& text) {
    QStringList words;
    QString word;
    for (const QChar c : withoutCaseOrAccents(text)) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// The row's text without its "(UTC+hh:mm) " prefix, which every row shares.
QString placeText(const ZoneEntry& row) {
    const QString name = QString::fromUtf16(row.displayName);
    const qsizetype close = name.indexOf(u") ");
    return close < 0 ? name : name.mid(close + 2);
}

constexpr int kUtcRow = 34;

// Names of UTC that people type and that the database gives it; the rows named
// GMT+N are offsets.
constexpr const char16_t* kUtcNames[] = {
    u"utc",           u"gmt",           u"z",        u"zulu",      u"universal",
    u"uct",           u"gmt0",          u"gmt+0",    u"gmt-0",     u"greenwich",
    u"etc/utc",       u"etc/gmt",       u"etc/gmt0", u"etc/gmt+0", u"etc/gmt-0",
    u"etc/greenwich", u"etc/universal", u"etc/zulu", u"etc/uct"};

// Places a row's text misspells or leaves out, so that typing them finds the row.
struct ExtraWords {
    int row;
    const char16_t* words;
};
constexpr ExtraWords kExtraWords[] = {
    {12, u"Monterrey"},
    {24, u"Rio de Janeiro"},
    {72, u"Hanoi"},
};

// The country's name in English and in each language spoken there, so that
// "Switzerland", "Schweiz" and "Suisse" all find Zurich.
QStringList countryNames(QLocale::Territory territory) {
    QStringList names{QLocale::territoryToString(territory)};
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, territory))
        if (const QString native = locale.nativeTerritoryName(); !native.isEmpty())
            names << native;
    names.removeDuplicates();
    return names;
}

// Every name of the system's zone database, each with the zone it is a link to
// (itself for a zone). Qt lists the zones of zone.tab; the other zones and the
// links (Asia/Calcutta, Europe/Kiev, NZ-CHAT) are only named in the database's
// compiled source.
QList<std::pair<QByteArray, QByteArray>> databaseNames() {
    QList<std::pair<QByteArray, QByteArray>> names;
    QSet<QByteArray> seen;
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
        names.append({id, id});
        seen.insert(id);
    }
    QByteArray folder = qgetenv("TZDIR");
    if (folder.isEmpty())
        folder = "/usr/share/zoneinfo";
    QFile source(QString::fromLocal8Bit(folder) + QStringLiteral("/tzdata.zi"));
    if (!source.open(QIODevice::ReadOnly))
        return names;
    // "Z Asia/Kolkata 5:53:28 - LMT 1854 Jun 28" and "L Asia/Kolkata Asia/Calcutta"
    while (!source.atEnd()) {
        const QList<QByteArray> fields = source.readLine().simplified().split(' ');
        QByteArray name, target;
        if (fields.size() >= 2 && fields[0] == "Z")
            name = target = fields[1];
        else if (fields.size() == 3 && fields[0] == "L")
            name = fields[2], target = fields[1];
        if (!name.isEmpty() && !seen.contains(name)) {
            names.append({name, target});
            seen.insert(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool holdsEvery(const QStringList& query, const QStringList& words, bool wholeWords) {
    return !words.isEmpty() && std::all_of(query.begin(), query.end(), [&](const QString& q) {
        return std::any_of(words.begin(), words.end(),
                           [&](const QString& w) { return wholeWords ? w == q : w.startsWith(q); });
    });
}

} // namespace

ZoneFinder::ZoneFinder(const QDateTime& nowUtc) : m_rows(nowUtc) {
    // The database's own table of zones by country; links such as Asia/Calcutta
    // have no country there.
    QHash<QByteArray, QLocale::Territory> territoryOf;
    for (int t = 1; t <= int(QLocale::LastTerritory); ++t)
        for (const QByteArray& id : QTimeZone::availableTimeZoneIds(QLocale::Territory(t)))
            territoryOf.insert(id, QLocale::Territory(t));
    QHash<int, QStringList> namesOfTerritory;
    auto addCountry = [&](const QByteArray& id, QStringList& words) {
        const auto t = territoryOf.find(id);
        if (t == territoryOf.end())
            return;
        auto names = namesOfTerritory.find(int(*t));
        if (names == namesOfTerritory.end())
            names = namesOfTerritory.insert(int(*t), countryNames(*t));
        for (const QString& name : *names)
            words << wordsOf(name);
        m_countryOf.insert(id, names->front());
    };

    QSet<QByteArray> rowZones;
    const auto table = zoneTable();
    for (int i = 0; i < int(table.size()); ++i) {
        Place row;
        row.row = i;
        row.zoneName = table[i].ianaId;
        row.words = wordsOf(placeText(table[i])) + wordsOf(QString::fromLatin1(table[i].ianaId));
        for (const ExtraWords& extra : kExtraWords)
            if (extra.row == i)
                row.words << wordsOf(QString::fromUtf16(extra.words));
        addCountry(row.zoneName, row.words);
        row.exactNames = {withoutCaseOrAccents(QString::fromLatin1(table[i].ianaId)),
                          withoutCaseOrAccents(QString::fromUtf16(table[i].displayName)),
                          withoutCaseOrAccents(placeText(table[i]))};
        if (i == kUtcRow)
            for (const char16_t* name : kUtcNames)
                row.exactNames << QString::fromUtf16(name);
        rowZones.insert(row.zoneName);
        m_places << row;
    }
    const QStringList utcNames = m_places[kUtcRow].exactNames;
    for (const auto& [id, target] : databaseNames()) {
        const QString name = withoutCaseOrAccents(QString::fromLatin1(id));
        if (rowZones.contains(id) || utcNames.contains(name))
            continue;
        Place zone;
        zone.zoneName = id;
        zone.linkTarget = target;
        zone.exactNames = {name};
        // A name without a city (Etc/GMT+5, EST5EDT, US/Eastern) is found whole only.
        if (const QString city = cityOfZone(id); !city.isEmpty()) {
            zone.cityWords = wordsOf(city);
            zone.words = wordsOf(QString::fromLatin1(id));
            // A link has no country of its own: Atlantic/Jan_Mayen names Berlin's rules.
            addCountry(id, zone.words);
        }
        m_places << zone;
    }
}

QList<ZoneChoice> ZoneFinder::find(const QString& words) const {
    const QString query = withoutCaseOrAccents(words.trimmed());
    if (query.isEmpty())
        return {};
    QList<const Place*> exact;
    for (const Place& place : m_places)
        if (place.exactNames.contains(query))
            exact << &place;
    if (!exact.isEmpty())
        return choicesOf(exact, {}, true);
    const QStringList queryWords = wordsOf(query);
    if (queryWords.isEmpty())
        return {};
    for (const bool wholeWords : {true, false}) {
        QList<const Place*> found;
        for (const Place& place : m_places)
            if (holdsEvery(queryWords, place.words, wholeWords))
                found << &place;
        if (!found.isEmpty())
            return choicesOf(found, queryWords, wholeWords);
    }
    return {};
}

QList<ZoneChoice> ZoneFinder::choicesOf(const QList<const Place*>& places, const QStringList& query,
                                        bool wholeWords) const {
    QList<ZoneChoice> choices;
    QSet<int> supersededRows;
    for (const Place* place : places) {
        if (place->row >= 0) {
            choices << ZoneChoice{place->row, {}};
            continue;
        }
        // A name of the source that this computer's Qt cannot load is no place.
        const QTimeZone loaded(place->zoneName);
        if (!loaded.isValid())
            continue;
        // A link goes with its zone's row (Asia/Tel_Aviv with Jerusalem's).
        ZoneChoice zone{m_rows.rowFor(QTimeZone(place->linkTarget)), place->zoneName};
        if (!zone.isValid())
            zone.row = m_rows.rowFor(loaded);
        // Found by its city, the zone stands in for a row found beside it that keeps
        // its offsets: "Madrid" is Europe/Madrid on the Madrid row.
        if (!query.isEmpty() && holdsEvery(query, place->cityWords, wholeWords)) {
            for (const Place* other : places)
                if (other->row >= 0 && m_rows.keepsOffsets(other->row, loaded)) {
                    zone.row = other->row;
                    break;
                }
            supersededRows.insert(zone.row);
        }
        choices << zone;
    }
    choices.removeIf([&](const ZoneChoice& c) {
        return c.zoneName.isEmpty() && supersededRows.contains(c.row);
    });
    return choices;
}

QString ZoneFinder::describe(const ZoneChoice& choice) const {
    if (choice.zoneName.isEmpty()) {
        const ZoneEntry* row = zoneAt(choice.row);
        return row ? QString::fromUtf16(row->displayName) : QString();
    }
    const QString city = cityOfZone(choice.zoneName);
    if (city.isEmpty())
        return QString::fromLatin1(choice.zoneName);
    const QString country = m_countryOf.value(choice.zoneName);
    return country.isEmpty() ? city : city + QStringLiteral(", ") + country;
}

QStringList ZoneFinder::placeLines() const {
    QStringList lines;
    for (const Place& place : m_places)
        if (const QString city = cityOfZone(place.zoneName); !city.isEmpty())
            lines << QStringLiteral("%1\t%2\t%3")
                         .arg(QString::fromLatin1(place.zoneName), city,
                              m_countryOf.value(place.zoneName));
    return lines;
}

QString utcOffsetText(int secondsEast) {
    const int minutes = std::abs(secondsEast) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(QChar(secondsEast < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QStringList zoneListLines(const QDateTime& nowUtc) {
    QStringList lines;
    const auto table = zoneTable();
    for (int i = 0; i < int(table.size()); ++i) {
        const QTimeZone place = ianaZoneAt(i);
        const int offset =
            place.isValid() ? place.offsetFromUtc(nowUtc) : table[i].offsetMinutes * 60;
        lines << QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(i)
                     .arg(QString::fromUtf16(table[i].displayName),
                          QString::fromLatin1(table[i].ianaId), utcOffsetText(offset));
    }
    return lines;
}

} // namespace ovra
