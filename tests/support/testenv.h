#pragma once

#include "alarms/alarmrecord.h"
#include "base/apppaths.h"
#include "base/messagesink.h"
#include "settings/clocksettings.h"
#include "support/memorystore.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>

#include <memory>
#include <tuple>

namespace ovra::test {

// A private HOME with its own XDG folders; the environment points at it for as long
// as the object lives, so nothing a test does reaches the user's files.
class TestHome {
public:
    TestHome();
    ~TestHome();
    QString path() const { return m_dir.path(); }
    PathRoots roots() const;
    QString storePath() const { return AppPaths::storePathFor(roots()); }

private:
    QTemporaryDir m_dir;
    QMap<QByteArray, QByteArray> m_saved;
};

// The record of a clock as the store on disk holds it, and a record written there,
// as another process would.
ClockSettings storedClockSettings(const TestHome& home, const QString& name = "Default");
// An alarm of the given action due at hour:minute of `at`, enabled, with the
// default sound; and the clock's alarm file holding just it (true when written).
AlarmRecord alarmDueAt(const QTime& at, int32_t action, int32_t playTime, const QString& note = {});
bool storeAlarm(const TestHome& home, const AlarmRecord& alarm, const QString& clock = "Default");
// The time now, once at least `seconds` of the minute are left, so that an alarm due
// now stays due while a test watches it.
QTime timeWithRoomInMinute(int seconds);
void storeClockSettings(const TestHome& home, const ClockSettings& s,
                        const QString& name = "Default");

struct RecordedMessage {
    QString text;
    QString title;
    MessageIcon icon;
};

class RecordingMessageSink final : public MessageSink {
public:
    void showMessage(const QString& text, const QString& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    std::vector<RecordedMessage> messages;
};

} // namespace ovra::test
