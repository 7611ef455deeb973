#include "settings/clocksettings.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace ovra;

TEST(ClockSettings, AFreshClockGetsTheDefaultTable) {
    const ClockSettings s = defaultSettings();
    EXPECT_EQ(s.ClockRadius, 48);
    EXPECT_EQ(s.HourCircleWidth, 18);
    EXPECT_EQ(s.MinuteCircleWidth, 18);
    EXPECT_EQ(s.SecondCircleWidth, 18);
    // The colour defaults as the signed numbers the store holds.
    EXPECT_EQ(s.AM24HourCircleColor, -2401252);
    EXPECT_EQ(s.PMHourCircleColor, -14066);
    EXPECT_EQ(s.MinuteCircleColor, -14519603);
    EXPECT_EQ(s.SecondCircleColor, -9328877);
    EXPECT_EQ(s.TimeFontColor, -1);
    EXPECT_EQ(s.DateFontColor, -8947849);
    EXPECT_EQ(s.ClockScaleColor, 2004318071);
    for (int32_t v : {s.BackgroundOpacity, s.HourMode, s.TimeStandard, s.AlwaysOnTop,
                      s.DisplayScale, s.Autorun, s.Left, s.Top, s.MonitorID})
        EXPECT_EQ(v, 0);
}

TEST(ClockSettings, SizesOutsideTheirLimitsFallBack) {
    const struct {
        int32_t ClockSettings::*field;
        int32_t in;
        int32_t out;
    } cases[] = {
        {&ClockSettings::ClockRadius, 47, 48},
        {&ClockSettings::ClockRadius, 48, 48},
        {&ClockSettings::ClockRadius, 128, 128},
        {&ClockSettings::ClockRadius, 129, 48},
        {&ClockSettings::ClockRadius, -100, 48},
        {&ClockSettings::HourCircleWidth, 9, 18},
        {&ClockSettings::HourCircleWidth, 10, 10},
        {&ClockSettings::MinuteCircleWidth, 50, 50},
        {&ClockSettings::MinuteCircleWidth, 51, 18},
        {&ClockSettings::SecondCircleWidth, 0, 18},
        {&ClockSettings::SecondCircleWidth, 37, 37},
        {&ClockSettings::BackgroundOpacity, 6, 6},
        {&ClockSettings::BackgroundOpacity, 7, 0},
        {&ClockSettings::BackgroundOpacity, -1, 0},
        {&ClockSettings::BackgroundOpacity, 5, 5},
        // Enumerations and positions are not the normaliser's business.
        {&ClockSettings::HourMode, 7, 7},
        {&ClockSettings::MonitorID, 300, 300},
        {&ClockSettings::TimeZoneIndex, 97, 97},
        {&ClockSettings::Left, -99999, -99999},
    };
    for (const auto& c : cases) {
        ClockSettings s = defaultSettings();
        s.*c.field = c.in;
        normalizeSettings(s);
        EXPECT_EQ(s.*c.field, c.out) << "input " << c.in;
    }
}

TEST(ClockSettings, OnlyAZeroColourIsReplaced) {
    ClockSettings s = defaultSettings();
    s.TimeFontColor = 0;
    s.DateFontColor = 0x00FFFFFF; // transparent white is a real choice
    s.ClockScaleColor = 1;
    normalizeSettings(s);
    EXPECT_EQ(s.TimeFontColor, defaults::TimeFontColor);
    EXPECT_EQ(s.DateFontColor, 0x00FFFFFF);
    EXPECT_EQ(s.ClockScaleColor, 1);
}

TEST(ClockSettings, RestoreDefaultsTouchesOnlyItsHalf) {
    ClockSettings s = defaultSettings();
    s.ClockRadius = 100;
    s.HourCircleWidth = 40;
    s.MinuteCircleColor = 42;
    s.HourMode = 1;
    s.TimeStandard = 1;
    s.BackgroundOpacity = 3;
    s.Autorun = 1;
    s.DisplayScale = 1;
    s.AlwaysOnTop = 1;
    s.TimeZoneIndex = 15;
    s.MonitorID = 2;
    s.Left = 1500;
    s.Top = 3000;

    ClockSettings general = s;
    restoreDefaults(general, false);
    for (int32_t v : {general.HourMode, general.TimeStandard, general.BackgroundOpacity,
                      general.Autorun, general.DisplayScale, general.AlwaysOnTop})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(general.ClockRadius, 100);
    EXPECT_EQ(general.MinuteCircleColor, 42);
    EXPECT_EQ(general.TimeZoneIndex, 15);
    EXPECT_EQ(general.MonitorID, 2);
    EXPECT_EQ(general.Left, 1500);
    EXPECT_EQ(general.Top, 3000);

    ClockSettings look = s;
    restoreDefaults(look, true);
    const ClockSettings d = defaultSettings();
    EXPECT_EQ(look.ClockRadius, d.ClockRadius);
    EXPECT_EQ(look.HourCircleWidth, d.HourCircleWidth);
    EXPECT_EQ(look.MinuteCircleColor, d.MinuteCircleColor);
    EXPECT_EQ(look.HourMode, 1);
    EXPECT_EQ(look.Left, 1500);
}

TEST(ClockSettings, FieldTableIsTheStoreOrderWithUniqueNames) {
    ASSERT_EQ(kSettingsFields.size(), 22u);
    EXPECT_EQ(QString::fromUtf16(kSettingsFields.front().name), QStringLiteral("Enable"));
    EXPECT_EQ(QString::fromUtf16(kSettingsFields[9].name), QStringLiteral("12/24Hour"));
    EXPECT_EQ(QString::fromUtf16(kSettingsFields.back().name), QStringLiteral("ClockScaleColor"));
    QSet<QString> names;
    QSet<const void*> members;
    ClockSettings probe;
    for (const auto& f : kSettingsFields) {
        names.insert(QString::fromUtf16(f.name));
        members.insert(&(probe.*f.member));
    }
    EXPECT_EQ(names.size(), 22);
    EXPECT_EQ(members.size(), 22) << "every field of the record is stored exactly once";
}
