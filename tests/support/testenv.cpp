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

} // namespace ovra::test
