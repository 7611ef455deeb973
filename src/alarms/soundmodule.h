#pragma once

namespace ovra {

class AlarmSound;

// The alarm sound's back end is built as a module of its own, loaded when the
// first alarm sounds. Its one entry makes a new sound for the caller to own; the
// number in the name changes whenever AlarmSound does, so that a module left over
// from another version is refused instead of called.
inline constexpr char kSoundModuleName[] = "ovra-clock-sound";
inline constexpr char kSoundModuleEntry[] = "ovra_create_alarm_sound_2";
using CreateAlarmSound = AlarmSound* (*)();

} // namespace ovra
