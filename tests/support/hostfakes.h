#pragma once

// A double for what a clock process plugs into its start-up, re-apply and shutdown
// sequences: the window, alarm and autostart hosts.
#include "alarms/alarmhost.h"
#include "clock/clockwindowhost.h"
#include "settings/autorunhost.h"

#include <QStringList>

#include <functional>

namespace ovra::test {

// Records the order in which the sequences drive the windows, alarms and autostart.
class RecordingHosts : public ClockWindowHost, public AlarmHost, public AutorunHost {
public:
    QStringList calls;
    ScreenDensity screenDensity() override { return {}; }
    void loadClockWindow(ClockSettings&) override { calls << QStringLiteral("load"); }
    void processPendingEvents() override { calls << QStringLiteral("events"); }
    void showClockWindow() override { calls << QStringLiteral("show"); }
    void applySettings(const ClockSettings&) override { calls << QStringLiteral("apply"); }
    void closeWindows() override {
        calls << QStringLiteral("closeWindows");
        if (onCloseWindows)
            onCloseWindows();
    }
    void loadAlarmFile() override {
        calls << QStringLiteral("alarms");
        if (duringAlarmLoad)
            duringAlarmLoad();
    }
    void resetNotice() override { calls << QStringLiteral("resetNotice"); }
    int syncAutorunEntry(bool startAtLogin) override {
        calls << QStringLiteral("autorun:%1").arg(startAtLogin ? "yes" : "no");
        return 1;
    }
    int autorunSyncs() const { return int(calls.filter(QStringLiteral("autorun:")).size()); }

    // Stand for what happens while a start-up message box is open, and where the
    // shutdown closes the windows.
    std::function<void()> duringAlarmLoad;
    std::function<void()> onCloseWindows;
};

} // namespace ovra::test
