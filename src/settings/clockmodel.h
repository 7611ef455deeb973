#pragma once

#include "base/apppaths.h"
#include "base/messagesink.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "time/timesource.h"

#include <QDateTime>
#include <QObject>

namespace ovra {

// One clock as the parts of its process see it: its record (the name, the settings
// and what start-up learned of the computer), its paths and store, where its
// messages go, and the time it shows. The window, the alarms and the settings
// dialog all work on this one object; settingsChanged() tells them that the
// record changed under them (the clock's menu or keys, a re-apply).
class ClockModel final : public QObject {
    Q_OBJECT
public:
    struct Services {
        KeyStore& store;
        MessageSink& messages;
        const TimeSource& time;
    };

    ClockModel(Services services, PathRoots roots, QObject* parent = nullptr);

    // Names the clock; its paths follow the name.
    void setClockName(const QString& name);

    ClockState& state() { return m_state; }
    const ClockState& state() const { return m_state; }
    ClockSettings& settings() { return m_state.settings; }
    const ClockSettings& settings() const { return m_state.settings; }
    const AppPaths& paths() const { return m_paths; }
    const PathRoots& roots() const { return m_roots; }
    KeyStore& store() const { return m_services.store; }
    MessageSink& messages() const { return m_services.messages; }
    const TimeSource& timeSource() const { return m_services.time; }

    // The wall clock to the millisecond. Zone offsets are whole minutes, so the
    // seconds the clock shows begin with its seconds.
    QDateTime nowUtc() const { return m_services.time.nowUtc(); }
    // The date and time the clock shows now, and at a given moment.
    QDateTime clockTimeNow() const { return clockTimeAt(nowUtc()); }
    QDateTime clockTimeAt(const QDateTime& utc) const;

    // The clock is going: nothing may show or fire any more.
    bool shutdownStarted() const { return m_shutdownStarted; }
    void markShutdownStarted() { m_shutdownStarted = true; }

signals:
    void settingsChanged();

private:
    Services m_services;
    PathRoots m_roots;
    AppPaths m_paths;
    ClockState m_state;
    bool m_shutdownStarted = false;
};

} // namespace ovra
