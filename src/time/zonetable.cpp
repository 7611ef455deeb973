#include "time/zonetable.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace ovra {

namespace {
// Each row's offset is its standard time as the row names it; the place beside it
// is the zone whose real rules "Automatic Daylight Saving" follows. Rows named
// after an offset rather than a place keep that offset all year.
constexpr ZoneEntry kZones[kZoneCount] = {
    {u"(UTC-12:00) International Date Line West", -720, "Etc/GMT+12"},
    {u"(UTC-11:00) Coordinated Universal Time-11", -660, "Etc/GMT+11"},
    {u"(UTC-11:00) Samoa", -660, "Pacific/Apia"},
    {u"(UTC-10:00) Hawaii", -600, "Pacific/Honolulu"},
    {u"(UTC-09:00) Alaska", -540, "America/Anchorage"},
    {u"(UTC-08:00) Baja California", -480, "America/Tijuana"},
    {u"(UTC-08:00) Pacific Time(US & Canada)", -480, "America/Los_Angeles"},
    {u"(UTC-07:00) Arizona", -420, "America/Phoenix"},
    {u"(UTC-07:00) Chihuahua, La Paz, Mazatlan", -420, "America/Mazatlan"},
    {u"(UTC-07:00) Mountain Time (US & Canada)", -420, "America/Denver"},
    {u"(UTC-06:00) Central America", -360, "America/Guatemala"},
    {u"(UTC-06:00) Central Time (US & Canada)", -360, "America/Chicago"},
    {u"(UTC-06:00) Guadalajara, Mexico City, Mouterrey", -360, "America/Mexico_City"},
    {u"(UTC-06:00) Saskatchewan", -360, "America/Regina"},
    {u"(UTC-05:00) Bogota, Lima, Quito", -300, "America/Bogota"},
    {u"(UTC-05:00) Eastern Time (US & Canada)", -300, "America/New_York"},
    {u"(UTC-05:00) Indiana (East)", -300, "America/Indiana/Indianapolis"},
    {u"(UTC-04:30) Caracas", -270, "America/Caracas"},
    {u"(UTC-04:00) Asuncion", -240, "America/Asuncion"},
    {u"(UTC-04:00) Atlantic Time (Canada)", -240, "America/Halifax"},
    {u"(UTC-04:00) Cuiaba", -240, "America/Cuiaba"},
    {u"(UTC-04:00) Georgetown, La Paz, Manaus, San Juan", -240, "America/La_Paz"},
    {u"(UTC-04:00) Santiago", -240, "America/Santiago"},
    {u"(UTC-03:30) Newfoundland", -210, "America/St_Johns"},
    {u"(UTC-03:00) Brasilia", -180, "America/Sao_Paulo"},
    {u"(UTC-03:00) Buenos Aires", -180, "America/Argentina/Buenos_Aires"},
    {u"(UTC-03:00) Cayenne, Fortaleza", -180, "America/Cayenne"},
    {u"(UTC-03:00) Greenland", -180, "America/Nuuk"},
    {u"(UTC-03:00) Montevideo", -180, "America/Montevideo"},
    {u"(UTC-02:00) Coordinated Universal Time-02", -120, "Etc/GMT+2"},
    {u"(UTC-02:00) Mid-Atlantic", -120, "Atlantic/South_Georgia"},
    {u"(UTC-01:00) Azores", -60, "Atlantic/Azores"},
    {u"(UTC-01:00) Cape Verde Is.", -60, "Atlantic/Cape_Verde"},
    {u"(UTC) Casablanca", 0, "Africa/Casablanca"},
    {u"(UTC) Coordinated Universal Time", 0, "Etc/UTC"},
    {u"(UTC) Dublin, Edinburgh, Lisbon, London", 0, "Europe/London"},
    {u"(UTC) Monrovia, Reykjavik", 0, "Atlantic/Reykjavik"},
    {u"(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", 60, "Europe/Berlin"},
    {u"(UTC+01:00) Brussels, Copenhagen, Madrid, Paris", 60, "Europe/Paris"},
    {u"(UTC+01:00) Sarajevo, Skopje, Warsaw, Zagreb", 60, "Europe/Warsaw"},
    {u"(UTC+01:00) Western Central Africa", 60, "Africa/Lagos"},
    {u"(UTC+01:00) Windhoek", 60, "Africa/Windhoek"},
    {u"(UTC+02:00) Amman", 120, "Asia/Amman"},
    {u"(UTC+02:00) Athens, Bucharest", 120, "Europe/Athens"},
    {u"(UTC+02:00) Beirut", 120, "Asia/Beirut"},
    {u"(UTC+02:00) Cairo", 120, "Africa/Cairo"},
    {u"(UTC+02:00) Damascus", 120, "Asia/Damascus"},
    {u"(UTC+02:00) Harare, Pretoria", 120, "Africa/Johannesburg"},
    {u"(UTC+02:00) Helsinki, Kyiv, Riga, Sofia, Tallinn, Vilnius", 120, "Europe/Helsinki"},
    {u"(UTC+02:00) Istanbul", 120, "Europe/Istanbul"},
    {u"(UTC+02:00) Jerusalem", 120, "Asia/Jerusalem"},
    {u"(UTC+02:00) Minsk", 120, "Europe/Minsk"},
    {u"(UTC+03:00) Baghdad", 180, "Asia/Baghdad"},
    {u"(UTC+03:00) Kaliningrad", 180, "Europe/Kaliningrad"},
    {u"(UTC+03:00) Kuwait, Riyadh", 180, "Asia/Riyadh"},
    {u"(UTC+03:00) Nairobi", 180, "Africa/Nairobi"},
    {u"(UTC+03:30) Tehran", 210, "Asia/Tehran"},
    {u"(UTC+04:00) Abu Dhabi, Muscat", 240, "Asia/Dubai"},
    {u"(UTC+04:00) Baku", 240, "Asia/Baku"},
    {u"(UTC+04:00) Moscow, St. Petersburg, Volgograd", 240, "Europe/Moscow"},
    {u"(UTC+04:00) Port Louis", 240, "Indian/Mauritius"},
    {u"(UTC+04:00) Yerevan", 240, "Asia/Yerevan"},
    {u"(UTC+04:30) Kabul", 270, "Asia/Kabul"},
    {u"(UTC+05:00) Islamabad, Karachi", 300, "Asia/Karachi"},
    {u"(UTC+05:00) Tashkent", 300, "Asia/Tashkent"},
    {u"(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", 330, "Asia/Kolkata"},
    {u"(UTC+05:30) Sri Jayawardenepura", 330, "Asia/Colombo"},
    {u"(UTC+05:45) Kathmandu", 345, "Asia/Kathmandu"},
    {u"(UTC+06:00) Astana", 360, "Asia/Almaty"},
    {u"(UTC+06:00) Dhaka", 360, "Asia/Dhaka"},
    {u"(UTC+06:00) Ekaterinburg", 360, "Asia/Yekaterinburg"},
    {u"(UTC+06:30) Yangon (Rangoon)", 390, "Asia/Yangon"},
    {u"(UTC+07:00) Bangkok, Honoi, Jakarta", 420, "Asia/Bangkok"},
    {u"(UTC+07:00) Novosibirsk", 420, "Asia/Novosibirsk"},
    {u"(UTC+08:00) Beijing, Chongqing, Hong Kong, Urumqi", 480, "Asia/Shanghai"},
    {u"(UTC+08:00) Krasnoyarsk", 480, "Asia/Krasnoyarsk"},
    {u"(UTC+08:00) Kuala Lumpur, Singapore", 480, "Asia/Singapore"},
    {u"(UTC+08:00) Perth", 480, "Australia/Perth"},
    {u"(UTC+08:00) Taipei", 480, "Asia/Taipei"},
    {u"(UTC+08:00) Ulaanbaatar", 480, "Asia/Ulaanbaatar"},
    {u"(UTC+09:00) Irkutsk", 540, "Asia/Irkutsk"},
    {u"(UTC+09:00) Osaka, Sapporo, Tokyo", 540, "Asia/Tokyo"},
    {u"(UTC+09:00) Seoul", 540, "Asia/Seoul"},
    {u"(UTC+09:30) Adelaide", 570, "Australia/Adelaide"},
    {u"(UTC+09:30) Darwin", 570, "Australia/Darwin"},
    {u"(UTC+10:00) Brisbane", 600, "Australia/Brisbane"},
    {u"(UTC+10:00) Canberra, Melbourne, Sydney", 600, "Australia/Sydney"},
    {u"(UTC+10:00) Guam, Port Moresby", 600, "Pacific/Port_Moresby"},
    {u"(UTC+10:00) Hobart", 600, "Australia/Hobart"},
    {u"(UTC+10:00) Yakutsk", 600, "Asia/Yakutsk"},
    {u"(UTC+11:00) Solomon Is., New Caledonia", 660, "Pacific/Guadalcanal"},
    {u"(UTC+11:00) Vladivostok", 660, "Asia/Vladivostok"},
    {u"(UTC+12:00) Auckland, Wellington", 720, "Pacific/Auckland"},
    {u"(UTC+12:00) Coordinated Universal Time+12", 720, "Etc/GMT-12"},
    {u"(UTC+12:00) Fiji", 720, "Pacific/Fiji"},
    {u"(UTC+12:00) Magadan", 720, "Asia/Magadan"},
    {u"(UTC+13:00) Nuku'alofa", 780, "Pacific/Tongatapu"},
};
} // namespace

std::span<const ZoneEntry> zoneTable() {
    return kZones;
}

const ZoneEntry* zoneAt(int index) {
    if (index < 0 || index >= kZoneCount)
        return nullptr;
    return &kZones[index];
}

int zoneIndexForOffset(int32_t offsetMinutes) {
    for (int i = 0; i < kZoneCount; ++i)
        if (kZones[i].offsetMinutes == offsetMinutes)
            return i;
    return -1;
}

QTimeZone ianaZoneAt(int index) {
    const ZoneEntry* row = zoneAt(index);
    if (!row)
        return {};
    return QTimeZone(QByteArray(row->ianaId));
}

namespace {
constexpr int kUtcRow = 34;

// Names the zone database gives to UTC itself; the table names it Etc/UTC.
bool isUtcName(const QByteArray& id) {
    static constexpr const char* kNames[] = {"UTC",  "Etc/UTC",  "Universal", "Etc/Universal",
                                             "Zulu", "Etc/Zulu", "UCT",       "Etc/UCT"};
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](const char* name) { return id == name; });
}
} // namespace

ZoneRows::ZoneRows(const QDateTime& nowUtc) : m_now(nowUtc), m_later(nowUtc.addMonths(6)) {
    for (int i = 0; i < kZoneCount; ++i) {
        const QTimeZone place = ianaZoneAt(i);
        m_known[size_t(i)] = place.isValid();
        m_offsetNow[size_t(i)] =
            place.isValid() ? place.offsetFromUtc(m_now) : kZones[i].offsetMinutes * 60;
        m_offsetLater[size_t(i)] =
            place.isValid() ? place.offsetFromUtc(m_later) : kZones[i].offsetMinutes * 60;
    }
}

bool ZoneRows::keepsOffsets(int row, const QTimeZone& zone) const {
    return row >= 0 && row < kZoneCount && m_known[size_t(row)] &&
           m_offsetNow[size_t(row)] == zone.offsetFromUtc(m_now) &&
           m_offsetLater[size_t(row)] == zone.offsetFromUtc(m_later);
}

int ZoneRows::rowFor(const QTimeZone& zone) const {
    if (!zone.isValid())
        return -1;
    const QByteArray id = zone.id();
    if (isUtcName(id))
        return kUtcRow;
    for (int i = 0; i < kZoneCount; ++i)
        if (id == kZones[i].ianaId)
            return i;
    // A zone by another name: Morocco and Britain share UTC in winter only, so both
    // seasons must agree before a row stands for it.
    const int now = zone.offsetFromUtc(m_now), later = zone.offsetFromUtc(m_later);
    for (size_t i = 0; i < size_t(kZoneCount); ++i)
        if (m_known[i] && m_offsetNow[i] == now && m_offsetLater[i] == later)
            return int(i);
    if (const int row = zoneIndexForOffset(zone.standardTimeOffset(m_now) / 60); row >= 0)
        return row;
    // No row keeps its offset: the one whose place is nearest now, so that readers
    // of the row alone are off by minutes, not by a day.
    // Among places equally near, the row whose own label is nearest, so that Chatham
    // is not shown beside "(UTC-11:00) Samoa", which keeps +13:00 today.
    const auto distance = [&](size_t i) {
        return std::pair(std::abs(m_offsetNow[i] - now),
                         std::abs(kZones[i].offsetMinutes * 60 - now));
    };
    size_t nearest = 0;
    for (size_t i = 1; i < size_t(kZoneCount); ++i)
        if (distance(i) < distance(nearest))
            nearest = i;
    return int(nearest);
}

int computerZoneIndex(const QTimeZone& zone, const QDateTime& nowUtc) {
    return ZoneRows(nowUtc).rowFor(zone);
}

ZoneChoice computerZoneChoice(const QTimeZone& computer, const QDateTime& nowUtc) {
    const ZoneRows rows(nowUtc);
    ZoneChoice choice{rows.rowFor(computer), {}};
    // Only a zone the database can name again in another process is worth storing;
    // a bare offset such as TZ='<+0530>-5:30' has no name to keep.
    if (choice.isValid() && !rows.keepsOffsets(choice.row, computer) &&
        QTimeZone(computer.id()).isValid())
        choice.zoneName = computer.id();
    return choice;
}

QTimeZone zoneOfChoice(const ZoneChoice& choice) {
    if (!choice.zoneName.isEmpty())
        if (QTimeZone named(choice.zoneName); named.isValid())
            return named;
    return ianaZoneAt(choice.row);
}

QString cityOfZone(const QByteArray& zoneName) {
    const QString id = QString::fromLatin1(zoneName);
    // Etc/ holds offsets; the others are the old names of whole regions, whose last
    // part is a direction or a standard ("US/Eastern", "Brazil/East").
    static constexpr const char16_t* kNotPlaces[] = {u"Etc/",    u"SystemV/", u"US/",    u"Canada/",
                                                     u"Brazil/", u"Chile/",   u"Mexico/"};
    if (!id.contains(u'/'))
        return {};
    for (const char16_t* prefix : kNotPlaces)
        if (id.startsWith(QStringView(prefix)))
            return {};
    return id.section(u'/', -1).replace(u'_', u' ');
}

namespace {
// Rows named after an offset, a time standard or a region rather than a place.
constexpr int kRowsWithoutPlace[] = {0, 1, 6, 9, 10, 11, 15, 19, 29, 30, 34, 40, 93};

// The places a row's text lists: "Yangon (Rangoon)" is Yangon, "Cape Verde Is."
// the Cape Verde Islands.
QStringList placesOfRow(const ZoneEntry& row) {
    QString text = QString::fromUtf16(row.displayName);
    text = text.mid(text.indexOf(u") ") + 2);
    QStringList places;
    for (QString place : text.split(QStringLiteral(", "))) {
        if (const qsizetype open = place.indexOf(u" ("); open > 0)
            place.truncate(open);
        if (place.endsWith(u" Is."))
            place = place.chopped(4) + QStringLiteral(" Islands");
        places << place.trimmed();
    }
    return places;
}
} // namespace

QString zoneCity(int index) {
    const ZoneEntry* row = zoneAt(index);
    if (!row || std::find(std::begin(kRowsWithoutPlace), std::end(kRowsWithoutPlace), index) !=
                    std::end(kRowsWithoutPlace))
        return {};
    const QStringList places = placesOfRow(*row);
    const QString city = cityOfZone(row->ianaId);
    for (const QString& place : places)
        if (place.compare(city, Qt::CaseInsensitive) == 0)
            return place;
    return places.value(0);
}

} // namespace ovra
