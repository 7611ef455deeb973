// What the program leaves on disk is read by other versions of it: the settings
// store and an alarm file written now must equal, byte for byte, the ones the
// committed samples hold. Renaming code must never rename what it stores.
//
// OVRA_WRITE_SAMPLES=1 writes the samples anew instead; only for a change that
// means to change the stored formats.
#include "support/testenv.h"

#include "alarms/alarmfile.h"
#include "settings/clocklist.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

const QString kSamples = QStringLiteral(OVRA_SAMPLES_DIR);

// Every key and value of the store as text, in a stable order.
QByteArray dumpOf(const QString& storePath) {
    sqlite3* db = nullptr;
    QByteArray out;
    if (sqlite3_open_v2(storePath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return out;
    }
    for (const char* query :
         {"PRAGMA application_id", "PRAGMA user_version",
          "SELECT sql FROM sqlite_master ORDER BY name",
          "SELECT root, path FROM keys ORDER BY 1, 2",
          "SELECT root, path, name, type, hex(data) FROM vals ORDER BY 1, 2, 3"}) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, query, -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* text = sqlite3_column_text(st, c);
                out += (c ? "|" : "") + QByteArray(text ? reinterpret_cast<const char*>(text) : "");
            }
            out += '\n';
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(StoredFormats, TheStoreAndAnAlarmFileAreWrittenAsBefore) {
    test::TestHome home;
    {
        SqliteStoreBackend backend(home.storePath());
        KeyStore store(backend);
        ASSERT_EQ(store.writeText(kClockListKey, kClockListValue,
                                  QStringLiteral("{Default}{Tokyo}{Café}")),
                  0);
        ClockState tokyo;
        tokyo.clockName = QStringLiteral("Tokyo");
        tokyo.settings = defaultSettings();
        tokyo.settings.TimeZoneIndex = 81;
        tokyo.settings.TimeStandard = 2;
        tokyo.settings.ClockRadius = 90;
        tokyo.settings.Left = 1500;
        tokyo.settings.Top = -30;
        ASSERT_EQ(writeClockSettings(store, tokyo), 0);
        ClockState cafe = tokyo;
        cafe.clockName = QStringLiteral("Café");
        cafe.settings = defaultSettings();
        ASSERT_EQ(writeClockSettings(store, cafe), 0);
    }
    AlarmTable alarms;
    AlarmRecord weekdays;
    weekdays.AlarmTime = alarmTimeOf(7, 0);
    weekdays.status = 1;
    weekdays.Action = 0;
    weekdays.Note = QStringLiteral("Café au lait");
    weekdays.SoundFile = QStringLiteral("Default Alarm Sound");
    setAlarmWeekdays(weekdays, 0x1F);
    alarms.add(weekdays);
    AlarmRecord open = weekdays;
    open.AlarmTime = alarmTimeOf(23, 59);
    open.Action = 6;
    open.Note = QStringLiteral("https://example.org/東京");
    setAlarmWeekdays(open, 0x7F);
    alarms.add(open);
    const QString alarmFile = home.path() + QStringLiteral("/Tokyo.cfg");
    test::RecordingMessageSink messages;
    ASSERT_EQ(saveAlarmFile(alarms, alarmFile, messages), 0);

    const QByteArray store = dumpOf(home.storePath()), alarmBytes = contentOf(alarmFile);
    ASSERT_FALSE(store.isEmpty());
    if (qEnvironmentVariableIsSet("OVRA_WRITE_SAMPLES")) {
        for (const auto& [name, bytes] :
             {std::pair{"store.dump", store}, {"Tokyo.cfg", alarmBytes}}) {
            QFile f(kSamples + u'/' + QString::fromLatin1(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        GTEST_SKIP() << "samples written";
    }
    EXPECT_EQ(store.toStdString(),
              contentOf(kSamples + QStringLiteral("/store.dump")).toStdString());
    EXPECT_EQ(alarmBytes.toHex().toStdString(),
              contentOf(kSamples + QStringLiteral("/Tokyo.cfg")).toHex().toStdString());
}
