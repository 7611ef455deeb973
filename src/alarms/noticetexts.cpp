#include "alarms/noticetexts.h"

#include "alarms/alarmrecord.h"
#include "base/textutil.h"

#include <QLocale>
#include <QTime>

namespace ovra {

QString NoticeCaption(const QString& clockName, double alarmTime, int32_t hourMode) {
    QString time;
    if (const auto seconds = alarmSecondOfDay(alarmTime)) {
        const QTime t = QTime(0, 0).addSecs(*seconds);
        // The C locale keeps "AM"/"PM" in English whatever the user's language.
        time = QLocale::c().toString(t, hourMode != 0 ? QStringLiteral("HH:mm")
                                                      : QStringLiteral("hh:mm AP"));
    }
    return QStringLiteral("Clock: ") + clockName + QStringLiteral("  -  Alarm: ") + time;
}

QString SnoozedCaption(const QString& caption) {
    return caption + QStringLiteral(" (snoozed)");
}

QString NoticeTipText(const QString& note) {
    QString text = note.left(note.indexOf(QChar(u'\0')));
    while (text.endsWith(u' '))
        text.chop(1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString MissedAtText(const QDateTime& dueAt, int32_t hourMode) {
    return QStringLiteral("missed at ") +
           QLocale::c().toString(dueAt.time(), hourMode != 0 ? QStringLiteral("HH:mm")
                                                             : QStringLiteral("hh:mm AP"));
}

QString MissedCaption(const QString& clockName, const QDateTime& dueAt, int32_t hourMode) {
    return QStringLiteral("Clock: ") + clockName + QStringLiteral("  -  Alarm: ") +
           MissedAtText(dueAt, hourMode);
}

QString MissedLine(int32_t action, const QString& note, const QDateTime& dueAt, int32_t hourMode) {
    QString what;
    switch (action) {
    case alarmaction::ShowTip:
        what = NoticeTipText(note);
        break;
    case alarmaction::ShutDown:
        what = QStringLiteral("the computer was not shut down");
        break;
    case alarmaction::Restart:
        what = QStringLiteral("the computer was not restarted");
        break;
    case alarmaction::Lock:
        what = QStringLiteral("the computer was not locked");
        break;
    case alarmaction::PowerOffNow:
        what = QStringLiteral("the computer was not powered off");
        break;
    case alarmaction::RebootNow:
        what = QStringLiteral("the computer was not rebooted");
        break;
    case alarmaction::Execute:
        what = QStringLiteral("would have opened ") + CleanString(note);
        break;
    default:
        break;
    }
    QString line = MissedAtText(dueAt, hourMode);
    if (!what.isEmpty())
        line += QStringLiteral(": ") + what;
    return line;
}

QString CountdownText(int32_t tipAction, int secondsLeft) {
    QString prefix;
    switch (tipAction) {
    case alarmaction::ShutDown:
        prefix = QStringLiteral("Computer will be shutted down in ");
        break;
    case alarmaction::Restart:
        prefix = QStringLiteral("Computer will be restarted in ");
        break;
    case alarmaction::Lock:
        prefix = QStringLiteral("Computer will be locked in ");
        break;
    case alarmaction::PowerOffNow:
        prefix = QStringLiteral("Computer will be powered off without saving in ");
        break;
    case alarmaction::RebootNow:
        prefix = QStringLiteral("Computer will be rebooted without saving in ");
        break;
    default:
        return {};
    }
    return prefix + QString::number(secondsLeft) + QStringLiteral(" seconds");
}

QString CancelButtonText(int secondsLeft) {
    return QStringLiteral("&Cancel (%1)").arg(secondsLeft);
}

std::optional<int32_t> SoundLimitFor(int32_t playTime) {
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
