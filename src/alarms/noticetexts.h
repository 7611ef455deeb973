#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ovra {

// Seconds from an alarm's notice to its power action.
inline constexpr int kCountdownSeconds = 30;

// "Clock: <name>  -  Alarm: <time>", the time as "HH:mm" when hourMode (the
// 12/24Hour setting) is not 0, else as "hh:mm AM/PM" (midnight is 12:00 AM).
QString NoticeCaption(const QString& clockName, double alarmTime, int32_t hourMode);

// The notice label during a countdown: "Computer will be locked in 29 seconds".
// Empty for an action without a countdown.
QString CountdownText(int32_t tipAction, int secondsLeft);

// The notice button during a countdown: "&Cancel (29)".
QString CancelButtonText(int secondsLeft);

// Seconds after which the sound stops for a play-time code: 60, 120, 180 or 300.
// nullopt for "Loop" and for codes the editor never writes.
std::optional<int32_t> SoundLimitFor(int32_t playTime);

} // namespace ovra
