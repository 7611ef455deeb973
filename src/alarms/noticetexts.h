#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace ovra {

// Seconds from an alarm's notice to its power action.
inline constexpr int kCountdownSeconds = 30;

// "Clock: <name>  -  Alarm: <time>", the time as "HH:mm" when hourMode (the
// 12/24Hour setting) is not 0, else as "hh:mm AM/PM" (midnight is 12:00 AM).
QString noticeCaption(const QString& clockName, double alarmTime, int32_t hourMode);

// The caption of an alarm that comes back after a snooze.
QString snoozedCaption(const QString& caption);

// The snooze lengths offered on a tip, in minutes; the first is preselected.
inline constexpr int kSnoozeMinutes[] = {5, 10, 15};

// The tip as the editor stored it: up to the first NUL (a field never written
// holds nothing but NULs), without the trailing padding, line breaks as Qt draws
// them.
QString noticeTipText(const QString& note);

// "missed at 07:05", or "missed at 07:05 AM" with hourMode 0, from the clock's
// time at the skipped minute.
QString missedAtText(const QDateTime& dueAt, int32_t hourMode);

// "Clock: <name>  -  Alarm: missed at <time>" for the newest skipped alarm.
QString missedCaption(const QString& clockName, const QDateTime& dueAt, int32_t hourMode);

// One skipped alarm in the notice: when it was due, then the tip, the power
// action that was not run, or what it would have opened (its note as given).
QString missedLine(int32_t action, const QString& note, const QDateTime& dueAt, int32_t hourMode);

// What a power action that did not happen left undone: "the computer was not
// locked". Empty for a code without a power action.
QString notDoneText(int32_t action);

// The notice's status line: "No sound: <why>" and "Action failed: <why>".
QString noSoundText(const QString& why);
QString actionFailedText(const QString& why);

// The message of an "execute" alarm whose target did not open:
// "Cannot open <note>: <why>".
QString openFailedText(const QString& note, const QString& why);

// The notice label during a countdown: "Computer will be locked in 29 seconds".
// Empty for an action without a countdown.
QString countdownText(int32_t tipAction, int secondsLeft);

// The notice button during a countdown: "&Cancel (29)".
QString cancelButtonText(int secondsLeft);

// Seconds after which the sound stops for a play-time code: 60, 120, 180 or 300.
// nullopt for "Loop" and for codes the editor never writes.
std::optional<int32_t> soundLimitFor(int32_t playTime);

} // namespace ovra
