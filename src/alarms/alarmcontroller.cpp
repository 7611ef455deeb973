#include "alarms/alarmcontroller.h"

#include "alarms/alarmfile.h"
#include "alarms/noticetexts.h"
#include "alarms/soundfile.h"
#include "base/textutil.h"

#include <QGuiApplication>
#include <QScreen>

namespace ovra {

AlarmController::AlarmController(ClockModel& clock, AlarmTable& alarms, Seams seams)
    : m_clock(clock), m_alarms(alarms), m_seams(std::move(seams)),
      m_power(m_seams.power, clock.messages(), m_seams.session) {
    // The editor deleted the alarm the notice shows: its countdown and sound end.
    connect(&m_alarms, &AlarmTable::noticeAlarmRemoved, this, [this] {
        if (m_notice)
            m_notice->close();
    });
    // After a sleep the tick may come late; alarms missed meanwhile show at once.
    if (m_seams.resume)
        m_seams.resume->onResume([this] { checkAlarms(); });
}

AlarmController::~AlarmController() {
    if (m_seams.resume)
        m_seams.resume->onResume({});
    delete m_notice;
}

void AlarmController::loadAlarmFile() {
    ovra::loadAlarmFile(m_alarms, m_clock.paths().alarmFilePath, m_clock.messages());
}

void AlarmController::resetNotice() {
    AlarmTable& alarms = m_alarms;
    alarms.setNoticeAlarm(-1);
    // The flag is stored with the record, so a file saved while a notice was open
    // holds a 1; left standing it would keep that alarm from ever showing again.
    for (int i = 0; i < alarms.alarmCount(); ++i)
        alarms.at(i).NoticeShown = 0;
}

void AlarmController::closeNotice() {
    if (m_notice)
        m_notice->close();
}

void AlarmController::checkAlarms() {
    if (m_clock.shutdownStarted())
        return;
    const AlarmCheck::Result result =
        m_check.Check(m_alarms, m_clock.nowUtc(),
                      [this](const QDateTime& utc) { return m_clock.clockTimeAt(utc); });
    if (!result.missed.isEmpty())
        showMissed(result.missed);
    if (result.due >= 0) {
        processAlarm(result.due);
        return;
    }
    // A snooze that runs out in a minute in which an alarm fired waits one check.
    if (const int snoozed = m_alarms.dueSnooze(m_clock.nowUtc()); snoozed >= 0) {
        m_alarms.clearSnooze(snoozed);
        processAlarm(snoozed, true);
    }
}

TipServices AlarmController::tipServices() {
    const QPointer<AlarmController> alive(this);
    return {m_alarms, m_clock.state(), m_clock.paths().defaultAlarmSoundPath, m_tipState,
            m_seams.sound, m_power, m_seams.makeTicker, [this] { return m_clock.nowUtc(); },
            shippedAlarmSound(m_clock.paths().appFolder),
            // A refusal may come long after the notice closed, or after the clock.
            [alive](const QString& caption, int32_t action, const QString& why) {
                if (alive)
                    alive->showActionFailed(caption, action, why);
            }};
}

void AlarmController::showActionFailed(const QString& caption, int32_t action, const QString& why) {
    if (m_clock.shutdownStarted())
        return;
    if (m_notice) {
        m_notice->showActionFailed(caption, action, why);
        return;
    }
    m_notice = new AlarmNotice(tipServices());
    m_notice->showActionFailedOn(clockScreen(), caption, action, why);
    emit noticeOpened(m_notice);
}

void AlarmController::openTarget(const QString& note) {
    const QPointer<AlarmController> alive(this);
    // The message waits for its answer: never from inside the alarm check.
    const auto failed = [alive, note](const QString& why) {
        if (!alive)
            return;
        QMetaObject::invokeMethod(
            alive.data(),
            [alive, note, why] {
                if (alive)
                    alive->m_clock.messages().showMessage(openFailedText(note, why), kPlainTitle,
                                                          MessageIcon::Warning);
            },
            Qt::QueuedConnection);
    };
    const ShellTarget target = resolveShellTarget(note);
    if (target.kind == ShellTarget::Kind::NotFound) {
        failed(tr("no such file, program or address"));
        return;
    }
    if (target.kind == ShellTarget::Kind::Refused) {
        failed(target.why);
        return;
    }
    m_seams.shell.open(target, failed);
}

void AlarmController::showMissed(const QList<MissedAlarm>& missed) {
    if (m_notice) {
        m_notice->showMissed(missed);
        return;
    }
    m_notice = new AlarmNotice(tipServices());
    m_notice->showMissedOn(clockScreen(), missed);
    emit noticeOpened(m_notice);
}

void AlarmController::processAlarm(int AlarmNo, bool snoozed) {
    AlarmTable& alarms = m_alarms;
    if (AlarmNo < 0 || AlarmNo >= alarms.alarmCount())
        return;
    const AlarmRecord& alarm = alarms.at(AlarmNo);

    if (alarm.Action >= alarmaction::showTip && alarm.Action <= alarmaction::RebootNow) {
        // A notice already open is taken over: the earlier alarm's countdown and
        // sound end and its power action never happens.
        if (alarms.noticeAlarm() != -1)
            alarms.setNoticeShown(0);
        alarms.setNoticeAlarm(AlarmNo);
        if (m_notice) {
            m_notice->showTip(snoozed);
            return;
        }
        m_notice = new AlarmNotice(tipServices());
        m_notice->showOn(clockScreen(), snoozed);
        emit noticeOpened(m_notice);
        return;
    }
    if (alarm.Action == alarmaction::Execute)
        openTarget(cleanString(alarm.Note));
}

QScreen* AlarmController::clockScreen() const {
    if (m_seams.clockScreen)
        if (QScreen* screen = m_seams.clockScreen())
            return screen;
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int id = m_clock.settings().monitor;
    if (id >= 0 && id < screens.size())
        return screens[id];
    return QGuiApplication::primaryScreen();
}

} // namespace ovra
