#pragma once

#include "alarms/alarmcontroller.h"
#include "alarms/desktopsessionend.h"
#include "alarms/desktopshellopen.h"
#include "alarms/loadedalarmsound.h"
#include "alarms/logindpoweractions.h"
#include "alarms/logindresumewatch.h"
#include "app/clockapp.h"
#include "app/guimessagesink.h"
#include "app/testtime.h"
#include "clock/clockwindow.h"
#include "clock/terminationwatcher.h"
#include "clock/windowsystem.h"
#include "dialogs/clockdialogs.h"
#include "dialogs/colourpicker.h"
#include "dialogs/filechooser.h"
#include "dialogs/linkopener.h"
#include "dialogs/ownclockchannel.h"
#include "settings/autorun.h"
#include "settings/clocklauncher.h"
#include "settings/clocklist.h"
#include "settings/instancepaths.h"
#include "settings/instanceserver.h"
#include "settings/localinstancechannel.h"
#include "settings/sqlitestorebackend.h"

#include <QApplication>

#include <functional>
#include <optional>

namespace ovra {

// One running clock: the Qt application and every object the clock's process is
// made of, in the order they are built (members are destroyed the other way
// round, so the dialogs go before the clock list, the window before the store).
// Each concern is wired by a method of its own; run() brings the clock up and
// runs the event loop.
class ClockProcess {
public:
    // One process per clock: the name is claimed before anything is shown or a bus
    // is reached. An exit code when this process must step back (the clock runs
    // already, or the name cannot be claimed).
    static std::optional<int> claimName(InstanceServer& channel, const InstancePlaces& places,
                                        const QString& clockName,
                                        const std::function<void(const QString&)>& errors);

    // The application exists, the pool thread is kept, the buses are guarded and
    // channel holds the clock's name; errors reaches the terminal the clock was
    // started from.
    ClockProcess(QApplication& application, InstanceServer& channel, const InstancePlaces& places,
                 const ProcessTime& time, QString clockName,
                 std::function<void(const QString&)> errors);
    ClockProcess(const ClockProcess&) = delete;
    ClockProcess& operator=(const ClockProcess&) = delete;

    // The process's exit code.
    int run();

private:
    void connectAlarms();
    void connectShutdown();
    void connectDialogs();
    void serveOtherProcesses();
    // What the running clock does when its window, a terminal or a launcher asks it.
    void unloadOwnClock();
    void showOwnSettings();
    void bringForward();

    ConfigServices configServices();

    QApplication& m_application;
    const InstancePlaces& m_places;
    QString m_name;
    std::function<void(const QString&)> m_errors;
    PathRoots m_roots;
    SqliteStoreBackend m_backend;
    KeyStore m_store;
    GuiMessageSink m_messages;
    ClockApp m_clock;
    InstanceServer& m_channel;
    Autorun m_autorun;
    DesktopWindowSystem m_windowSystem;
    ClockWindow m_window;
    LoadedAlarmSound m_alarmSound;
    LogindPowerActions m_powerActions;
    DesktopSessionEnd m_sessionEnd;
    DesktopShellOpen m_shellOpen;
    LogindResumeWatch m_resume;
    AlarmController m_alarms;
    TerminationWatcher m_termination;
    LocalInstanceChannel m_otherClocks;
    OwnClockChannel m_dialogChannel;
    DetachedClockLauncher m_launcher;
    ClockList m_clockList;
    DialogColourPicker m_colourPicker;
    DialogFileChooser m_fileChooser;
    DesktopLinkOpener m_linkOpener;
    ClockDialogs m_dialogs;
    bool m_endedDuringStart = false;
};

} // namespace ovra
