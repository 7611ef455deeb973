#include "settings/settingsstore.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace ovra;

namespace {
const SettingsField& field(std::u16string_view name) {
    for (const auto& f : kSettingsFields)
        if (name == f.name)
            return f;
    throw std::invalid_argument("no such value");
}

// The record's value as it would be stored under that name, and the other way.
int32_t storedAs(const ClockSettings& s, std::u16string_view name) {
    return field(name).stored(s, ScreenDensity());
}
void takeStored(ClockSettings& s, std::u16string_view name, int32_t value) {
    field(name).take(s, value, ScreenDensity());
}

struct Fixture {
    test::MemoryStoreBackend backend;
    KeyStore reg{backend};

    ClockState load(const QString& name, int32_t computerOffset, ClockState start = {}) {
        start.clockName = name;
        start.computerOffsetMinutes = computerOffset;
        loadClockSettings(reg, start);
        return start;
    }
};
} // namespace

TEST(SettingsStore, WritesEveryFieldAsA32BitIntegerInOneTransaction) {
    Fixture f;
    ClockState s;
    s.clockName = QStringLiteral("Tokyo");
    s.settings = defaultSettings();
    s.settings.enabled = false; // always stored as 1
    takeStored(s.settings, u"Left", -1);
    ASSERT_EQ(writeClockSettings(f.reg, s), StoreError::None);
    EXPECT_EQ(f.backend.transactions, 1);
    const QString key = clockKeyPath(QStringLiteral("Tokyo"));
    EXPECT_EQ(key, QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\Tokyo"));
    EXPECT_EQ(f.reg.readInteger(key, QStringLiteral("Enable")), 1);
    EXPECT_EQ(f.reg.readInteger(key, QStringLiteral("Left")), -1);
    EXPECT_EQ(f.reg.readInteger(key, QStringLiteral("12/24Hour")), 0);
    EXPECT_EQ(f.reg.readInteger(key, QStringLiteral("AM/24HourCircleColor")), -2401252);
}

TEST(SettingsStore, AFailedWriteKeepsWhatWasStored) {
    Fixture f;
    ClockState s;
    s.clockName = QStringLiteral("Tokyo");
    s.settings = defaultSettings();
    takeStored(s.settings, u"Top", 10);
    ASSERT_EQ(writeClockSettings(f.reg, s), StoreError::None);
    f.backend.failWrites = true;
    takeStored(s.settings, u"Top", 20);
    EXPECT_NE(writeClockSettings(f.reg, s), StoreError::None);
    f.backend.failWrites = false;
    EXPECT_EQ(f.reg.readInteger(clockKeyPath(QStringLiteral("Tokyo")), QStringLiteral("Top")), 10);
}

TEST(SettingsStore, ZoneResolutionForDefaultNewAndStoredClocks) {
    const struct {
        const char* name;
        bool stored;
        int32_t storedIndex;
        int32_t computerOffset;
        int32_t index;
        int32_t offset;
    } cases[] = {
        // Default follows the computer whatever is stored.
        {"Default", true, 5, 480, 74, 480},
        {"Default", false, 0, 345, 67, 345},
        {"Default", true, 5, 0, 33, 0},
        // No row for UTC+10:30: index and offset keep their start values.
        {"Default", true, 5, 630, 0, 0},
        // A never-stored clock also takes the computer's zone.
        {"Tokyo", false, 0, 60, 37, 60},
        // A stored clock keeps its own zone, also when it is a half-hour zone.
        {"Tokyo", true, 81, 60, 81, 540},
        {"Caracas", true, 17, 60, 17, -270},
        {"Edge", true, 96, 0, 96, 780},
        // Out of range: the index is kept as read and the offset is left alone.
        {"Broken", true, 97, 60, 97, 0},
        {"Broken", true, -1, 60, -1, 0},
    };
    for (const auto& c : cases) {
        Fixture f;
        const QString name = QString::fromLatin1(c.name);
        if (c.stored) {
            f.reg.writeInteger(clockKeyPath(name), QStringLiteral("Enable"), 1);
            f.reg.writeInteger(clockKeyPath(name), QStringLiteral("TimeZoneIndex"), c.storedIndex);
        }
        const ClockState s = f.load(name, c.computerOffset);
        EXPECT_EQ(s.settings.timeZoneRow, c.index)
            << c.name << " computer offset " << c.computerOffset;
        EXPECT_EQ(s.zoneOffsetMinutes, c.offset)
            << c.name << " computer offset " << c.computerOffset;
    }
}

TEST(SettingsStore, DefaultWithoutMatchingRowKeepsThePreviousIndex) {
    Fixture f;
    ClockState before;
    before.settings.timeZoneRow = 42;
    before.zoneOffsetMinutes = 120;
    const ClockState s = f.load(QStringLiteral("Default"), 630, before);
    EXPECT_EQ(s.settings.timeZoneRow, 42);
    EXPECT_EQ(s.zoneOffsetMinutes, 120);
}

TEST(SettingsStore, AFreshlyAddedClockReadsAsDefaultsInItsZone) {
    Fixture f;
    const QString key = clockKeyPath(QStringLiteral("Mexico"));
    f.reg.writeInteger(key, QStringLiteral("Enable"), 1);
    f.reg.writeInteger(key, QStringLiteral("TimeZoneIndex"), 12);
    const ClockState s = f.load(QStringLiteral("Mexico"), 60);
    ClockSettings expected = defaultSettings();
    expected.enabled = true;
    expected.timeZoneRow = 12;
    EXPECT_EQ(s.settings, expected);
    EXPECT_EQ(s.zoneOffsetMinutes, -360);
}

TEST(SettingsStore, TextValuesAreNumbersOrLeaveTheFieldAlone) {
    Fixture f;
    const QString key = clockKeyPath(QStringLiteral("Mixed"));
    f.reg.writeInteger(key, QStringLiteral("Enable"), 1);
    f.reg.writeText(key, QStringLiteral("ClockRadius"), QStringLiteral(" 100 "));
    f.reg.writeText(key, QStringLiteral("Left"), QStringLiteral("left edge"));
    f.reg.writeText(key, QStringLiteral("HourCircleWidth"), QStringLiteral("999"));
    ClockState before;
    takeStored(before.settings, u"Left", 4321);
    const ClockState s = f.load(QStringLiteral("Mixed"), 0, before);
    EXPECT_EQ(s.settings.radius, 100);
    EXPECT_EQ(storedAs(s.settings, u"Left"), 4321)
        << "a text that is no number keeps the previous value";
    EXPECT_EQ(s.settings.hourRingWidth, 18) << "normalised after reading";
}

TEST(SettingsStore, AMissingKeyGivesDefaultsAndTheSystemZone) {
    Fixture f;
    const ClockState s = f.load(QStringLiteral("Nowhere"), -300);
    EXPECT_FALSE(s.settings.enabled);
    EXPECT_EQ(s.settings.timeZoneRow, 14);
    EXPECT_EQ(s.settings.radius, 48);
    EXPECT_EQ(s.settings.secondColor.rgba(), defaults::SecondColor);
}

// What a typed field cannot carry whole (a flag that is neither 0 nor 1, a position
// between two pixels) is read with the meaning it always had, goes back to the
// store as it came while the field keeps that meaning, and gives way to the field's
// own form once the field changes.
TEST(SettingsStore, StoredFormsSurviveAnUntouchedRecordAndGiveWayToAChange) {
    const struct {
        const char* what;
        const char16_t* name;
        int32_t stored;
        double dpi;
        std::function<bool(const ClockSettings&)> readAs;
        std::function<void(ClockSettings&)> change;
        int32_t storedAfterChange;
    } cases[] = {
        {"autostart wish 7 is no wish", u"Autorun", 7, 96,
         [](const ClockSettings& s) { return !s.startAtLogin; },
         [](ClockSettings& s) { s.startAtLogin = true; }, 0},
        {"on top 2 is not on top", u"AlwaysOnTop", 2, 96,
         [](const ClockSettings& s) { return !s.alwaysOnTop; },
         [](ClockSettings& s) { s.alwaysOnTop = true; }, 1},
        {"scale -3 is hidden", u"DisplayScale", -3, 96,
         [](const ClockSettings& s) { return !s.showScale; },
         [](ClockSettings& s) { s.showScale = true; }, 0},
        {"hour mode 7 is 24 hours", u"12/24Hour", 7, 96,
         [](const ClockSettings& s) { return s.twentyFourHour(); },
         [](ClockSettings& s) { s.hourMode = HourMode::TwelveHour; }, 0},
        {"a newer time standard", u"TimeStandard", 9, 96,
         [](const ClockSettings& s) { return s.timeStandard == TimeStandard(9); },
         [](ClockSettings& s) { s.timeStandard = TimeStandard::Automatic; }, 2},
        {"opacity 6", u"BackgroundOpacity", 6, 96,
         [](const ClockSettings& s) { return s.opacityStep == 6; },
         [](ClockSettings& s) { s.opacityStep = 1; }, 1},
        {"100 twips stand on pixel 7", u"Left", 100, 96,
         [](const ClockSettings& s) { return s.position.x() == 7; },
         [](ClockSettings& s) { s.position.rx() += 1; }, 120},
        {"-30 twips are pixel -2", u"Top", -30, 96,
         [](const ClockSettings& s) { return s.position.y() == -2; },
         [](ClockSettings& s) { s.position.ry() -= 1; }, -45},
        {"-7 twips round to pixel 0", u"Left", -7, 96,
         [](const ClockSettings& s) { return s.position.x() == 0; },
         [](ClockSettings& s) { s.position.rx() = -1; }, -15},
        {"at 120 dpi a pixel is 12 twips", u"Top", 100, 120,
         [](const ClockSettings& s) { return s.position.y() == 8; },
         [](ClockSettings& s) { s.position.ry() = 10; }, 120},
        {"transparent white is a colour", u"DateFontColor", 0x00FFFFFF, 96,
         [](const ClockSettings& s) { return s.dateTextColor == QColor(255, 255, 255, 0); },
         [](ClockSettings& s) { s.dateTextColor = QColor(255, 0, 0); }, int32_t(0xFFFF0000u)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const QString key = clockKeyPath(QStringLiteral("Odd"));
        const QString name = QString::fromUtf16(c.name);
        f.reg.writeInteger(key, QStringLiteral("Enable"), 1);
        f.reg.writeInteger(key, name, c.stored);
        ClockState s;
        s.clockName = QStringLiteral("Odd");
        s.density = {c.dpi, c.dpi};
        ASSERT_EQ(loadClockSettings(f.reg, s), StoreError::None);
        EXPECT_TRUE(c.readAs(s.settings));
        ASSERT_EQ(writeClockSettings(f.reg, s), StoreError::None);
        EXPECT_EQ(f.reg.readInteger(key, name), c.stored);
        c.change(s.settings);
        ASSERT_EQ(writeClockSettings(f.reg, s), StoreError::None);
        EXPECT_EQ(f.reg.readInteger(key, name), c.storedAfterChange);
    }
}
