#include "app/clockprocess.h"

#include "base/exitguard.h"
#include "base/memorytrim.h"
#include "dialogs/modaldialogs.h"
#include "dialogs/settingsdialog.h"

#include <QCoreApplication>
#include <QTimer>

namespace ovra {

ClockProcess::ClockProcess(QApplication& application, InstanceServer& channel,
                           const InstancePlaces& places, const ProcessTime& time, QString clockName,
                           std::function<void(const QString&)> errors)
    : m_application(application), m_places(places), m_name(std::move(clockName)),
      m_errors(std::move(errors)), m_roots(PathRoots::fromSystem()),
      m_backend(AppPaths::storePathFor(m_roots), m_errors), m_store(m_backend),
      m_clock({m_store, m_messages, time.source()}, m_roots), m_channel(channel),
      m_autorun(m_clock.state(), m_clock.paths(), QCoreApplication::applicationFilePath(),
                m_errors),
      m_window(m_clock.model(), m_windowSystem),
      m_alarmSound(LoadedAlarmSound::moduleFolders(QCoreApplication::applicationDirPath()),
                   m_errors),
      // The notice opens on the monitor the clock was dropped on.
      m_alarms(m_clock.model(), m_clock.alarms(),
               {.sound = m_alarmSound,
                .power = m_powerActions,
                .shell = m_shellOpen,
                .makeTicker = [ms = time.secondMs()] { return std::make_unique<QTimerTicker>(ms); },
                .resume = &m_resume,
                .session = &m_sessionEnd}),
      m_otherClocks(m_places),
      // The settings dialog reaches this clock directly and the others over the
      // channel.
      m_dialogChannel(m_otherClocks,
                      {m_name, [this] { m_window.raise(); }, [this] { unloadOwnClock(); },
                       [this] {
                           showOwnSettings();
                       }}),
      m_launcher(QCoreApplication::applicationFilePath()),
      m_clockList({m_store, m_dialogChannel, m_launcher, m_messages},
                  AppPaths::build(m_name, m_roots).autostartFolder),
      m_colourPicker([this] { return m_clock.settings().alwaysOnTop; }),
      m_dialogs(configServices(), m_linkOpener, m_window.otherWindows(), &m_window) {
    m_autorun.setClockListStore(&m_store);
    m_clock.setAutorunHost(&m_autorun);
    m_clock.setWindowHost(&m_window);
    m_clock.setAlarmHost(&m_alarms);
}

ConfigServices ClockProcess::configServices() {
    ConfigServices services{.clock = m_clock.model(),
                            .alarms = m_clock.alarms(),
                            .applySettings = [this] { return m_clock.applyClockSettings(); },
                            .shutdownClock = [this](bool save) { m_clock.shutdownClock(save); },
                            .clocks = m_clockList,
                            .autorun = m_autorun,
                            .colours = m_colourPicker,
                            .files = m_fileChooser};
    services.closeOwnClock = [this] {
        unloadOwnClock();
    };
    return services;
}

std::optional<int> ClockProcess::claimName(InstanceServer& channel, const InstancePlaces& places,
                                           const QString& clockName,
                                           const std::function<void(const QString&)>& errors) {
    // A second start of a running clock only brings that clock forward.
    QString problem;
    switch (channel.claim(&problem)) {
    case InstanceServer::Claim::AlreadyRunning:
        // A clock that is stopped, hung or unable to listen keeps its name all the
        // same; this process steps back, and says why nothing came to the front.
        if (LocalInstanceChannel(places).find(clockName, true) == kNotAnswering)
            errors(QCoreApplication::translate("CommandLine",
                                               "The clock %1 is running but does not answer.")
                       .arg(u'"' + clockName + u'"'));
        return 0;
    case InstanceServer::Claim::Failed:
        errors(problem +
               QCoreApplication::translate("CommandLine", " The clock cannot be started."));
        return 1;
    case InstanceServer::Claim::Unreachable:
        errors(problem +
               QCoreApplication::translate("CommandLine", " Other clocks cannot reach this one."));
        break;
    case InstanceServer::Claim::Listening:
        break;
    }
    return std::nullopt;
}

void ClockProcess::connectAlarms() {
    // The alarm check runs on the clock's second; the notice closes first at shutdown.
    QObject::connect(&m_window, &ClockWindow::secondTick, &m_alarms, &AlarmController::checkAlarms);
    QObject::connect(&m_alarms, &AlarmController::noticeOpened, &m_window, [this](QWidget* notice) {
        m_window.otherWindows().add(notice, ClockWindowList::Role::Notice);
    });
}

void ClockProcess::connectShutdown() {
    // The process ends when the clock window has unloaded, not when some other
    // window happens to be the last one closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&m_window, &ClockWindow::unloaded, &m_application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&m_termination, &TerminationWatcher::terminationRequested, &m_window,
                     [this] { unloadOwnClock(); });
    QObject::connect(&m_window, &ClockWindow::shutdownRequested, &m_window,
                     [this](bool save) { m_clock.shutdownClock(save); });
    // Where the grip drops the clock is kept at once, not only at the shutdown.
    QObject::connect(&m_window, &ClockWindow::moveFinished, &m_window,
                     [this] { m_clock.saveClockPosition(); });
}

void ClockProcess::connectDialogs() {
    // A clock added from the dialog is spread over the primary work area, with the
    // density this clock converts its own position with.
    m_clockList.setPlacementArea([this] {
        return PlacementArea{m_windowSystem.primaryWorkArea(), m_clock.state().density};
    });
    QObject::connect(&m_window, &ClockWindow::settingsRequested, &m_dialogs,
                     &ClockDialogs::openSettings);
    QObject::connect(&m_window, &ClockWindow::aboutRequested, &m_dialogs, &ClockDialogs::openAbout);
}

void ClockProcess::serveOtherProcesses() {
    // Answered from the start: a start-up message box runs the event loop, and a
    // --stop meanwhile closes it and ends the process as SIGTERM does. Until the
    // clock is up there is no window to raise. close must return only once
    // shutdownClock(true) has finished.
    m_channel.serve({.raise = [this] { bringForward(); },
                     .settings =
                         [this] {
                             if (!m_clock.isUp() || m_clock.shutdownStarted())
                                 return false;
                             showOwnSettings();
                             return true;
                         },
                     .close =
                         [this] {
                             unloadOwnClock();
                         }});
}

// A session that ends or a terminal that closes unloads the clock like its close
// button does, so the settings are saved. Modal dialogs and message boxes are
// cancelled first, so no nested event loop runs on into a dialog that the unload
// deletes. Before the clock is up (a start-up message box is open) the process just
// ends: there are no settings of its own to save yet.
void ClockProcess::unloadOwnClock() {
    closeModalDialogs();
    if (!m_clock.isUp()) {
        m_endedDuringStart = true;
        m_clock.abandonStart();
        return;
    }
    m_window.unloadClock();
}

// Asked for from a terminal or a launcher: the dialog stands on its own, as with
// Page Up, and takes the keyboard, which is the whole point of the request.
void ClockProcess::showOwnSettings() {
    m_dialogs.openSettings(false);
    m_windowSystem.activateForUser(m_dialogs.settingsDialog());
}

void ClockProcess::bringForward() {
    if (!m_clock.isUp())
        return;
    m_window.showNormal();
    m_window.raise();
    m_windowSystem.activateForUser(&m_window);
}

int ClockProcess::run() {
    connectAlarms();
    connectShutdown();
    connectDialogs();
    serveOtherProcesses();
    if (!m_clock.startClock(m_name))
        return m_endedDuringStart ? 0 : 1;
    // Start-up reads the store, the fonts and the settings once and frees much of
    // what it used; once the first frames are out, those pages go back.
    QTimer::singleShot(2000, &m_window, [] { releaseFreedMemory(); });
    // A display that goes away (a logout that ends the X server, a crashed server)
    // takes the process with it; what the user set is saved on the way out.
    const ExitGuard displayLoss([this] {
        m_clock.saveWithoutDisplay();
        m_errors(QCoreApplication::translate(
                     "CommandLine", "The connection to the display was lost; the settings of the "
                                    "clock \"%1\" are saved.")
                     .arg(m_name));
    });
    return m_application.exec();
}

} // namespace ovra
