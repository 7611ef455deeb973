#include "support/testenv.h"

#include "alarms/alarmtable.h"

#include "alarms/alarmfile.h"

#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"

#include <QDir>
#include <QThread>

namespace ovra::test {

namespace {
const char* const kVars[] = {
    "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "TMPDIR"};
}

TestHome::TestHome() {
    const QByteArray base = m_dir.path().toUtf8();
    for (const char* var : kVars)
        m_saved.insert(var, qgetenv(var));
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    QDir(m_dir.path()).mkpath(QStringLiteral("runtime"));
    QDir(m_dir.path()).mkpath(QStringLiteral("cache"));
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    QFile::setPermissions(m_dir.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", base);
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("XDG_RUNTIME_DIR", base + "/runtime");
    qputenv("XDG_CACHE_HOME", base + "/cache");
    qputenv("TMPDIR", base + "/tmp");
}

TestHome::~TestHome() {
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
        if (it.value().isNull())
            qunsetenv(it.key().constData());
        else
            qputenv(it.key().constData(), it.value());
    }
}

ClockSettings storedClockSettings(const TestHome& home, const QString& name) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    ClockState state;
    state.clockName = name;
    readClockSettings(store, state);
    return state.settings;
}

AlarmRecord alarmDueAt(const QTime& at, int32_t action, int32_t playTime, const QString& note) {
    AlarmRecord alarm;
    alarm.AlarmTime = alarmTimeOf(at.hour(), at.minute());
    alarm.status = 1;
    alarm.Action = action;
    alarm.PlayTime = playTime;
    alarm.Note = note;
    alarm.SoundFile = QStringLiteral("Default Alarm Sound");
    return alarm;
}

bool storeAlarm(const TestHome& home, const AlarmRecord& alarm, const QString& clock) {
    AlarmTable table;
    table.add(alarm);
    RecordingMessageSink messages;
    return saveAlarmFile(table, AppPaths::build(clock, home.roots()).alarmFilePath, messages) == 0;
}

QTime timeWithRoomInMinute(int seconds) {
    if (QTime::currentTime().second() > 60 - seconds)
        QThread::msleep(ulong(61 - QTime::currentTime().second()) * 1000);
    return QTime::currentTime();
}

void storeClockSettings(const TestHome& home, const ClockSettings& s, const QString& name) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    ClockState state;
    state.clockName = name;
    state.settings = s;
    writeClockSettings(store, state);
}

PathRoots TestHome::roots() const {
    PathRoots r;
    r.appFolder = path() + QStringLiteral("/bin");
    r.dataRoot = path() + QStringLiteral("/data");
    r.configRoot = path() + QStringLiteral("/config");
    r.tempFolder = path() + QStringLiteral("/tmp");
    r.runtimeRoot = path() + QStringLiteral("/runtime");
    return r;
}

int MemoryStoreBackend::readValue(uint32_t root, const QString& key, const QString& name,
                                  RawValue& out) {
    ++readAttempts;
    if (failReads != status::Success)
        return failReads;
    if (readsToFail > 0) {
        --readsToFail;
        return readFailure;
    }
    const auto it = m_values.constFind({root, key, name});
    if (it == m_values.cend())
        return status::NotFound;
    out = it.value();
    return status::Success;
}

int MemoryStoreBackend::writeValue(uint32_t root, const QString& key, const QString& name,
                                   const RawValue& value) {
    if (failWrites)
        return status::CannotWrite;
    if (busyWrites > 0) {
        --busyWrites;
        return status::Busy;
    }
    QString part;
    for (const QString& component : key.split(u'\\')) {
        part = part.isEmpty() ? component : part + u'\\' + component;
        m_keys.insert({root, part}, true);
    }
    m_values.insert({root, key, name}, value);
    return status::Success;
}

int MemoryStoreBackend::deleteValue(uint32_t root, const QString& key, const QString& name) {
    if (failWrites)
        return status::CannotWrite;
    return m_values.remove({root, key, name}) ? status::Success : status::NotFound;
}

int MemoryStoreBackend::deleteKey(uint32_t root, const QString& key) {
    if (failWrites)
        return status::CannotWrite;
    if (!m_keys.contains({root, key}))
        return status::NotFound;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        if (it.key().first == root && it.key().second.startsWith(key + u'\\'))
            return status::AccessDenied;
    m_keys.remove({root, key});
    for (auto it = m_values.begin(); it != m_values.end();) {
        if (std::get<0>(it.key()) == root && std::get<1>(it.key()) == key)
            it = m_values.erase(it);
        else
            ++it;
    }
    return status::Success;
}

bool MemoryStoreBackend::keyExists(uint32_t root, const QString& key) {
    if (failReads != status::Success)
        return key.isEmpty();
    return key.isEmpty() || m_keys.contains({root, key});
}

int MemoryStoreBackend::transaction(const std::function<bool()>& fn) {
    ++transactions;
    const auto values = m_values;
    const auto keys = m_keys;
    if (fn())
        return status::Success;
    m_values = values;
    m_keys = keys;
    return status::CannotWrite;
}

} // namespace ovra::test
