// The alarm file and the settings survive being killed at any moment of a save:
// a writer process saves both over and over and is killed with SIGKILL at random
// moments; after every kill the alarm file is the previous or the next complete
// file and the store opens with the previous or the next values.
//
// OVRA_CRASH_KILLS sets the number of kills (100 here; bench/crash-safety.sh runs
// 1000), OVRA_CRASH_SEED repeats a run.
#include "stress/generations.h"
#include "support/testenv.h"

#include "settings/sqlitestorebackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include <signal.h>

using namespace ovra;

namespace {

int envNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString integrityOf(const QString& path) {
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

} // namespace

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewAlarmsAndSettings) {
    const int kills = envNumber("OVRA_CRASH_KILLS", 100);
    const unsigned seed = unsigned(envNumber("OVRA_CRASH_SEED", int(std::random_device()() >> 1)));
    std::mt19937 random(seed);
    // Long enough for the writer to start, create the store and save a few dozen
    // generations; short enough that many kills land in the first saves.
    std::uniform_int_distribution<int> delayUs(0, 80000);

    test::TestHome home;
    const QString folder = home.path() + QStringLiteral("/data/Tamrel/Ovra Clock");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString alarmFile = folder + u'/' + test::kCrashClock + QStringLiteral(".cfg");
    const QString store = home.storePath();

    qint64 alarms = 0, settings = 0; // the generations on disk; 0 is "nothing saved"
    int killsBeforeAnySave = 0, newAlarms = 0, newSettings = 0;
    qint64 saves = 0;
    for (int k = 0; k < kills; ++k) {
        const qint64 first = std::max(alarms, settings) + 1;
        QProcess writer;
        writer.start(QStringLiteral(CRASH_WRITER), {store, alarmFile, QString::number(first)});
        ASSERT_TRUE(writer.waitForStarted(5000));
        QThread::usleep(delayUs(random));
        ::kill(pid_t(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(5000));
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit)
            << "the writer stopped by itself (seed " << seed
            << "): " << writer.readAllStandardError().toStdString();

        const QList<QByteArray> lines = writer.readAllStandardOutput().split('\n');
        qint64 acked = 0;
        for (const QByteArray& line : lines)
            if (!line.isEmpty())
                acked = line.toLongLong();
        if (acked == 0)
            ++killsBeforeAnySave;
        else
            saves += acked - first + 1;
        const qint64 oldAlarms = acked ? acked : alarms;
        const qint64 oldSettings = acked ? acked : settings;
        const qint64 next = acked ? acked + 1 : first;

        const auto alarmsNow = test::alarmGenerationOf(readFile(alarmFile), {oldAlarms, next});
        ASSERT_TRUE(alarmsNow) << "kill " << k << " (seed " << seed << "): the alarm file is "
                               << "neither generation " << oldAlarms << " nor " << next;
        // Opening a store creates it: look only once the writer has, so kills while
        // it creates the store stay part of the run.
        std::optional<qint64> settingsNow = 0;
        if (QFile::exists(store)) {
            SqliteStoreBackend backend(store);
            KeyStore store(backend);
            settingsNow = test::settingsGenerationOf(store);
        }
        ASSERT_TRUE(settingsNow == oldSettings || settingsNow == next)
            << "kill " << k << " (seed " << seed << "): the settings are neither generation "
            << oldSettings << " nor " << next;
        // The writer saves the alarms first: new settings with old alarms cannot be.
        ASSERT_FALSE(*settingsNow == next && *alarmsNow != next) << "kill " << k;
        if (QFile::exists(store)) {
            ASSERT_EQ(integrityOf(store), QStringLiteral("ok")) << "kill " << k;
        }
        newAlarms += *alarmsNow == next;
        newSettings += *settingsNow == next;
        alarms = *alarmsNow;
        settings = *settingsNow;
    }

    // Nothing but the alarm file is left next to it, except that a kill in the
    // instant between naming the finished temporary file and renaming it over the
    // old one leaves that complete copy behind under its temporary name.
    const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(test::kCrashClock) + QStringLiteral("\\.cfg\\.[A-Za-z0-9]{6}")));
    int leftovers = 0;
    for (const QString& file : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (file == QFileInfo(alarmFile).fileName())
            continue;
        EXPECT_TRUE(temporary.match(file).hasMatch()) << qPrintable(file);
        ++leftovers;
    }
    std::printf("%d kills (seed %u): %lld complete saves, %d kills before the first save; the "
                "next alarm file was found after %d kills, the next settings after %d; %d "
                "temporary copies left\n",
                kills, seed, saves, killsBeforeAnySave, newAlarms, newSettings, leftovers);
}
