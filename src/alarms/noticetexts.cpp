#include "alarms/noticetexts.h"

#include "alarms/alarmrecord.h"
#include "base/clockname.h"
#include "base/textutil.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTime>

namespace ovra {

QString noticeCaption(const QString& clockName, double alarmTime, int32_t hourMode) {
    QString time;
    if (const auto seconds = alarmSecondOfDay(alarmTime)) {
        const QTime t = QTime(0, 0).addSecs(*seconds);
        // The C locale keeps "AM"/"PM" in English whatever the user's language.
        time = QLocale::c().toString(t, hourMode != 0 ? QStringLiteral("HH:mm")
                                                      : QStringLiteral("hh:mm AP"));
    }
    //: The notice window's title: %1 is the clock's name, %2 the alarm time.
    return QCoreApplication::translate("ovra::AlarmNotice", "Clock: %1  -  Alarm: %2")
        .arg(shownClockName(clockName), time);
}

QString snoozedCaption(const QString& caption) {
    //: %1 is the notice window's title.
    return QCoreApplication::translate("ovra::AlarmNotice", "%1 (snoozed)").arg(caption);
}

QString noticeTipText(const QString& note) {
    QString text = note.left(note.indexOf(QChar(u'\0')));
    while (text.endsWith(u' '))
        text.chop(1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString missedAtText(const QDateTime& dueAt, int32_t hourMode) {
    //: %1 is the time an alarm was due while the computer slept.
    return QCoreApplication::translate("ovra::AlarmNotice", "missed at %1")
        .arg(QLocale::c().toString(dueAt.time(), hourMode != 0 ? QStringLiteral("HH:mm")
                                                               : QStringLiteral("hh:mm AP")));
}

QString missedCaption(const QString& clockName, const QDateTime& dueAt, int32_t hourMode) {
    return QCoreApplication::translate("ovra::AlarmNotice", "Clock: %1  -  Alarm: %2")
        .arg(shownClockName(clockName), missedAtText(dueAt, hourMode));
}

QString notDoneText(int32_t action) {
    switch (action) {
    case alarmaction::ShutDown:
        return QCoreApplication::translate("ovra::AlarmNotice", "the computer was not shut down");
    case alarmaction::Restart:
        return QCoreApplication::translate("ovra::AlarmNotice", "the computer was not restarted");
    case alarmaction::Lock:
        return QCoreApplication::translate("ovra::AlarmNotice", "the computer was not locked");
    case alarmaction::PowerOffNow:
        return QCoreApplication::translate("ovra::AlarmNotice", "the computer was not powered off");
    case alarmaction::RebootNow:
        return QCoreApplication::translate("ovra::AlarmNotice", "the computer was not rebooted");
    default:
        return {};
    }
}

QString noSoundText(const QString& why) {
    //: The notice's status line; %1 says why, such as "no audio output".
    return QCoreApplication::translate("ovra::AlarmNotice", "No sound: %1").arg(why);
}

QString actionFailedText(const QString& why) {
    //: The notice's status line; %1 is the reason the system or the session gave.
    return QCoreApplication::translate("ovra::AlarmNotice", "Action failed: %1").arg(why);
}

QString openFailedText(const QString& note, const QString& why) {
    //: %1 is the file, program or address of an alarm, %2 why it did not open.
    return QCoreApplication::translate("ovra::AlarmNotice", "Cannot open %1: %2").arg(note, why);
}

QString missedLine(int32_t action, const QString& note, const QDateTime& dueAt, int32_t hourMode) {
    QString what;
    switch (action) {
    case alarmaction::showTip:
        what = noticeTipText(note);
        break;
    case alarmaction::Execute:
        //: %1 is the file, document or address a missed alarm would have opened.
        what = QCoreApplication::translate("ovra::AlarmNotice", "would have opened %1")
                   .arg(cleanString(note));
        break;
    default:
        what = notDoneText(action);
        break;
    }
    QString line = missedAtText(dueAt, hourMode);
    if (!what.isEmpty())
        line += QStringLiteral(": ") + what;
    return line;
}

QString countdownText(int32_t tipAction, int secondsLeft) {
    // %n picks the plural form in a translation; the English text keeps "seconds".
    const char* text = nullptr;
    switch (tipAction) {
    case alarmaction::ShutDown:
        text =
            QT_TRANSLATE_N_NOOP("ovra::AlarmNotice", "Computer will be shutted down in %n seconds");
        break;
    case alarmaction::Restart:
        text = QT_TRANSLATE_N_NOOP("ovra::AlarmNotice", "Computer will be restarted in %n seconds");
        break;
    case alarmaction::Lock:
        text = QT_TRANSLATE_N_NOOP("ovra::AlarmNotice", "Computer will be locked in %n seconds");
        break;
    case alarmaction::PowerOffNow:
        text = QT_TRANSLATE_N_NOOP("ovra::AlarmNotice",
                                   "Computer will be powered off without saving in %n seconds");
        break;
    case alarmaction::RebootNow:
        text = QT_TRANSLATE_N_NOOP("ovra::AlarmNotice",
                                   "Computer will be rebooted without saving in %n seconds");
        break;
    default:
        return {};
    }
    return QCoreApplication::translate("ovra::AlarmNotice", text, nullptr, secondsLeft);
}

QString cancelButtonText(int secondsLeft) {
    //: "&" marks the access key; %1 is the number of seconds left.
    return QCoreApplication::translate("ovra::AlarmNotice", "&Cancel (%1)").arg(secondsLeft);
}

std::optional<int32_t> soundLimitFor(int32_t playTime) {
    switch (playTime) {
    case playtime::OneMinute:
        return 60;
    case playtime::TwoMinutes:
        return 120;
    case playtime::ThreeMinutes:
        return 180;
    case playtime::FiveMinutes:
        return 300;
    default:
        return std::nullopt;
    }
}

} // namespace ovra
