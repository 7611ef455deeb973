#include "settings/settingsstore.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {
struct Fixture {
    test::MemoryStoreBackend backend;
    KeyStore reg{backend};

    ClockState load(const QString& name, int32_t bias, ClockState start = {}) {
        start.clockName = name;
        start.LocalBiasMinutes = bias;
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
    s.settings.Enable = 0; // always stored as 1
    s.settings.Left = -1;
    ASSERT_EQ(writeClockSettings(f.reg, s), 0);
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
    s.settings.Top = 10;
    ASSERT_EQ(writeClockSettings(f.reg, s), 0);
    f.backend.failWrites = true;
    s.settings.Top = 20;
    EXPECT_NE(writeClockSettings(f.reg, s), 0);
    f.backend.failWrites = false;
    EXPECT_EQ(f.reg.readInteger(clockKeyPath(QStringLiteral("Tokyo")), QStringLiteral("Top")), 10);
}

TEST(SettingsStore, ZoneResolutionForDefaultNewAndStoredClocks) {
    const struct {
        const char* name;
        bool stored;
        int32_t storedIndex;
        int32_t bias;
        int32_t index;
        int32_t offset;
    } cases[] = {
        // Default follows the computer whatever is stored.
        {"Default", true, 5, -480, 74, 480},
        {"Default", false, 0, -345, 67, 345},
        {"Default", true, 5, 0, 33, 0},
        // No row for UTC+10:30: index and offset keep their start values.
        {"Default", true, 5, -630, 0, 0},
        // A never-stored clock also takes the computer's zone.
        {"Tokyo", false, 0, -60, 37, 60},
        // A stored clock keeps its own zone, also when it is a half-hour zone.
        {"Tokyo", true, 81, -60, 81, 540},
        {"Caracas", true, 17, -60, 17, -270},
        {"Edge", true, 96, 0, 96, 780},
        // Out of range: the index is kept as read and the offset is left alone.
        {"Broken", true, 97, -60, 97, 0},
        {"Broken", true, -1, -60, -1, 0},
    };
    for (const auto& c : cases) {
        Fixture f;
        const QString name = QString::fromLatin1(c.name);
        if (c.stored) {
            f.reg.writeInteger(clockKeyPath(name), QStringLiteral("Enable"), 1);
            f.reg.writeInteger(clockKeyPath(name), QStringLiteral("TimeZoneIndex"), c.storedIndex);
        }
        const ClockState s = f.load(name, c.bias);
        EXPECT_EQ(s.settings.TimeZoneIndex, c.index) << c.name << " bias " << c.bias;
        EXPECT_EQ(s.zoneOffsetMinutes, c.offset) << c.name << " bias " << c.bias;
    }
}

TEST(SettingsStore, DefaultWithoutMatchingRowKeepsThePreviousIndex) {
    Fixture f;
    ClockState before;
    before.settings.TimeZoneIndex = 42;
    before.zoneOffsetMinutes = 120;
    const ClockState s = f.load(QStringLiteral("Default"), -630, before);
    EXPECT_EQ(s.settings.TimeZoneIndex, 42);
    EXPECT_EQ(s.zoneOffsetMinutes, 120);
}

TEST(SettingsStore, AFreshlyAddedClockReadsAsDefaultsInItsZone) {
    Fixture f;
    const QString key = clockKeyPath(QStringLiteral("Mexico"));
    f.reg.writeInteger(key, QStringLiteral("Enable"), 1);
    f.reg.writeInteger(key, QStringLiteral("TimeZoneIndex"), 12);
    const ClockState s = f.load(QStringLiteral("Mexico"), -60);
    ClockSettings expected = defaultSettings();
    expected.Enable = 1;
    expected.TimeZoneIndex = 12;
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
    before.settings.Left = 4321;
    const ClockState s = f.load(QStringLiteral("Mixed"), 0, before);
    EXPECT_EQ(s.settings.ClockRadius, 100);
    EXPECT_EQ(s.settings.Left, 4321) << "a text that is no number keeps the previous value";
    EXPECT_EQ(s.settings.HourCircleWidth, 18) << "normalised after reading";
}

TEST(SettingsStore, AMissingKeyGivesDefaultsAndTheSystemZone) {
    Fixture f;
    const ClockState s = f.load(QStringLiteral("Nowhere"), 300);
    EXPECT_EQ(s.settings.Enable, 0);
    EXPECT_EQ(s.settings.TimeZoneIndex, 14);
    EXPECT_EQ(s.settings.ClockRadius, 48);
    EXPECT_EQ(s.settings.SecondCircleColor, defaults::SecondCircleColor);
}
