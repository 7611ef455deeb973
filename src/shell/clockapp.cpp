#include "shell/clockapp.h"

#include "shell/ossupport.h"
#include "time/clocktime.h"

namespace ovra {

ClockApp::ClockApp(Services services, PathRoots roots)
    : m_services(services), m_roots(std::move(roots)) {}

bool ClockApp::StartClock(const QString& clockName) {
    m_state.LocalBiasMinutes = GetLocalBias(m_services.time);
    m_state.ClockName = clockName;
    m_paths = AppPaths::build(m_state.ClockName, m_roots);

    if (const auto info = queryOsVersion()) {
        if (const auto message = unsupportedSystemMessage(*info)) {
            m_services.messages.showMessage(*message, kUnsupportedSystemTitle,
                                            MessageIcon::Warning);
            return false;
        }
    }
    if (m_alarms) {
        m_alarms->enableShutdownPrivilege();
        m_alarms->loadAlarmFile();
    }
    // The zone table is a constant; loading resolves the zone against it.
    LoadClockSettings(m_services.registry, m_state);
    if (m_window)
        m_window->computeLayout();
    if (m_alarms)
        m_alarms->resetNotice();
    if (m_window) {
        m_window->checkMonitor();
        m_window->loadClockWindow();
        m_window->createDrawTools();
        m_window->loadButtonImage();
        m_window->processPendingEvents();
        m_window->showClockWindow();
    }
    return true;
}

void ClockApp::ApplyClockSettings() {
    if (m_window)
        m_window->deleteDrawTools();
    WriteClockSettings(m_services.registry, m_state);
    if (m_window)
        m_window->deleteGraphic();
    // Reading back corrects whatever the dialog let through and returns the
    // Default clock to the computer's zone.
    LoadClockSettings(m_services.registry, m_state);
    if (m_window) {
        m_window->computeLayout();
        m_window->iniForm();
        m_window->createDrawTools();
        m_window->showClockWindow();
        m_window->applyZOrder();
    }
}

void ClockApp::ShutdownClock(bool save) {
    if (m_shutdownStarted)
        return;
    m_shutdownStarted = true;
    if (m_window)
        m_window->releaseImages();
    if (m_autorun)
        m_autorun->syncAutorunEntry(m_state.settings.Autorun);
    if (m_window)
        m_window->deleteDrawTools();
    if (save)
        WriteClockSettings(m_services.registry, m_state);
    if (m_alarms)
        m_alarms->closeNotice();
    if (m_window)
        m_window->closeWindows();
}

void ClockApp::SaveWithoutDisplay() {
    if (m_shutdownStarted)
        return;
    m_shutdownStarted = true;
    if (m_autorun)
        m_autorun->syncAutorunEntry(m_state.settings.Autorun);
    WriteClockSettings(m_services.registry, m_state);
}

QDateTime ClockApp::clockTimeNow() const {
    const ClockTimeInput in{m_state.isDefaultClock(), m_state.ZoneOffsetMinutes,
                            m_state.settings.TimeStandard};
    return ClockTime(m_services.time.nowUtc(), m_services.time.systemZone(), in);
}

} // namespace ovra
