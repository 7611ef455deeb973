#pragma once

#include "alarms/alarmtable.h"
#include "base/apppaths.h"
#include "base/messagesink.h"
#include "settings/settingsstore.h"

#include <QDateTime>

namespace ovra {

// The alarm side of start-up: the alarm file and the notice.
class AlarmHost {
public:
    virtual ~AlarmHost() = default;
    virtual void loadAlarmFile() = 0;
    virtual void resetNotice() = 0; // no alarm is being notified
    // Closes the notice window; the shutdown runs it right before closeWindows(),
    // so the notice goes first.
    virtual void closeNotice() {}
};

// What the alarms read of the process they run in: its alarm table, its record
// and paths, where messages go, and the time the clock shows.
class AlarmContext {
public:
    virtual ~AlarmContext() = default;
    virtual AlarmTable& alarms() = 0;
    virtual ClockState& state() = 0;
    virtual ClockSettings& settings() = 0;
    virtual const AppPaths& paths() const = 0;
    virtual MessageSink& messages() = 0;
    virtual QDateTime clockTimeNow() const = 0;
    // The computer's clock, and the time the clock shows at a given moment.
    virtual QDateTime nowUtc() const = 0;
    virtual QDateTime clockTimeAt(const QDateTime& utc) const = 0;
    // The clock is going: no alarm may fire any more.
    virtual bool shutdownStarted() const = 0;
};

} // namespace ovra
