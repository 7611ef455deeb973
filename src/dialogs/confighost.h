#pragma once

#include "alarms/alarmtable.h"
#include "base/apppaths.h"
#include "base/messagesink.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "time/timesource.h"

namespace ovra {

// What the settings dialog edits and runs of the process it belongs to: the record
// and the alarm table in place, the store and paths they come from, and the clock's
// re-apply and shutdown sequences.
class ConfigHost {
public:
    virtual ~ConfigHost() = default;
    virtual ClockState& state() = 0;
    virtual ClockSettings& settings() = 0;
    virtual AlarmTable& alarms() = 0;
    virtual const AppPaths& paths() const = 0;
    virtual KeyStore& store() = 0;
    virtual MessageSink& messages() = 0;
    virtual const TimeSource& timeSource() const = 0;
    // OK and Apply: store the record, read it back and redraw the clock. False, with
    // the record kept and nothing read back, when the store would not take it.
    virtual bool applyClockSettings() = 0;
    virtual void shutdownClock(bool save) = 0;
};

} // namespace ovra
