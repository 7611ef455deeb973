#include "time/zonesearch.h"
#include "time/zonetable.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>

using namespace ovra;

namespace ovra {
void PrintTo(const ZoneChoice& c, std::ostream* os) {
    *os << "{" << c.row << ", \"" << c.zoneName.constData() << "\"}";
}
} // namespace ovra

TEST(ZoneTable, NinetySevenRowsInAscendingOrderWithMatchingPrefixes) {
    const auto table = zoneTable();
    ASSERT_EQ(table.size(), 97u);
    EXPECT_EQ(table.front().offsetMinutes, -720);
    EXPECT_EQ(table.back().offsetMinutes, 780);
    const QRegularExpression prefix(QStringLiteral(R"(^\(UTC(?:([+-])(\d\d):(\d\d))?\) \S)"));
    for (size_t i = 0; i < table.size(); ++i) {
        const QString name = QString::fromUtf16(table[i].displayName);
        const auto m = prefix.match(name);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(name);
        int offset = 0;
        if (m.capturedLength(1)) {
            offset = m.captured(2).toInt() * 60 + m.captured(3).toInt();
            if (m.captured(1) == u"-")
                offset = -offset;
        }
        EXPECT_EQ(offset, table[i].offsetMinutes) << qPrintable(name);
        if (i > 0) {
            EXPECT_LE(table[i - 1].offsetMinutes, table[i].offsetMinutes) << i;
        }
    }
}

TEST(ZoneTable, SelectedRowsAreExact) {
    const struct {
        int index;
        const char16_t* name;
        int offset;
    } rows[] = {
        {0, u"(UTC-12:00) International Date Line West", -720},
        {6, u"(UTC-08:00) Pacific Time(US & Canada)", -480},
        {12, u"(UTC-06:00) Guadalajara, Mexico City, Mouterrey", -360},
        {17, u"(UTC-04:30) Caracas", -270},
        {23, u"(UTC-03:30) Newfoundland", -210},
        {33, u"(UTC) Casablanca", 0},
        {41, u"(UTC+01:00) Windhoek", 60},
        {56, u"(UTC+03:30) Tehran", 210},
        {62, u"(UTC+04:30) Kabul", 270},
        {66, u"(UTC+05:30) Sri Jayawardenepura", 330},
        {67, u"(UTC+05:45) Kathmandu", 345},
        {71, u"(UTC+06:30) Yangon (Rangoon)", 390},
        {72, u"(UTC+07:00) Bangkok, Honoi, Jakarta", 420},
        {84, u"(UTC+09:30) Darwin", 570},
        {96, u"(UTC+13:00) Nuku'alofa", 780},
    };
    for (const auto& r : rows) {
        const ZoneEntry* z = zoneAt(r.index);
        ASSERT_NE(z, nullptr);
        EXPECT_EQ(QString::fromUtf16(z->displayName), QString::fromUtf16(r.name));
        EXPECT_EQ(z->offsetMinutes, r.offset);
    }
    EXPECT_EQ(zoneAt(97), nullptr);
    EXPECT_EQ(zoneAt(-1), nullptr);
}

TEST(ZoneTable, LookupByOffsetFindsTheLowestIndex) {
    const struct {
        int offset;
        int index;
    } cases[] = {{60, 37},  {0, 33},   {480, 74},  {-720, 0}, {780, 96}, {345, 67},
                 {330, 65}, {570, 83}, {-300, 14}, {630, -1}, {1, -1},   {-780, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(zoneIndexForOffset(c.offset), c.index) << c.offset;
}

namespace {
// Rows whose place has moved its standard offset since the list was drawn up, with
// the offset "Automatic Daylight Saving" shows there now (minutes east of UTC).
struct MovedPlace {
    int row;
    int32_t standardMinutesNow;
};
constexpr MovedPlace kMovedPlaces[] = {
    {2, 780},   // Samoa crossed the date line in 2011
    {17, -240}, // Caracas, 2016
    {18, -180}, // Asuncion, all year since 2024
    {27, -120}, // Nuuk, 2023
    {33, 60},   // Casablanca, 2018
    {41, 120},  // Windhoek, 2017
    {42, 180},  // Amman, 2022
    {46, 180},  // Damascus, 2022
    {49, 180},  // Istanbul, 2016
    {51, 180},  // Minsk, 2011
    {53, 120},  // Kaliningrad, 2014
    {59, 180},  // Moscow, 2014
    {68, 300},  // Astana, 2024
    {70, 300},  // Ekaterinburg, 2014
    {75, 420},  // Krasnoyarsk, 2014
    {80, 480},  // Irkutsk, 2014
    {89, 540},  // Yakutsk, 2014
    {91, 600},  // Vladivostok, 2014
    {95, 660},  // Magadan, 2016
};
} // namespace

TEST(ZoneTable, EveryRowNamesASystemZoneWithTheRowsStandardOffset) {
    const QDateTime winter(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
    const QDateTime summer(QDate(2026, 7, 15), QTime(12, 0), Qt::UTC);
    for (int i = 0; i < kZoneCount; ++i) {
        const ZoneEntry& row = zoneTable()[i];
        const QTimeZone place = ianaZoneAt(i);
        ASSERT_TRUE(place.isValid()) << i << " " << row.ianaId;
        int32_t expected = row.offsetMinutes;
        for (const MovedPlace& moved : kMovedPlaces)
            if (moved.row == i)
                expected = moved.standardMinutesNow;
        // Standard time is the smaller offset of the two seasons; asking each season
        // keeps a southern place's summer from counting as its standard time.
        const int32_t standard =
            std::min(place.standardTimeOffset(winter), place.standardTimeOffset(summer)) / 60;
        EXPECT_EQ(standard, expected) << i << " " << row.ianaId;
    }
    EXPECT_FALSE(ianaZoneAt(-1).isValid());
    EXPECT_FALSE(ianaZoneAt(kZoneCount).isValid());
}

// The computer's zone finds its own row by name; a zone by another name finds the
// row that keeps the same offsets in winter and summer, and only a zone no row
// follows falls back to the first row of its standard offset, and then to the
// row nearest to it now.
TEST(ZoneTable, TheComputersZoneFindsTheRowOfItsPlace) {
    const QDateTime winter(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    const struct {
        const char* zone;
        int row;
    } cases[] = {
        {"Europe/London", 35},   {"Etc/UTC", 34},           {"UTC", 34},
        {"America/Caracas", 17}, {"Asia/Tokyo", 81},        {"Asia/Kathmandu", 67},
        {"Asia/Calcutta", 65},   {"US/Eastern", 15},        {"Europe/Dublin", 35},
        {"Etc/GMT", 34},         {"Africa/Casablanca", 33}, {"Australia/Eucla", 81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        const QTimeZone zone{QByteArray(c.zone)};
        ASSERT_TRUE(zone.isValid());
        EXPECT_EQ(computerZoneIndex(zone, winter), c.row);
    }
    EXPECT_EQ(computerZoneIndex(QTimeZone(-4 * 3600), winter), 17)
        << "Caracas keeps -4:00 all year";
    EXPECT_EQ(computerZoneIndex(QTimeZone(), winter), -1);
}

// A computer in a zone that no row keeps all year gets the nearest row now and
// keeps its zone's name, so a clock added for it shows its exact time.
TEST(ZoneTable, TheComputersZoneKeepsItsNameWhereNoRowFits) {
    const QDateTime winter(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    const struct {
        QTimeZone zone;
        ZoneChoice choice;
    } cases[] = {
        {QTimeZone("Pacific/Chatham"), {96, "Pacific/Chatham"}},
        {QTimeZone("Australia/Lord_Howe"), {90, "Australia/Lord_Howe"}},
        {QTimeZone("Europe/Zurich"), {37, {}}},
        {QTimeZone("Europe/London"), {35, {}}},
        {QTimeZone(19800), {65, {}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(computerZoneChoice(c.zone, winter), c.choice) << c.zone.id().constData();
}

// Rows by their words as before; the other zones and links of the database by
// their cities and countries, standing in for the row that keeps their offsets.
TEST(ZoneSearch, WordsNamePlacesWhateverTheirCaseAndAccents) {
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    const ZoneFinder finder(now);
    const auto row = [](int r) {
        return ZoneChoice{r, {}};
    };
    const auto zone = [](int r, const char* name) {
        return ZoneChoice{r, QByteArray(name)};
    };
    const struct {
        const char* words;
        QList<ZoneChoice> found;
    } cases[] = {
        {"Tokyo", {row(81)}},
        {"london", {row(35)}},
        {"America/New_York", {row(15)}},
        {"america/new_york", {row(15)}},
        {"SAO PAULO", {row(24)}},
        {"Coordinated Universal Time", {row(34)}},
        {"UTC", {row(34)}},
        {"gmt", {row(34)}},
        {"(UTC+09:00) Osaka, Sapporo, Tokyo", {row(81)}},
        {"Europe/Madrid", {zone(37, "Europe/Madrid")}},
        {"Madrid", {zone(38, "Europe/Madrid")}},
        {"Vancouver", {zone(5, "America/Vancouver")}},
        {"Tel Aviv", {zone(50, "Asia/Tel_Aviv")}},
        {"Manila", {zone(74, "Asia/Manila")}},
        {"Hanoi", {row(72)}},
        {"Rio de Janeiro", {row(24)}},
        {"Suisse", {zone(37, "Europe/Zurich")}},
        {"Mumb", {row(65)}},
        {"kath", {row(67)}},
        {"La Paz", {row(8), row(21)}},
        {"Germany", {row(37), zone(37, "Europe/Busingen")}},
        {"Atlantis", {}},
        {"  ", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        EXPECT_EQ(finder.find(QString::fromUtf8(c.words)), c.found);
    }
    EXPECT_EQ(finder.describe(zone(37, "Europe/Zurich")), QStringLiteral("Zurich, Switzerland"));
    EXPECT_EQ(finder.describe(row(67)), QStringLiteral("(UTC+05:45) Kathmandu"));
}

// The automatic name of a clock: the zone's city where the row names it, else the
// first place of the row's text, and none for a row named after no place.
TEST(ZoneTable, ARowNamesTheCityOfItsOwnTextOrNone) {
    const struct {
        int row;
        const char16_t* city;
    } cases[] = {
        {81, u"Tokyo"},  {37, u"Berlin"},
        {47, u"Harare"}, {25, u"Buenos Aires"},
        {71, u"Yangon"}, {90, u"Solomon Islands"},
        {15, u""},       {34, u""},
        {93, u""},       {-1, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zoneCity(c.row), QString::fromUtf16(c.city)) << c.row;
    EXPECT_EQ(cityOfZone("Australia/Lord_Howe"), QStringLiteral("Lord Howe"));
    EXPECT_EQ(cityOfZone("Etc/GMT+5"), QString());
    EXPECT_EQ(cityOfZone("US/Eastern"), QString());
    EXPECT_EQ(utcOffsetText(-16200), QStringLiteral("-04:30"));
    EXPECT_EQ(utcOffsetText(20700), QStringLiteral("+05:45"));
}
