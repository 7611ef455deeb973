#pragma once

#include "alarms/alarmcheck.h"
#include "alarms/alarmhost.h"
#include "alarms/alarmnotice.h"
#include "alarms/alarmsound.h"
#include "alarms/powercontrol.h"
#include "alarms/resumewatch.h"
#include "alarms/shelltarget.h"
#include "alarms/ticker.h"
#include "settings/clockmodel.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QScreen;

namespace ovra {

// The alarms of one clock process: loads the alarm file at start-up, looks for a
// due alarm on each second of the clock and carries it out (the notice window, a countdown to a
// power action, or opening a file or address), and closes the notice when the
// clock shuts down. The alarm table itself belongs to the clock process.
class AlarmController final : public QObject, public AlarmHost {
    Q_OBJECT
public:
    struct Seams {
        AlarmSound& sound;
        PowerActions& power;
        ShellOpen& shell;
        TickerFactory makeTicker = [] {
            return std::make_unique<QTimerTicker>(1000);
        };
        // The monitor that holds the clock; by default the screen MonitorID names.
        std::function<QScreen*()> clockScreen = {};
        // Reports the computer waking, when the platform can.
        ResumeWatch* resume = nullptr;
        // Lets the desktop session end first on shut down and restart.
        SessionEnd* session = nullptr;
    };

    AlarmController(ClockModel& clock, AlarmTable& alarms, Seams seams);
    ~AlarmController() override;

    // Start-up and shutdown steps.
    void loadAlarmFile() override;
    void resetNotice() override;
    void closeNotice() override;

    // Runs on the clock window's one-second tick, and at once when the computer
    // wakes. Alarms of minutes skipped meanwhile show in one notice and are never
    // carried out late.
    void checkAlarms();
    // snoozed: the alarm is back from a snooze rather than due by its time.
    void processAlarm(int AlarmNo, bool snoozed = false);

    AlarmNotice* notice() const { return m_notice; }
    AlarmCheck& alarmCheck() { return m_check; }
    TipState& tipState() { return m_tipState; }
    PowerControl& powerControl() { return m_power; }

signals:
    // A notice window has opened; the clock window closes it first when it goes.
    void noticeOpened(QWidget* notice);

private:
    QScreen* clockScreen() const;
    void showMissed(const QList<MissedAlarm>& missed);
    void showActionFailed(const QString& caption, int32_t action, const QString& why);
    void openTarget(const QString& note);
    TipServices tipServices();

    ClockModel& m_clock;
    AlarmTable& m_alarms;
    Seams m_seams;
    PowerControl m_power;
    AlarmCheck m_check;
    TipState m_tipState;
    QPointer<AlarmNotice> m_notice;
};

} // namespace ovra
