#include "alarms/alarmnotice.h"

#include "alarms/noticetexts.h"
#include "alarms/soundfile.h"
#include "base/textutil.h"
#include "base/windowplacement.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace ovra {

namespace {

// Design sizes, in twips.
constexpr int kClientWidth = 6525;
constexpr int kClientHeight = 4185;
constexpr int kTipLeft = 300, kTipTop = 225, kTipWidth = 5850, kTipHeight = 3000;
constexpr int kTipTopForText = 15;
// The status line sits between the tip and the band.
constexpr int kStatusTop = kTipTop + kTipHeight, kStatusHeight = 240;
constexpr int kTipTopForCountdown = (kClientHeight - 90) / 2;
constexpr int kButtonLeft = 2625, kButtonTop = 3675, kButtonWidth = 1350, kButtonHeight = 345;
// With a snooze on offer the buttons move left to make room for its length.
constexpr int kOkLeftBesideSnooze = 900, kSnoozeLeft = 2400, kLengthLeft = 3900,
              kLengthWidth = 1650;
constexpr int kBandLeft = -165, kBandTop = 3465, kBandWidth = 7275, kBandHeight = 825;

// The notice is an alert to assistive technology, named by its caption, so a screen
// reader announces it as it opens rather than as one more window.
QAccessibleInterface* noticeFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(AlarmNotice::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

AlarmNotice::AlarmNotice(TipServices services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_s(std::move(services)), m_timer1(m_s.makeTicker()), m_timer2(m_s.makeTicker()) {
    static const bool alertRole = (QAccessible::installFactory(&noticeFactory), true);
    Q_UNUSED(alertRole);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Alarm Tip"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(tw(kClientWidth), twY(kClientHeight));

    m_labTip = new QLabel(this);
    QFont tipFont(QStringLiteral("Arial"), 12);
    tipFont.setBold(true);
    m_labTip->setFont(tipFont);
    // The tip is the user's text, never markup.
    m_labTip->setTextFormat(Qt::PlainText);
    m_labTip->setWordWrap(true);
    m_labTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_labTip->setGeometry(tw(kTipLeft), twY(kTipTop), tw(kTipWidth), twY(kTipHeight));

    m_labStatus = new QLabel(this);
    m_labStatus->setTextFormat(Qt::PlainText);
    m_labStatus->setGeometry(tw(kTipLeft), twY(kStatusTop), tw(kTipWidth), twY(kStatusHeight));
    m_labStatus->hide();

    m_shape1 = new QFrame(this);
    m_shape1->setFrameShape(QFrame::NoFrame);
    m_shape1->setAutoFillBackground(true);
    m_shape1->setBackgroundRole(QPalette::Midlight);
    m_shape1->setGeometry(tw(kBandLeft), twY(kBandTop), tw(kBandWidth), twY(kBandHeight));

    m_cmdTip = new QPushButton(tr("&OK"), this);
    m_cmdTip->setGeometry(tw(kButtonLeft), twY(kButtonTop), tw(kButtonWidth), twY(kButtonHeight));
    m_cmdTip->setDefault(true);
    m_cmdTip->setFocus();
    connect(m_cmdTip, &QPushButton::clicked, this, &QWidget::close);

    m_cmdSnooze = new QPushButton(tr("&Snooze"), this);
    m_cmdSnooze->setGeometry(tw(kSnoozeLeft), twY(kButtonTop), tw(kButtonWidth),
                             twY(kButtonHeight));
    m_cmdSnooze->setAutoDefault(false);
    connect(m_cmdSnooze, &QPushButton::clicked, this, &AlarmNotice::snooze);
    m_snoozeLength = new QComboBox(this);
    for (const int minutes : kSnoozeMinutes)
        m_snoozeLength->addItem(tr("%n minutes", nullptr, minutes), minutes);
    m_snoozeLength->setGeometry(tw(kLengthLeft), twY(kButtonTop), tw(kLengthWidth),
                                twY(kButtonHeight));
    offerSnooze(false);

    m_timer1->onTick([this] { countdownTick(); });
    m_timer2->onTick([this] { soundLimitTick(); });
    m_timer1->setEnabled(false);
    m_timer2->setEnabled(true);
}

AlarmNotice::~AlarmNotice() {
    // Destroyed without a close (the process is going away): still stop the sound.
    closingSteps();
}

int AlarmNotice::tw(int twips) const {
    return int(std::lround(twips * logicalDpiX() / 1440.0));
}

int AlarmNotice::twY(int twips) const {
    return int(std::lround(twips * logicalDpiY() / 1440.0));
}

void AlarmNotice::placeOn(QScreen* screen) {
    if (screen) {
        setScreen(screen);
        // The whole window, title bar and borders included, stands in the middle of
        // the clock's monitor.
        const QRect monitor = screen->geometry();
        placeByFrame(this, [monitor](const QSize& frame) { return centredIn(monitor, frame); });
    }
}

void AlarmNotice::showOn(QScreen* screen, bool snoozed) {
    placeOn(screen);
    showTip(snoozed);
    show();
    raise();
    activateWindow();
}

void AlarmNotice::showTip(bool snoozed) {
    AlarmTable& alarms = m_s.alarms;
    const int index = alarms.noticeAlarm();
    if (index < 0 || index >= alarms.alarmCount())
        return;
    AlarmRecord& alarm = alarms.at(index);
    if (alarm.NoticeShown == 1)
        return;
    ++m_fills;
    setStatus({});
    TipState& st = m_s.state;

    const QString caption =
        noticeCaption(m_s.clock.clockName, alarm.AlarmTime, m_s.clock.settings.HourMode);
    setWindowTitle(snoozed ? snoozedCaption(caption) : caption);
    st.tipAction = alarm.Action;
    // A new fill is read afresh: the names the last countdown froze go.
    m_labTip->setAccessibleName({});
    m_cmdTip->setAccessibleName({});
    if (st.tipAction == alarmaction::showTip) {
        m_labTip->move(m_labTip->x(), twY(kTipTopForText));
        m_labTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_labTip->setText(noticeTipText(alarm.Note));
        // A tip replacing a countdown must not keep offering to cancel it.
        m_cmdTip->setText(tr("&OK"));
        m_timer1->setEnabled(false);
        offerSnooze(true);
    } else {
        // A countdown is cancelled or carried out, never put off.
        offerSnooze(false);
        // The texts of the countdown appear with its first tick, one second on.
        st.countdownTicks = 0;
        m_countdownStart = m_lastTick = uptimeNow();
        m_timer1->setEnabled(true);
        m_labTip->move(m_labTip->x(), twY(kTipTopForCountdown));
        m_labTip->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    m_timer2->setEnabled(true);
    if (alarm.PlayTime == playtime::Loop)
        m_timer2->setEnabled(false);
    else if (const auto limit = soundLimitFor(alarm.PlayTime))
        st.soundLimit = *limit;
    st.soundTicks = 0;

    playSound(alarm.SoundFile);
    alarm.NoticeShown = 1;
}

void AlarmNotice::playSound(const QString& soundFile) {
    TipState& st = m_s.state;
    st.alarmSoundPath =
        chooseAlarmSound(soundFile, m_s.defaultAlarmSoundPath, m_s.shippedAlarmSoundPath);
    // Only the reasons of this fill's sound reach the notice; a sound it replaced
    // may still report late.
    const QPointer<AlarmNotice> alive(this);
    const quint64 fills = m_fills;
    m_s.sound.onProblem([alive, fills](const QString& why) {
        if (alive && alive->m_fills == fills && !alive->m_closed)
            alive->setStatus(noSoundText(why));
    });
    if (st.alarmSoundPath.isEmpty()) {
        m_s.sound.stop();
        setStatus(noSoundText(tr("no alarm sound is installed")));
        return;
    }
    m_s.sound.play(st.alarmSoundPath);
}

void AlarmNotice::setStatus(const QString& text) {
    // One line: a long reason is cut with an ellipsis and shown whole as a tooltip.
    m_labStatus->setText(
        m_labStatus->fontMetrics().elidedText(text, Qt::ElideRight, m_labStatus->width()));
    m_labStatus->setToolTip(text);
    m_labStatus->setVisible(!text.isEmpty());
}

void AlarmNotice::showMissedOn(QScreen* screen, const QList<MissedAlarm>& missed) {
    showMissed(missed);
    placeOn(screen);
    show();
    raise();
    activateWindow();
}

void AlarmNotice::showActionFailedOn(QScreen* screen, const QString& caption, int32_t action,
                                     const QString& why) {
    showActionFailed(caption, action, why);
    placeOn(screen);
    show();
    raise();
    activateWindow();
}

void AlarmNotice::showActionFailed(const QString& caption, int32_t action, const QString& why) {
    AlarmTable& alarms = m_s.alarms;
    if (!m_runningAction && alarms.noticeAlarm() != -1) {
        setStatus(actionFailedText(why));
        return;
    }
    if (alarms.noticeAlarm() != -1) {
        alarms.setNoticeShown(0);
        alarms.setNoticeAlarm(-1);
    }
    ++m_fills;
    m_s.state.tipAction = alarmaction::showTip;
    m_timer1->setEnabled(false);
    setWindowTitle(caption);
    m_labTip->move(m_labTip->x(), twY(kTipTopForText));
    m_labTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QString text = notDoneText(action);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    m_labTip->setText(text);
    m_cmdTip->setText(tr("&OK"));
    offerSnooze(false);
    setStatus(actionFailedText(why));
}

void AlarmNotice::showMissed(const QList<MissedAlarm>& missed) {
    AlarmTable& alarms = m_s.alarms;
    QStringList lines;
    const AlarmRecord* sounding = nullptr;
    for (const MissedAlarm& m : missed) {
        if (m.index < 0 || m.index >= alarms.alarmCount())
            continue;
        const AlarmRecord& alarm = alarms.at(m.index);
        lines << missedLine(alarm.Action, alarm.Note, m.dueAt, m_s.clock.settings.HourMode);
        // Opening a file or address never had a sound; every other notice did.
        if (!sounding && alarm.Action != alarmaction::Execute)
            sounding = &alarm;
    }
    if (lines.isEmpty())
        return;
    // Like a later alarm, this takes over an open notice: its countdown ends there
    // and its power action never happens.
    if (alarms.noticeAlarm() != -1) {
        alarms.setNoticeShown(0);
        alarms.setNoticeAlarm(-1);
    }
    ++m_fills;
    setStatus({});
    TipState& st = m_s.state;
    st.tipAction = alarmaction::showTip;
    m_timer1->setEnabled(false);
    setWindowTitle(
        missedCaption(m_s.clock.clockName, missed.constFirst().dueAt, m_s.clock.settings.HourMode));
    m_labTip->move(m_labTip->x(), twY(kTipTopForText));
    m_labTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_labTip->setText(lines.join(u'\n'));
    m_cmdTip->setText(tr("&OK"));
    offerSnooze(false); // what was missed has no alarm to bring back

    m_s.sound.stop();
    m_timer2->setEnabled(false);
    if (!sounding)
        return;
    m_timer2->setEnabled(sounding->PlayTime != playtime::Loop);
    if (const auto limit = soundLimitFor(sounding->PlayTime))
        st.soundLimit = *limit;
    st.soundTicks = 0;
    playSound(sounding->SoundFile);
}

void AlarmNotice::offerSnooze(bool offer) {
    offer = offer && bool(m_s.nowUtc);
    m_cmdSnooze->setVisible(offer);
    m_snoozeLength->setVisible(offer);
    if (offer)
        m_snoozeLength->setCurrentIndex(0);
    m_cmdTip->move(tw(offer ? kOkLeftBesideSnooze : kButtonLeft), twY(kButtonTop));
}

void AlarmNotice::snooze() {
    AlarmTable& alarms = m_s.alarms;
    const int index = alarms.noticeAlarm();
    if (!m_s.nowUtc || index < 0 || index >= alarms.alarmCount() ||
        m_s.state.tipAction != alarmaction::showTip)
        return;
    const int minutes = m_snoozeLength->currentData().toInt();
    alarms.snooze(index, m_s.nowUtc().addSecs(qint64(minutes) * 60));
    close();
}

Uptime AlarmNotice::uptimeNow() const {
    return m_s.uptime ? m_s.uptime() : readUptime();
}

bool AlarmNotice::countdownOverslept() {
    // The ticks count only the seconds the computer was awake: woken past the end,
    // the action would run hours late, so the countdown ends without it and says so.
    // A sleep that ends before the end only delays it. The wall clock plays no part:
    // a step of it (an NTP correction, the user setting the time) says nothing
    // about how long the user has had to cancel.
    constexpr qint64 kGraceMs = 5000;
    if (!m_countdownStart)
        return false;
    const Uptime now = uptimeNow();
    const qint64 asleep =
        (now.sinceBootMs - m_lastTick.sinceBootMs) - (now.awakeMs - m_lastTick.awakeMs);
    m_lastTick = now;
    if (asleep <= kGraceMs ||
        now.sinceBootMs - m_countdownStart->sinceBootMs <= kCountdownSeconds * 1000 + kGraceMs)
        return false;
    m_timer1->setEnabled(false);
    m_cmdTip->setText(tr("&OK"));
    // The big label said what was about to happen; it now says, whole and wrapped,
    // that it did not happen and why.
    //: %1 says what did not happen: "the computer was not restarted".
    m_labTip->setText(tr("The countdown was cancelled and %1: the computer slept past its end.")
                          .arg(notDoneText(m_s.state.tipAction)));
    m_labTip->setAccessibleName(m_labTip->text());
    m_labTip->setAccessibleDescription({});
    setStatus({});
    return true;
}

void AlarmNotice::countdownTick() {
    TipState& st = m_s.state;
    if (countdownOverslept())
        return;
    ++st.countdownTicks;
    const int left = kCountdownSeconds - st.countdownTicks;
    m_cmdTip->setText(cancelButtonText(left));
    m_labTip->setText(countdownText(st.tipAction, left));
    // A screen reader announces the countdown once, as it starts: from then on
    // label and button keep the names they started with, so the changing texts
    // raise no announcement every second; the seconds left are the description.
    if (st.countdownTicks == 1) {
        m_labTip->setAccessibleName(m_labTip->text());
        m_cmdTip->setAccessibleName(tr("Cancel"));
    }
    m_labTip->setAccessibleDescription(m_labTip->text());
    if (st.countdownTicks < kCountdownSeconds)
        return;
    // Off before the action: a refused action shows a message box, whose event loop
    // would otherwise deliver further ticks and run the action again.
    m_timer1->setEnabled(false);
    const quint64 fills = m_fills;
    const QPointer<AlarmNotice> alive(this);
    PowerControl::Failed failed;
    if (m_s.actionFailed)
        failed = [report = m_s.actionFailed, caption = windowTitle(),
                  action = st.tipAction](const QString& why) {
            report(caption, action, why);
        };
    m_runningAction = true;
    m_s.power.runCountdownAction(st.tipAction, std::move(failed));
    // The clock may have closed, and this notice with it, while a message was up.
    if (!alive)
        return;
    m_runningAction = false;
    // A later alarm may have refilled the window while a message was up; its
    // notice stays.
    if (fills == m_fills)
        close();
}

void AlarmNotice::soundLimitTick() {
    TipState& st = m_s.state;
    ++st.soundTicks;
    if (st.soundTicks >= st.soundLimit) {
        m_s.sound.stop();
        m_timer2->setEnabled(false);
    }
}

void AlarmNotice::closingSteps() {
    if (m_closed)
        return;
    m_closed = true;
    m_timer1->setEnabled(false);
    m_timer2->setEnabled(false);
    m_s.sound.onProblem({});
    m_s.sound.stop();
    m_s.alarms.setNoticeShown(0);
    m_s.alarms.setNoticeAlarm(-1);
}

void AlarmNotice::closeEvent(QCloseEvent* event) {
    closingSteps();
    event->accept();
}

void AlarmNotice::keyPressEvent(QKeyEvent* event) {
    // Escape dismisses the notice like its button: it cancels a countdown.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace ovra
