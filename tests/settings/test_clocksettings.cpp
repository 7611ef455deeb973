#include "settings/clocksettings.h"
#include "settings/settingsstore.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace ovra;

namespace {
int32_t valueOf(const QColor& c) {
    return int32_t(c.rgba());
}
} // namespace

TEST(ClockSettings, AFreshClockGetsTheDefaultTable) {
    const ClockSettings s = defaultSettings();
    EXPECT_EQ(s.radius, 48);
    EXPECT_EQ(s.hourRingWidth, 18);
    EXPECT_EQ(s.minuteRingWidth, 18);
    EXPECT_EQ(s.secondRingWidth, 18);
    // The colour defaults as the signed numbers the store holds.
    EXPECT_EQ(valueOf(s.amHourColor), -2401252);
    EXPECT_EQ(valueOf(s.pmHourColor), -14066);
    EXPECT_EQ(valueOf(s.minuteColor), -14519603);
    EXPECT_EQ(valueOf(s.secondColor), -9328877);
    EXPECT_EQ(valueOf(s.timeTextColor), -1);
    EXPECT_EQ(valueOf(s.dateTextColor), -8947849);
    EXPECT_EQ(valueOf(s.scaleColor), 2004318071);
    EXPECT_EQ(s.opacityStep, 0);
    EXPECT_EQ(s.hourMode, HourMode::TwelveHour);
    EXPECT_EQ(s.timeStandard, TimeStandard::Standard);
    EXPECT_FALSE(s.alwaysOnTop);
    EXPECT_TRUE(s.showScale);
    EXPECT_TRUE(s.startAtLogin);
    EXPECT_EQ(s.position, QPoint(0, 0));
    EXPECT_EQ(s.monitor, 0);
}

TEST(ClockSettings, SizesOutsideTheirLimitsFallBack) {
    const struct {
        int ClockSettings::*field;
        int in;
        int out;
    } cases[] = {
        {&ClockSettings::radius, 47, 48},
        {&ClockSettings::radius, 48, 48},
        {&ClockSettings::radius, 128, 128},
        {&ClockSettings::radius, 129, 48},
        {&ClockSettings::radius, -100, 48},
        {&ClockSettings::hourRingWidth, 9, 18},
        {&ClockSettings::hourRingWidth, 10, 10},
        {&ClockSettings::minuteRingWidth, 50, 50},
        {&ClockSettings::minuteRingWidth, 51, 18},
        {&ClockSettings::secondRingWidth, 0, 18},
        {&ClockSettings::secondRingWidth, 37, 37},
        {&ClockSettings::opacityStep, 6, 6},
        {&ClockSettings::opacityStep, 7, 0},
        {&ClockSettings::opacityStep, -1, 0},
        {&ClockSettings::opacityStep, 5, 5},
        // Enumerations and positions are not the normaliser's business.
        {&ClockSettings::monitor, 300, 300},
        {&ClockSettings::timeZoneRow, 97, 97},
    };
    for (const auto& c : cases) {
        ClockSettings s = defaultSettings();
        s.*c.field = c.in;
        normalizeSettings(s);
        EXPECT_EQ(s.*c.field, c.out) << "input " << c.in;
    }
    ClockSettings s = defaultSettings();
    s.hourMode = HourMode(7);
    s.position = QPoint(-99999, 0);
    normalizeSettings(s);
    EXPECT_EQ(s.hourMode, HourMode(7));
    EXPECT_EQ(s.position, QPoint(-99999, 0));
}

TEST(ClockSettings, OnlyAZeroColourIsReplaced) {
    ClockSettings s = defaultSettings();
    s.timeTextColor = QColor::fromRgba(0);
    s.dateTextColor = QColor::fromRgba(0x00FFFFFF); // transparent white is a real choice
    s.scaleColor = QColor::fromRgba(1);
    normalizeSettings(s);
    EXPECT_EQ(s.timeTextColor.rgba(), defaults::TimeTextColor);
    EXPECT_EQ(valueOf(s.dateTextColor), 0x00FFFFFF);
    EXPECT_EQ(valueOf(s.scaleColor), 1);
}

TEST(ClockSettings, RestoreDefaultsTouchesOnlyItsHalf) {
    ClockSettings s = defaultSettings();
    s.radius = 100;
    s.hourRingWidth = 40;
    s.minuteColor = QColor::fromRgba(42);
    s.hourMode = HourMode::TwentyFourHour;
    s.timeStandard = TimeStandard::DaylightSaving;
    s.opacityStep = 3;
    s.startAtLogin = false;
    s.showScale = false;
    s.alwaysOnTop = true;
    s.timeZoneRow = 15;
    s.monitor = 2;
    s.position = QPoint(100, 200);

    ClockSettings general = s;
    restoreDefaults(general, false);
    EXPECT_EQ(general.hourMode, HourMode::TwelveHour);
    EXPECT_EQ(general.timeStandard, TimeStandard::Standard);
    EXPECT_EQ(general.opacityStep, 0);
    EXPECT_TRUE(general.startAtLogin);
    EXPECT_TRUE(general.showScale);
    EXPECT_FALSE(general.alwaysOnTop);
    EXPECT_EQ(general.radius, 100);
    EXPECT_EQ(valueOf(general.minuteColor), 42);
    EXPECT_EQ(general.timeZoneRow, 15);
    EXPECT_EQ(general.monitor, 2);
    EXPECT_EQ(general.position, QPoint(100, 200));

    ClockSettings look = s;
    restoreDefaults(look, true);
    const ClockSettings d = defaultSettings();
    EXPECT_EQ(look.radius, d.radius);
    EXPECT_EQ(look.hourRingWidth, d.hourRingWidth);
    EXPECT_EQ(look.minuteColor, d.minuteColor);
    EXPECT_EQ(look.hourMode, HourMode::TwentyFourHour);
    EXPECT_EQ(look.position, QPoint(100, 200));
}

TEST(ClockSettings, FieldTableIsTheStoreOrderWithUniqueNames) {
    ASSERT_EQ(kSettingsFields.size(), 22u);
    EXPECT_EQ(QString::fromUtf16(kSettingsFields.front().name), QStringLiteral("Enable"));
    EXPECT_EQ(QString::fromUtf16(kSettingsFields[9].name), QStringLiteral("12/24Hour"));
    EXPECT_EQ(QString::fromUtf16(kSettingsFields.back().name), QStringLiteral("ClockScaleColor"));
    QSet<QString> names;
    for (const auto& f : kSettingsFields)
        names.insert(QString::fromUtf16(f.name));
    EXPECT_EQ(names.size(), 22);
    // Every field of the record is stored exactly once: a value taken into one
    // field changes that field's stored number and no other's.
    const ScreenDensity density;
    const ClockSettings base = defaultSettings();
    for (size_t i = 1; i < kSettingsFields.size(); ++i) { // Enable is always stored as 1
        ClockSettings s = base;
        kSettingsFields[i].take(s, 12345, density);
        for (size_t j = 0; j < kSettingsFields.size(); ++j)
            EXPECT_EQ(kSettingsFields[j].stored(s, density) ==
                          kSettingsFields[j].stored(base, density),
                      i != j)
                << QString::fromUtf16(kSettingsFields[i].name).toStdString() << " against "
                << QString::fromUtf16(kSettingsFields[j].name).toStdString();
    }
}
