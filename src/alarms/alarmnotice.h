#pragma once

#include "alarms/alarmcheck.h"
#include "alarms/alarmsound.h"
#include "alarms/alarmtable.h"
#include "alarms/powercontrol.h"
#include "alarms/ticker.h"
#include "settings/settingsstore.h"

#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScreen;

namespace ovra {

// The notice's fields that outlive its window: a notice that opens again starts
// from what the last one left (a play-time code the editor never writes keeps
// the previous sound limit).
struct TipState {
    int32_t tipAction = 0;
    int32_t countdownTicks = 0; // seconds of the countdown gone, 0..30
    int32_t soundTicks = 0;     // seconds the sound has played
    int32_t soundLimit = 0;     // seconds after which it stops
    QString alarmSoundPath;
};

// What the notice works with; all of it belongs to the process.
struct TipServices {
    AlarmTable& alarms;
    const ClockState& clock;
    QString defaultAlarmSoundPath;
    TipState& state;
    AlarmSound& sound;
    PowerControl& power;
    TickerFactory makeTicker;
    // The computer's time, from which a snooze counts; without it no snooze is offered.
    std::function<QDateTime()> nowUtc = {};
    // The sound that ships with the program, played when the user has no default
    // sound of their own; empty when it is not installed.
    QString shippedAlarmSoundPath = {};
    // Hears a countdown's action that did not happen: the notice's caption at the
    // time, the action code and why.
    std::function<void(const QString& caption, int32_t action, const QString& why)> actionFailed =
        {};
    // The clocks that tell a suspend from a step of the wall clock; unset: the real ones.
    UptimeSource uptime = {};
};

// The notice an alarm opens: the clock and alarm time in the caption, the tip
// text with OK and Snooze, or a 30-second countdown to a power action with a
// Cancel button, and the alarm sound for the alarm's play time. One per process; a later alarm
// refills it. However it closes, the sound stops and the alarm is no longer notified.
class AlarmNotice final : public QWidget {
    Q_OBJECT
public:
    explicit AlarmNotice(TipServices services);
    ~AlarmNotice() override;

    // The load step: centred on the clock's monitor, above other windows, filled
    // for the alarm at noticeAlarm, shown.
    void showOn(QScreen* screen, bool snoozed = false);
    // Fills the window for the alarm at noticeAlarm; nothing when there is none or
    // that alarm is already shown. snoozed marks an alarm back from a snooze.
    void showTip(bool snoozed = false);
    // Closes the notice and brings its alarm back after the chosen minutes.
    void snooze();
    // The notice for alarms whose minutes passed while the clock slept or was
    // stopped, newest first: when each was due and what it was, no countdown (a
    // power action is never run late), the sound of the newest one that had one.
    void showMissed(const QList<MissedAlarm>& missed);
    void showMissedOn(QScreen* screen, const QList<MissedAlarm>& missed);
    // A countdown's action that the system or the session refused or never got:
    // the notice shows what did not happen and why. It takes over a notice whose
    // own countdown just ended; a notice that shows a later alarm only gains the
    // status line.
    void showActionFailed(const QString& caption, int32_t action, const QString& why);
    void showActionFailedOn(QScreen* screen, const QString& caption, int32_t action,
                            const QString& why);

    QLabel* labTip() const { return m_labTip; }
    // One line under the tip: why there is no sound, or why an action failed.
    QLabel* labStatus() const { return m_labStatus; }
    QPushButton* cmdTip() const { return m_cmdTip; }
    QPushButton* cmdSnooze() const { return m_cmdSnooze; }
    QComboBox* snoozeLength() const { return m_snoozeLength; }
    bool countdownRunning() const { return m_timer1->isEnabled(); }
    bool soundLimitRunning() const { return m_timer2->isEnabled(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int tw(int twips) const;  // twips to pixels across
    int twY(int twips) const; // twips to pixels down
    void countdownTick();
    bool countdownOverslept();
    Uptime uptimeNow() const;
    void soundLimitTick();
    void closingSteps();
    void offerSnooze(bool offer);
    void playSound(const QString& soundFile);
    void setStatus(const QString& text);
    void placeOn(QScreen* screen);

    TipServices m_s;
    QLabel* m_labTip;
    QLabel* m_labStatus;
    QPushButton* m_cmdTip;
    QPushButton* m_cmdSnooze;
    QComboBox* m_snoozeLength;
    QFrame* m_shape1;
    std::unique_ptr<Ticker> m_timer1;       // countdown
    std::unique_ptr<Ticker> m_timer2;       // sound limit
    quint64 m_fills = 0;                    // showTip calls, to spot a refill during an action
    std::optional<Uptime> m_countdownStart; // the clocks as the countdown began
    Uptime m_lastTick;                      // and at its last tick
    bool m_runningAction = false;           // the countdown's action is being sent
    bool m_closed = false;
};

} // namespace ovra
