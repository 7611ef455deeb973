// A sound module as another version of the clock would build it: its entry has
// another number, so this version must refuse it rather than call it.
#include "alarms/alarmsound.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT ovra::AlarmSound* ovra_create_alarm_sound_0() {
    return nullptr;
}
