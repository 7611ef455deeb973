// Eight processes add and remove clocks and write settings in one store at once:
// the list ends with exactly the clocks they kept, each with the settings its
// writer stored last, and no process met an error a user would have seen.
//
// OVRA_CONCURRENCY_SECONDS sets how long the processes run (4 here;
// bench/concurrency.sh runs them for a minute).
#include "support/testenv.h"

#include "settings/clocklist.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace ovra;

TEST(StoreConcurrency, EightProcessesKeepEveryClockAndItsLastSettings) {
    constexpr int kProcesses = 8;
    bool ok = false;
    double seconds = qEnvironmentVariable("OVRA_CONCURRENCY_SECONDS").toDouble(&ok);
    if (!ok || seconds <= 0)
        seconds = 4;
    test::TestHome home;
    const QString autostart = home.path() + QStringLiteral("/config/autostart");

    std::vector<std::unique_ptr<QProcess>> workers;
    for (int w = 0; w < kProcesses; ++w) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(STORE_WORKER),
                 {home.storePath(), autostart, QString::number(w), QString::number(seconds)});
        workers.push_back(std::move(p));
    }
    QMap<QString, int> expected;
    int adds = 0, removes = 0, writes = 0, loads = 0;
    const QRegularExpression counts(
        QStringLiteral("adds (\\d+) removes (\\d+) writes (\\d+) loads (\\d+) problems (\\d+)"));
    for (auto& p : workers) {
        ASSERT_TRUE(p->waitForFinished(int(seconds * 1000) + 60000));
        const QStringList lines = QString::fromUtf8(p->readAllStandardOutput()).split(u'\n');
        EXPECT_EQ(p->exitCode(), 0) << qPrintable(lines.join(u'\n'));
        ASSERT_GE(lines.size(), 2);
        for (const QString& entry : lines[0].mid(5).split(u' ', Qt::SkipEmptyParts))
            expected.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1).toInt());
        const auto m = counts.match(lines[1]);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(lines[1]);
        adds += m.captured(1).toInt();
        removes += m.captured(2).toInt();
        writes += m.captured(3).toInt();
        loads += m.captured(4).toInt();
    }

    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    QStringList listed = parseClockList(store.readText(kClockListKey, kClockListValue));
    ASSERT_EQ(listed.takeFirst(), QStringLiteral("Default"));
    listed.sort();
    EXPECT_EQ(listed, expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(store.readInteger(clockKeyPath(it.key()), QStringLiteral("ClockRadius")),
                  it.value())
            << qPrintable(it.key());
    // The removed clocks left no settings behind: only the kept clocks, Default and
    // the list remain as keys below the program's key.
    int keys = 0;
    for (int w = 0; w < kProcesses; ++w)
        for (int i = 0; i < adds; ++i) {
            const KeyPath key = splitKeyPath(clockKeyPath(QStringLiteral("w%1c%2").arg(w).arg(i)));
            if (backend.keyExists(key.root, key.subKey))
                ++keys;
        }
    EXPECT_EQ(keys, expected.size());
    std::printf("%d processes for %.0f s: %d clocks added, %d removed, %d settings written, %d "
                "list loads; %lld clocks kept\n",
                kProcesses, seconds, adds, removes, writes, loads, qlonglong(expected.size()));
}
