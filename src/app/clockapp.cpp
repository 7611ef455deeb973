#include "app/clockapp.h"

#include "base/clockname.h"
#include "settings/clocklist.h"
#include "time/clocktime.h"
#include "time/zonetable.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

namespace ovra {

namespace {
constexpr int kStoreRetryPauseMs = 200;
// A store that another program keeps locked answers only after the store's busy
// wait; one that refuses at once (damaged, foreign, not readable) will not change
// by waiting, and the clock does not hold up its start for it.
constexpr int kLockEvidenceMs = 250;

// Whether the clock list names the clock; nothing when the list cannot be read.
std::optional<bool> listedInStore(KeyStore& store, const QString& name) {
    StoreError rc = StoreError::None;
    const QString text = store.readText(kClockListKey, kClockListValue, &rc);
    if (!storeReadable(rc))
        return std::nullopt;
    return parseClockList(text).contains(name);
}
} // namespace

ClockApp::ClockApp(Services services, PathRoots roots)
    : m_storeReadPatienceMs(services.storeReadPatienceMs),
      m_model({services.store, services.messages, services.time}, std::move(roots)) {}

void ClockApp::abandonStart() {
    if (!m_up)
        m_startAbandoned = true;
}

bool ClockApp::loadRecordPatiently() {
    const QDeadlineTimer deadline(m_storeReadPatienceMs);
    StoreError rc = StoreError::None;
    for (;;) {
        QElapsedTimer attempt;
        attempt.start();
        rc = loadClockSettings(m_model.store(), m_model.state());
        if (rc == StoreError::None)
            return true;
        const bool locked = rc == StoreError::Busy || attempt.elapsed() >= kLockEvidenceMs;
        if (!locked || deadline.hasExpired() || m_startAbandoned)
            break;
        // Lets a termination request in while the store stays locked.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(kStoreRetryPauseMs);
    }
    if (m_startAbandoned)
        return false;
    // Run with the defaults of a new clock, but never store them over the record
    // that could not be read.
    m_model.state().settings = defaultSettings();
    takeComputerZone(m_model.state());
    m_model.messages().showMessage(
        QCoreApplication::translate(
            "ClockApp", "The settings of the clock \"%1\" could not be read from the settings "
                        "store (%2). The clock shows default settings and does not save them, "
                        "so the stored settings are kept.")
            .arg(m_model.state().clockName, storeProblem(rc)),
        kErrorTitle, MessageIcon::Warning);
    return false;
}

bool ClockApp::deletedMeanwhile() {
    if (!m_listedAtStart || m_model.state().isDefaultClock())
        return false;
    const std::optional<bool> listed = listedInStore(m_model.store(), m_model.state().clockName);
    return listed.has_value() && !*listed;
}

bool ClockApp::startClock(const QString& clockName) {
    m_model.state().computerOffsetMinutes = computerStandardOffsetMinutes(m_model.timeSource());
    m_model.state().computerZoneIndex = computerZoneRow(m_model.timeSource());
    m_model.setClockName(clockName);

    if (m_alarms)
        m_alarms->loadAlarmFile();
    if (m_startAbandoned)
        return false;
    // The stored position is turned into pixels with the density of start-up, also
    // at every later reading: a re-apply after a density change moves no clock.
    if (m_window)
        m_model.state().density = m_window->screenDensity();
    // The zone table is a constant; loading resolves the zone against it.
    m_recordLoaded = loadRecordPatiently();
    if (m_startAbandoned)
        return false;
    m_listedAtStart = listedInStore(m_model.store(), m_model.state().clockName).value_or(false);
    // The settings dialog shows whether the autostart entry exists, not the wish: a
    // new clock has no entry until it is brought in line, and an Apply before the
    // first shutdown would store the "No" the dialog showed.
    if (m_autorun && mayWriteBack())
        m_autorun->syncAutorunEntry(m_model.state().settings.startAtLogin);
    if (m_alarms)
        m_alarms->resetNotice();
    if (m_window) {
        m_window->loadClockWindow(m_model.settings());
        m_window->processPendingEvents();
        if (m_startAbandoned)
            return false;
        m_window->showClockWindow();
    }
    m_up = true;
    return true;
}

bool ClockApp::applyClockSettings() {
    // The user chose what the dialog showed: once stored, it is the record. A store
    // another program keeps busy gets the same patience as at start-up.
    const QDeadlineTimer deadline(m_storeReadPatienceMs);
    StoreError rc = writeClockSettings(m_model.store(), m_model.state());
    while (rc == StoreError::Busy && !deadline.hasExpired()) {
        QThread::msleep(kStoreRetryPauseMs);
        rc = writeClockSettings(m_model.store(), m_model.state());
    }
    const bool stored = rc == StoreError::None;
    if (stored)
        m_recordLoaded = true;
    // Reading back corrects whatever the dialog let through and returns the
    // Default clock to the computer's zone; a record that was not stored stays as
    // the dialog made it, for the dialog to store again.
    if (stored)
        loadClockSettings(m_model.store(), m_model.state());
    else
        normalizeSettings(m_model.state().settings);
    if (m_window)
        m_window->applySettings(m_model.settings());
    emit m_model.settingsChanged();
    if (!stored)
        m_model.messages().showMessage(
            QCoreApplication::translate(
                "ClockApp", "The settings of the clock \"%1\" could not be stored in the "
                            "settings store (%2). The clock shows them, and the dialog keeps "
                            "them: Apply tries again.")
                .arg(m_model.state().clockName, storeProblem(rc)),
            kErrorTitle, MessageIcon::Warning);
    return stored;
}

void ClockApp::shutdownClock(bool save) {
    if (m_model.shutdownStarted())
        return;
    m_model.markShutdownStarted();
    // Settings that never came from the store (start-up cut short, an unreadable
    // store) and a clock deleted while it ran leave the store and the autostart
    // entry as they are.
    const bool writeBack = mayWriteBack();
    if (m_autorun && writeBack)
        m_autorun->syncAutorunEntry(m_model.state().settings.startAtLogin);
    if (save && writeBack)
        writeClockSettings(m_model.store(), m_model.state());
    if (m_alarms)
        m_alarms->closeNotice();
    if (m_window)
        m_window->closeWindows();
}

void ClockApp::saveWithoutDisplay() {
    if (m_model.shutdownStarted())
        return;
    m_model.markShutdownStarted();
    if (!mayWriteBack())
        return;
    if (m_autorun)
        m_autorun->syncAutorunEntry(m_model.state().settings.startAtLogin);
    writeClockSettings(m_model.store(), m_model.state());
}

void ClockApp::saveClockPosition() {
    if (!m_model.shutdownStarted() && mayWriteBack())
        writeClockPosition(m_model.store(), m_model.state());
}

bool ClockApp::mayWriteBack() {
    return m_recordLoaded && !m_startAbandoned && !deletedMeanwhile();
}

} // namespace ovra
