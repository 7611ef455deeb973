#pragma once

#include "alarms/alarmtable.h"
#include "clock/clocklayout.h"
#include "clock/monitortable.h"
#include "settings/registry.h"
#include "settings/settingsstore.h"
#include "shell/apppaths.h"
#include "shell/clockhosts.h"
#include "shell/messagesink.h"
#include "time/timesource.h"

#include <QDateTime>

namespace ovra {

// The process of one clock: owns the settings record and its companions, the paths,
// and runs the start-up, re-apply and shutdown sequences in their fixed order. The
// windows, alarms and autostart entry are reached through their hosts.
class ClockApp {
public:
    struct Services {
        Registry& registry;
        MessageSink& messages;
        const TimeSource& time;
    };

    ClockApp(Services services, PathRoots roots);

    void setWindowHost(ClockWindowHost* host) { m_window = host; }
    void setAlarmHost(AlarmHost* host) { m_alarms = host; }
    void setAutorunHost(AutorunHost* host) { m_autorun = host; }

    // Brings the clock up for an already validated name. False when the process must
    // end at once (unsupported system); nothing has been written then.
    bool StartClock(const QString& clockName);
    void ApplyClockSettings();
    // Runs once; a second call while or after shutting down does nothing.
    void ShutdownClock(bool save);
    // The display has gone away under the running clock: keeps the autostart entry
    // and the settings (position and toggles included) without touching a window.
    // Counts as the shutdown: it runs once, and not after ShutdownClock.
    void SaveWithoutDisplay();
    bool shutdownStarted() const { return m_shutdownStarted; }

    ClockState& state() { return m_state; }
    const ClockState& state() const { return m_state; }
    ClockSettings& settings() { return m_state.settings; }
    const AppPaths& paths() const { return m_paths; }
    Registry& registry() { return m_services.registry; }
    MessageSink& messages() { return m_services.messages; }
    const TimeSource& timeSource() const { return m_services.time; }
    // The clock's alarms, with the index of the one the notice shows.
    AlarmTable& alarms() { return m_alarmTable; }
    const AlarmTable& alarms() const { return m_alarmTable; }

    // The date and time this clock shows now.
    QDateTime clockTimeNow() const;

    // The face layout, the screen metrics and the monitors present at start-up,
    // kept by the clock window host.
    ClockLayout& layout() { return m_layout; }
    const ClockLayout& layout() const { return m_layout; }
    ScreenMetrics& screenMetrics() { return m_metrics; }
    const ScreenMetrics& screenMetrics() const { return m_metrics; }
    MonitorTable& monitors() { return m_monitors; }
    const MonitorTable& monitors() const { return m_monitors; }

private:
    Services m_services;
    PathRoots m_roots;
    AppPaths m_paths;
    ClockState m_state;
    ClockWindowHost* m_window = nullptr;
    AlarmHost* m_alarms = nullptr;
    AutorunHost* m_autorun = nullptr;
    bool m_shutdownStarted = false;
    AlarmTable m_alarmTable;
    ClockLayout m_layout;
    ScreenMetrics m_metrics;
    MonitorTable m_monitors;
};

} // namespace ovra
