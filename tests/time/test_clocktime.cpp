#include "time/clocktime.h"
#include "time/timesource.h"
#include "time/zonetable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

using namespace ovra;

namespace {
QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}
QTimeZone zone(const char* id) {
    return QTimeZone(QByteArray(id));
}
QTimeZone fixed(int minutes) {
    return QTimeZone(minutes * 60);
}
} // namespace

TEST(LocalBias, IsTheStandardBiasWhateverTheSeason) {
    const struct {
        const char* zoneId;
        QDateTime when;
        int32_t bias;
    } cases[] = {
        {"Europe/Berlin", utc(2026, 1, 15, 12, 0), -60},
        {"Europe/Berlin", utc(2026, 7, 15, 12, 0), -60}, // summer time is not part of it
        {"America/New_York", utc(2026, 7, 15, 12, 0), 300},
        {"Asia/Kathmandu", utc(2026, 3, 1, 0, 0), -345},
        {"Asia/Shanghai", utc(2026, 3, 1, 0, 0), -480},
        {"UTC", utc(2026, 3, 1, 0, 0), 0},
    };
    for (const auto& c : cases) {
        FixedTimeSource t(c.when, zone(c.zoneId));
        EXPECT_EQ(getLocalBias(t), c.bias) << c.zoneId;
    }
    FixedTimeSource unknown(utc(2026, 1, 1, 0, 0), QTimeZone());
    EXPECT_EQ(getLocalBias(unknown), 0);
}

// Every form of TZ that the C library takes gives the computer's zone, so the
// Default clock never falls back to UTC while date(1) shows local time.
TEST(ComputerZone, FollowsEveryFormOfTZTheCLibraryTakes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString kolkataFile = QStringLiteral("/usr/share/zoneinfo/Asia/Kolkata");
    const QString copy = dir.filePath(QStringLiteral("my-zone"));
    ASSERT_TRUE(QFile::copy(kolkataFile, copy));
    const QByteArray saved = qgetenv("TZ");
    const struct {
        QByteArray tz;
        QDateTime when;
        int offset;
    } cases[] = {
        {":" + kolkataFile.toUtf8(), utc(2026, 12, 7, 11, 0), 19800},
        {kolkataFile.toUtf8(), utc(2026, 12, 7, 11, 0), 19800},
        {"/usr/share/zoneinfo/Europe/Berlin", utc(2026, 7, 1, 12, 0), 7200},
        {copy.toUtf8(), utc(2026, 12, 7, 11, 0), 19800},
        {"EST5EDT", utc(2026, 12, 7, 11, 0), -18000},
        {"<+0530>-5:30", utc(2026, 12, 7, 11, 0), 19800},
        {":Asia/Kolkata", utc(2026, 12, 7, 11, 0), 19800},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tz.constData());
        qputenv("TZ", c.tz);
        tzset();
        const QTimeZone computer = computerZone(c.when);
        ASSERT_TRUE(computer.isValid());
        EXPECT_EQ(computer.offsetFromUtc(c.when), c.offset);
    }
    qputenv("TZ", ":" + kolkataFile.toUtf8());
    EXPECT_EQ(computerZone(utc(2026, 12, 7, 11, 0)).id(), QByteArray("Asia/Kolkata"));
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
}

// A zone file is what it holds, wherever it lies: a private file under
// ".../zoneinfo/Asia/Tokyo" that holds New York's rules is New York's time, as
// the C library and date(1) take it. The name counts only for a file that is the
// system's own zone of that name, byte for byte.
TEST(ComputerZone, AZoneFileIsReadForWhatItHoldsNotWhereItLies) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString system = QStringLiteral("/usr/share/zoneinfo/");
    const QByteArray saved = qgetenv("TZ");
    const struct {
        const char* holds; // the system zone whose file is copied to planted
        QByteArray prefix;
        QDateTime when;
        int offset;
        QByteArray id; // empty: any id but the path's
    } cases[] = {
        {"America/New_York", "", utc(2026, 1, 15, 12, 0), -18000, ""},
        {"America/New_York", ":", utc(2026, 7, 15, 12, 0), -14400, ""},
        {"Europe/Berlin", "", utc(2026, 7, 15, 12, 0), 7200, ""},
        {"Asia/Tokyo", "", utc(2026, 7, 15, 12, 0), 32400, "Asia/Tokyo"},
        {"Asia/Tokyo", ":", utc(2026, 1, 15, 12, 0), 32400, "Asia/Tokyo"},
    };
    int row = 0;
    for (const auto& c : cases) {
        // A path of its own per row: the C library reads a TZ it has seen once only.
        const QString planted = dir.filePath(QStringLiteral("%1/zoneinfo/Asia/Tokyo").arg(++row));
        SCOPED_TRACE((QByteArray(c.holds) + " as " + c.prefix + planted.toUtf8()).constData());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(planted).path()));
        ASSERT_TRUE(QFile::copy(system + QString::fromLatin1(c.holds), planted));
        qputenv("TZ", c.prefix + QFile::encodeName(planted));
        tzset();
        const QTimeZone computer = computerZone(c.when);
        ASSERT_TRUE(computer.isValid());
        EXPECT_EQ(computer.offsetFromUtc(c.when), c.offset);
        // The C library reads the same file the same way.
        const time_t t = time_t(c.when.toSecsSinceEpoch());
        std::tm local{};
        ASSERT_TRUE(localtime_r(&t, &local));
        EXPECT_EQ(local.tm_gmtoff, c.offset);
        if (c.id.isEmpty())
            EXPECT_NE(computer.id().toStdString(), "Asia/Tokyo");
        else
            EXPECT_EQ(computer.id().toStdString(), c.id.toStdString());
    }
    // A zone name, read by the C library from the folder TZDIR names.
    const QString folder = dir.filePath(QStringLiteral("tzdir"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Asia")));
    ASSERT_TRUE(QFile::copy(system + QStringLiteral("America/New_York"),
                            folder + QStringLiteral("/Asia/Tokyo")));
    const QByteArray savedFolder = qgetenv("TZDIR");
    qputenv("TZDIR", QFile::encodeName(folder));
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    EXPECT_EQ(computerZone(utc(2026, 1, 15, 12, 0)).offsetFromUtc(utc(2026, 1, 15, 12, 0)), -18000);
    if (savedFolder.isNull())
        qunsetenv("TZDIR");
    else
        qputenv("TZDIR", savedFolder);
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
}

TEST(clockTime, AcrossMidnightMonthAndYearEndsWithBothSwitches) {
    const struct {
        const char* what;
        QDateTime now;
        QTimeZone computer;
        ClockTimeInput in;
        QDateTime shows;
    } cases[] = {
        // UTC+8 computer, clock at index 15 (-300): local 10:00 Tuesday shows 21:00 Monday.
        {"zone behind",
         utc(2026, 12, 1, 2, 0),
         fixed(480),
         {false, -300, 0},
         utc(2026, 11, 30, 21, 0)},
        {"zone behind, summer switch",
         utc(2026, 12, 1, 2, 0),
         fixed(480),
         {false, -300, 1},
         utc(2026, 11, 30, 22, 0)},
        {"Default at UTC+8",
         utc(2026, 12, 1, 2, 0),
         fixed(480),
         {true, 480, 0},
         utc(2026, 12, 1, 10, 0)},
        {"Default with its switch",
         utc(2026, 12, 1, 2, 0),
         fixed(480),
         {true, 480, 1},
         utc(2026, 12, 1, 11, 0)},
        {"ahead into the next year",
         utc(2026, 12, 31, 23, 30, 15),
         fixed(-300),
         {false, 780, 0},
         utc(2027, 1, 1, 12, 30, 15)},
        {"leap day", utc(2028, 2, 28, 20, 0), fixed(0), {false, 345, 0}, utc(2028, 2, 29, 1, 45)},
        {"behind to the end of February",
         utc(2026, 3, 1, 3, 0),
         fixed(60),
         {false, -720, 0},
         utc(2026, 2, 28, 15, 0)},
        {"switch crosses midnight",
         utc(2026, 5, 31, 23, 0, 59),
         fixed(0),
         {false, 0, 1},
         utc(2026, 6, 1, 0, 0, 59)},
        // Daylight saving on the computer: a Tokyo clock must not drift by the hour.
        {"Berlin summer, Tokyo clock",
         utc(2026, 7, 1, 3, 0),
         zone("Europe/Berlin"),
         {false, 540, 0},
         utc(2026, 7, 1, 12, 0)},
        {"Berlin summer, Default",
         utc(2026, 7, 1, 3, 0),
         zone("Europe/Berlin"),
         {true, 60, 0},
         utc(2026, 7, 1, 5, 0)},
        {"Berlin winter, Default",
         utc(2026, 1, 1, 3, 0),
         zone("Europe/Berlin"),
         {true, 60, 0},
         utc(2026, 1, 1, 4, 0)},
        {"New York summer, London clock",
         utc(2026, 7, 1, 3, 0),
         zone("America/New_York"),
         {false, 0, 1},
         utc(2026, 7, 1, 4, 0)},
        // A computer zone with no table row: Default still shows local time.
        {"UTC+10:30 Default",
         utc(2026, 1, 10, 13, 30),
         zone("Australia/Lord_Howe"),
         {true, 0, 0},
         utc(2026, 1, 11, 0, 30)},
        {"sub-second cut",
         QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1, 999), Qt::UTC),
         fixed(0),
         {false, 0, 0},
         utc(2026, 1, 1, 0, 0, 1)},
    };
    for (const auto& c : cases) {
        const QDateTime t = clockTime(c.now, c.computer, c.in);
        EXPECT_EQ(t.date(), c.shows.date()) << c.what;
        EXPECT_EQ(t.time(), c.shows.time()) << c.what;
    }
}

TEST(clockTime, WeekdayFollowsTheClocksOwnDate) {
    // 10:00 Tuesday at UTC+8 is Monday evening in UTC-5.
    const QDateTime t = clockTime(utc(2026, 12, 1, 2, 0), fixed(480), {false, -300, 0});
    EXPECT_EQ(t.date().dayOfWeek(), 1);
}

TEST(clockTime, AutomaticFollowsEachPlacesRulesAcrossBothChangesOf2026) {
    constexpr int kNewYork = 15, kLondon = 35, kBerlin = 37, kTokyo = 81, kSydney = 86;
    const struct {
        int row;
        QDateTime now;
        QDateTime shows;
    } cases[] = {
        {kBerlin, utc(2026, 7, 1, 8, 0), utc(2026, 7, 1, 10, 0)},
        {kBerlin, utc(2026, 1, 15, 8, 0), utc(2026, 1, 15, 9, 0)},
        {kBerlin, utc(2026, 3, 29, 0, 59), utc(2026, 3, 29, 1, 59)},
        {kBerlin, utc(2026, 3, 29, 1, 0), utc(2026, 3, 29, 3, 0)},
        {kBerlin, utc(2026, 10, 25, 0, 59), utc(2026, 10, 25, 2, 59)},
        {kBerlin, utc(2026, 10, 25, 1, 0), utc(2026, 10, 25, 2, 0)},
        {kLondon, utc(2026, 3, 29, 0, 59), utc(2026, 3, 29, 0, 59)},
        {kLondon, utc(2026, 3, 29, 1, 0), utc(2026, 3, 29, 2, 0)},
        {kLondon, utc(2026, 10, 25, 0, 59), utc(2026, 10, 25, 1, 59)},
        {kLondon, utc(2026, 10, 25, 1, 0), utc(2026, 10, 25, 1, 0)},
        {kNewYork, utc(2026, 3, 8, 6, 59), utc(2026, 3, 8, 1, 59)},
        {kNewYork, utc(2026, 3, 8, 7, 0), utc(2026, 3, 8, 3, 0)},
        {kNewYork, utc(2026, 11, 1, 5, 59), utc(2026, 11, 1, 1, 59)},
        {kNewYork, utc(2026, 11, 1, 6, 0), utc(2026, 11, 1, 1, 0)},
        // Southern summer: daylight saving ends in April and starts in October.
        {kSydney, utc(2026, 4, 4, 15, 59), utc(2026, 4, 5, 2, 59)},
        {kSydney, utc(2026, 4, 4, 16, 0), utc(2026, 4, 5, 2, 0)},
        {kSydney, utc(2026, 10, 3, 15, 59), utc(2026, 10, 4, 1, 59)},
        {kSydney, utc(2026, 10, 3, 16, 0), utc(2026, 10, 4, 3, 0)},
        {kTokyo, utc(2026, 7, 1, 8, 0), utc(2026, 7, 1, 17, 0)},
    };
    // The computer's own zone plays no part for a clock other than Default.
    for (const QTimeZone& computer : {zone("America/Los_Angeles"), fixed(330)}) {
        for (const auto& c : cases) {
            const int32_t fixedOffset = zoneAt(c.row)->offsetMinutes;
            const QDateTime t = clockTime(c.now, computer, {false, fixedOffset, 2, c.row});
            EXPECT_EQ(t, c.shows) << c.row << " at " << qPrintable(c.now.toString(Qt::ISODate));
        }
    }
}

TEST(clockTime, StoredChoicesOtherThanAutomaticKeepTheirMeaning) {
    const QDateTime summer = utc(2026, 7, 1, 8, 0);
    const struct {
        bool isDefault;
        int32_t timeStandard;
        int row;
        QDateTime shows;
    } cases[] = {
        {false, 0, 37, utc(2026, 7, 1, 9, 0)},  // Standard: the fixed offset in summer too
        {false, 1, 37, utc(2026, 7, 1, 10, 0)}, // Daylight Saving: one hour on, all year
        {false, 1, 81, utc(2026, 7, 1, 18, 0)},
        {false, 7, 37, utc(2026, 7, 1, 10, 0)}, // a newer build's value: as before
        {false, -1, 37, utc(2026, 7, 1, 10, 0)},
        {false, 2, 97, utc(2026, 7, 1, 8, 0)}, // no such row: the fixed offset
        {true, 2, 81, utc(2026, 7, 1, 4, 0)},  // Default: the computer's local time
        {true, 1, 81, utc(2026, 7, 1, 5, 0)},
    };
    for (const auto& c : cases) {
        const int32_t offset =
            c.isDefault ? -300 : (zoneAt(c.row) ? zoneAt(c.row)->offsetMinutes : 0);
        const QDateTime t = clockTime(summer, zone("America/New_York"),
                                      {c.isDefault, offset, c.timeStandard, c.row});
        EXPECT_EQ(t, c.shows) << c.isDefault << " " << c.timeStandard << " row " << c.row;
    }
}
