#pragma once

#include "alarms/alarmrecord.h"
#include "base/apppaths.h"
#include "base/messagesink.h"
#include "settings/clocksettings.h"
#include "settings/storebackend.h"

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

// The store in memory, for tests that are about the callers rather than SQLite.
class MemoryStoreBackend final : public StoreBackend {
public:
    int readValue(uint32_t root, const QString& key, const QString& name, RawValue& out) override;
    int writeValue(uint32_t root, const QString& key, const QString& name,
                   const RawValue& value) override;
    int deleteValue(uint32_t root, const QString& key, const QString& name) override;
    int deleteKey(uint32_t root, const QString& key) override;
    bool keyExists(uint32_t root, const QString& key) override;
    int transaction(const std::function<bool()>& fn) override;

    bool failWrites = false;
    // The next this many writes fail as a store that another program keeps busy.
    int busyWrites = 0;
    // When not Success, every read fails with this status.
    int failReads = status::Success;
    // The next this many reads fail with readFailure, as a store that is locked by
    // another program or cannot be read.
    int readsToFail = 0;
    int readFailure = status::Busy;
    int readAttempts = 0;
    int transactions = 0;

private:
    using ValueKey = std::tuple<uint32_t, QString, QString>;
    QMap<ValueKey, RawValue> m_values;
    QMap<std::pair<uint32_t, QString>, bool> m_keys;
};

} // namespace ovra::test
