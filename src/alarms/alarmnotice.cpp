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

// Design sizes, in pixels at 96 dpi; the notice grows with the screen's density.
constexpr double kClientWidth = 435;
constexpr double kClientHeight = 279;
constexpr double kTipLeft = 20, kTipTop = 15, kTipWidth = 390, kTipHeight = 200;
constexpr double kTipTopForText = 1;
// The status line sits between the tip and the band.
constexpr double kStatusTop = kTipTop + kTipHeight, kStatusHeight = 16;
// Centred above a line of 6 pixels, a thirtieth of a pixel higher, where the
// countdown has always stood.
constexpr double kTipTopForCountdown = (kClientHeight - 6) / 2 - 1 / 30.0;
constexpr double kButtonLeft = 175, kButtonTop = 245, kButtonWidth = 90, kButtonHeight = 23;
// With a snooze on offer the buttons move left to make room for its length.
constexpr double kOkLeftBesideSnooze = 60, kSnoozeLeft = 160, kLengthLeft = 260, kLengthWidth = 110;
constexpr double kBandLeft = -11, kBandTop = 231, kBandWidth = 485, kBandHeight = 55;

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
      m_s(std::move(services)), m_countdownTicker(m_s.makeTicker()),
      m_soundLimitTicker(m_s.makeTicker()) {
    static const bool alertRole = (QAccessible::installFactory(&noticeFactory), true);
    Q_UNUSED(alertRole);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Alarm Tip"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(scaledX(kClientWidth), scaledY(kClientHeight));

    m_message = new QLabel(this);
    QFont tipFont(QStringLiteral("Arial"), 12);
    tipFont.setBold(true);
    m_message->setFont(tipFont);
    // The tip is the user's text, never markup.
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setGeometry(scaledX(kTipLeft), scaledY(kTipTop), scaledX(kTipWidth),
                           scaledY(kTipHeight));

    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setGeometry(scaledX(kTipLeft), scaledY(kStatusTop), scaledX(kTipWidth),
                          scaledY(kStatusHeight));
    m_status->hide();

    m_buttonBand = new QFrame(this);
    m_buttonBand->setFrameShape(QFrame::NoFrame);
    m_buttonBand->setAutoFillBackground(true);
    m_buttonBand->setBackgroundRole(QPalette::Midlight);
    m_buttonBand->setGeometry(scaledX(kBandLeft), scaledY(kBandTop), scaledX(kBandWidth),
                              scaledY(kBandHeight));

    m_okButton = new QPushButton(tr("&OK"), this);
    m_okButton->setGeometry(scaledX(kButtonLeft), scaledY(kButtonTop), scaledX(kButtonWidth),
                            scaledY(kButtonHeight));
    m_okButton->setDefault(true);
    m_okButton->setFocus();
    connect(m_okButton, &QPushButton::clicked, this, &QWidget::close);

    m_snoozeButton = new QPushButton(tr("&Snooze"), this);
    m_snoozeButton->setGeometry(scaledX(kSnoozeLeft), scaledY(kButtonTop), scaledX(kButtonWidth),
                                scaledY(kButtonHeight));
    m_snoozeButton->setAutoDefault(false);
    connect(m_snoozeButton, &QPushButton::clicked, this, &AlarmNotice::snooze);
    m_snoozeLength = new QComboBox(this);
    for (const int minutes : kSnoozeMinutes)
        m_snoozeLength->addItem(tr("%n minutes", nullptr, minutes), minutes);
    m_snoozeLength->setGeometry(scaledX(kLengthLeft), scaledY(kButtonTop), scaledX(kLengthWidth),
                                scaledY(kButtonHeight));
    offerSnooze(false);

    m_countdownTicker->onTick([this] { countdownTick(); });
    m_soundLimitTicker->onTick([this] { soundLimitTick(); });
    m_countdownTicker->setEnabled(false);
    m_soundLimitTicker->setEnabled(true);
}

AlarmNotice::~AlarmNotice() {
    // Destroyed without a close (the process is going away): still stop the sound.
    closingSteps();
}

int AlarmNotice::scaledX(double designPx) const {
    return int(std::lround(designPx * logicalDpiX() / 96.0));
}

int AlarmNotice::scaledY(double designPx) const {
    return int(std::lround(designPx * logicalDpiY() / 96.0));
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
        noticeCaption(m_s.clock.clockName, alarm.AlarmTime, m_s.clock.settings.twentyFourHour());
    setWindowTitle(snoozed ? snoozedCaption(caption) : caption);
    st.tipAction = alarm.Action;
    // A new fill is read afresh: the names the last countdown froze go.
    m_message->setAccessibleName({});
    m_okButton->setAccessibleName({});
    if (st.tipAction == alarmaction::showTip) {
        m_message->move(m_message->x(), scaledY(kTipTopForText));
        m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_message->setText(noticeTipText(alarm.Note));
        // A tip replacing a countdown must not keep offering to cancel it.
        m_okButton->setText(tr("&OK"));
        m_countdownTicker->setEnabled(false);
        offerSnooze(true);
    } else {
        // A countdown is cancelled or carried out, never put off.
        offerSnooze(false);
        // The texts of the countdown appear with its first tick, one second on.
        st.countdownTicks = 0;
        m_countdownStart = m_lastTick = uptimeNow();
        m_countdownTicker->setEnabled(true);
        m_message->move(m_message->x(), scaledY(kTipTopForCountdown));
        m_message->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    m_soundLimitTicker->setEnabled(true);
    if (alarm.PlayTime == playtime::Loop)
        m_soundLimitTicker->setEnabled(false);
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
    m_status->setText(m_status->fontMetrics().elidedText(text, Qt::ElideRight, m_status->width()));
    m_status->setToolTip(text);
    m_status->setVisible(!text.isEmpty());
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
    m_countdownTicker->setEnabled(false);
    setWindowTitle(caption);
    m_message->move(m_message->x(), scaledY(kTipTopForText));
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QString text = notDoneText(action);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    m_message->setText(text);
    m_okButton->setText(tr("&OK"));
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
        lines << missedLine(alarm.Action, alarm.Note, m.dueAt, m_s.clock.settings.twentyFourHour());
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
    m_countdownTicker->setEnabled(false);
    setWindowTitle(missedCaption(m_s.clock.clockName, missed.constFirst().dueAt,
                                 m_s.clock.settings.twentyFourHour()));
    m_message->move(m_message->x(), scaledY(kTipTopForText));
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setText(lines.join(u'\n'));
    m_okButton->setText(tr("&OK"));
    offerSnooze(false); // what was missed has no alarm to bring back

    m_s.sound.stop();
    m_soundLimitTicker->setEnabled(false);
    if (!sounding)
        return;
    m_soundLimitTicker->setEnabled(sounding->PlayTime != playtime::Loop);
    if (const auto limit = soundLimitFor(sounding->PlayTime))
        st.soundLimit = *limit;
    st.soundTicks = 0;
    playSound(sounding->SoundFile);
}

void AlarmNotice::offerSnooze(bool offer) {
    offer = offer && bool(m_s.nowUtc);
    m_snoozeButton->setVisible(offer);
    m_snoozeLength->setVisible(offer);
    if (offer)
        m_snoozeLength->setCurrentIndex(0);
    m_okButton->move(scaledX(offer ? kOkLeftBesideSnooze : kButtonLeft), scaledY(kButtonTop));
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
    m_countdownTicker->setEnabled(false);
    m_okButton->setText(tr("&OK"));
    // The big label said what was about to happen; it now says, whole and wrapped,
    // that it did not happen and why.
    //: %1 says what did not happen: "the computer was not restarted".
    m_message->setText(tr("The countdown was cancelled and %1: the computer slept past its end.")
                           .arg(notDoneText(m_s.state.tipAction)));
    m_message->setAccessibleName(m_message->text());
    m_message->setAccessibleDescription({});
    setStatus({});
    return true;
}

void AlarmNotice::countdownTick() {
    TipState& st = m_s.state;
    if (countdownOverslept())
        return;
    ++st.countdownTicks;
    const int left = kCountdownSeconds - st.countdownTicks;
    m_okButton->setText(cancelButtonText(left));
    m_message->setText(countdownText(st.tipAction, left));
    // A screen reader announces the countdown once, as it starts: from then on
    // label and button keep the names they started with, so the changing texts
    // raise no announcement every second; the seconds left are the description.
    if (st.countdownTicks == 1) {
        m_message->setAccessibleName(m_message->text());
        m_okButton->setAccessibleName(tr("Cancel"));
    }
    m_message->setAccessibleDescription(m_message->text());
    if (st.countdownTicks < kCountdownSeconds)
        return;
    // Off before the action: a refused action shows a message box, whose event loop
    // would otherwise deliver further ticks and run the action again.
    m_countdownTicker->setEnabled(false);
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
        m_soundLimitTicker->setEnabled(false);
    }
}

void AlarmNotice::closingSteps() {
    if (m_closed)
        return;
    m_closed = true;
    m_countdownTicker->setEnabled(false);
    m_soundLimitTicker->setEnabled(false);
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
