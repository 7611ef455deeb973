#pragma once

#include "alarms/alarmhost.h"
#include "alarms/alarmtable.h"
#include "clock/clockwindowhost.h"
#include "settings/autorunhost.h"
#include "settings/clockmodel.h"

namespace ovra {

// The process of one clock: owns the clock's model and its alarm table, and runs the
// start-up, re-apply and shutdown sequences in their fixed order. The windows,
// alarms and autostart entry are reached through their hosts.
class ClockApp final {
public:
    struct Services {
        KeyStore& store;
        MessageSink& messages;
        const TimeSource& time;
        // How long start-up keeps trying a store that another program keeps
        // locked before it runs with defaults.
        int storeReadPatienceMs = 10000;
    };

    ClockApp(Services services, PathRoots roots);

    void setWindowHost(ClockWindowHost* host) { m_window = host; }
    void setAlarmHost(AlarmHost* host) { m_alarms = host; }
    void setAutorunHost(AutorunHost* host) { m_autorun = host; }

    // Brings the clock up for an already validated name. False when the process must
    // end at once (unsupported system, or abandonStart() during start-up); nothing
    // has been written then.
    bool startClock(const QString& clockName);
    bool applyClockSettings();
    // Runs once; a second call while or after shutting down does nothing. The record
    // and the autostart entry are written only when the record was really read from
    // the store (or stored since), and never for a clock deleted meanwhile.
    void shutdownClock(bool save);
    // The display has gone away under the running clock: keeps the autostart entry
    // and the settings (position and toggles included) without touching a window.
    // Counts as the shutdown: it runs once, and not after shutdownClock.
    void saveWithoutDisplay();
    // A move has ended: keeps where the clock stands, so even a killed process comes
    // back there. Like the shutdown, never for a record that was not read.
    void saveClockPosition();
    bool shutdownStarted() const { return m_model.shutdownStarted(); }

    // True once startClock has finished bringing the clock up.
    bool isUp() const { return m_up; }
    // A termination request that arrives while startClock is still running (a
    // start-up message box is open): startClock returns false as soon as the step
    // under way returns, and the shutdown then writes nothing.
    void abandonStart();
    // Whether the settings in memory are the stored record, so writing them back
    // loses nothing.
    bool recordLoaded() const { return m_recordLoaded; }

    // The clock as its window, alarms and dialog see it.
    ClockModel& model() { return m_model; }
    const ClockModel& model() const { return m_model; }
    ClockState& state() { return m_model.state(); }
    const ClockState& state() const { return m_model.state(); }
    ClockSettings& settings() { return m_model.settings(); }
    const AppPaths& paths() const { return m_model.paths(); }
    // The clock's alarms, with the index of the one the notice shows.
    AlarmTable& alarms() { return m_alarmTable; }
    const AlarmTable& alarms() const { return m_alarmTable; }

private:
    int m_storeReadPatienceMs;
    ClockModel m_model;
    ClockWindowHost* m_window = nullptr;
    AlarmHost* m_alarms = nullptr;
    AutorunHost* m_autorun = nullptr;
    bool loadRecordPatiently();
    bool deletedMeanwhile();
    // The record in memory may replace the stored one.
    bool mayWriteBack();

    bool m_up = false;
    bool m_startAbandoned = false;
    bool m_recordLoaded = false;
    // Listed when the clock started: a later absence means it was deleted. A clock
    // whose list could not be read at its start is not taken for a deleted one.
    bool m_listedAtStart = false;
    AlarmTable m_alarmTable;
};

} // namespace ovra
