#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace ovra {

// One clock's settings. Every persisted field but the zone name is a 32-bit signed
// integer named as its store value; enumerations hold the index of the choice in the settings
// dialog, so 0 is always the default choice.
struct ClockSettings {
    int32_t Enable = 0;
    int32_t TimeZoneIndex = 0;
    int32_t TimeStandard = 0; // 0 standard, 1 daylight saving (+60 minutes), 2 automatic
    int32_t MonitorID = 0;
    int32_t Autorun = 0; // 0 start with the session, 1 do not
    int32_t Top = 0;     // twips on the virtual screen
    int32_t Left = 0;    // twips on the virtual screen
    int32_t AlwaysOnTop = 0;
    int32_t DisplayScale = 0; // 0 shows the scale
    int32_t HourMode = 0;     // "12/24Hour": 0 twelve-hour, 1 twenty-four-hour
    int32_t HourCircleWidth = 0;
    int32_t MinuteCircleWidth = 0;
    int32_t SecondCircleWidth = 0;
    int32_t ClockRadius = 0;
    int32_t BackgroundOpacity = 0;   // 0 = 100 % ... 5 = 50 %; 6 is accepted
    int32_t AM24HourCircleColor = 0; // colours are 0xAARRGGBB
    int32_t PMHourCircleColor = 0;
    int32_t MinuteCircleColor = 0;
    int32_t SecondCircleColor = 0;
    int32_t TimeFontColor = 0;
    int32_t DateFontColor = 0;
    int32_t ClockScaleColor = 0;
    // The zone of the system's database the clock was made for, where no row is
    // its own place ("Australia/Lord_Howe"); stored as text beside TimeZoneIndex
    // when the clock is added, and empty for every clock added for a row.
    QByteArray TimeZoneName;

    friend bool operator==(const ClockSettings&, const ClockSettings&) = default;
};

// A persisted field: its store value name and where it lives in the record.
struct SettingsField {
    const char16_t* name;
    int32_t ClockSettings::*member;
};

// The 22 fields in the order they are written to the store.
extern const std::array<SettingsField, 22> kSettingsFields;

namespace defaults {
inline constexpr int32_t ClockRadius = 48;
inline constexpr int32_t CircleWidth = 18;
inline constexpr int32_t AM24HourCircleColor = int32_t(0xFFDB5C1Cu);
inline constexpr int32_t PMHourCircleColor = int32_t(0xFFFFC90Eu);
inline constexpr int32_t MinuteCircleColor = int32_t(0xFF2272CDu);
inline constexpr int32_t SecondCircleColor = int32_t(0xFF71A713u);
inline constexpr int32_t TimeFontColor = int32_t(0xFFFFFFFFu);
inline constexpr int32_t DateFontColor = int32_t(0xFF777777u);
inline constexpr int32_t ClockScaleColor = int32_t(0x77777777u);
} // namespace defaults

namespace limits {
inline constexpr int32_t MinRadius = 48, MaxRadius = 128;
inline constexpr int32_t MinWidth = 10, MaxWidth = 50;
inline constexpr int32_t MinOpacity = 0, MaxOpacity = 6;
} // namespace limits

// Replaces zero colours by their defaults and out-of-range sizes and opacity by
// theirs. Enumerations, zone, monitor and position are taken as they are.
void normalizeSettings(ClockSettings& s);

// appearance true: every colour and size to its default. false: the six general
// choices to index 0; zone, monitor and position stay.
void restoreDefaults(ClockSettings& s, bool appearance);

// The record a never-stored clock ends up with after loading and normalising.
ClockSettings defaultSettings();

} // namespace ovra
