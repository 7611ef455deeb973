// Several processes add and remove clocks at the same moment; every change must
// survive, none may come back.
#include "settings/clocklist.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/testenv.h"

#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ovra;

TEST(ClockListConcurrency, EightProcessesChangingTheListLoseNothing) {
    constexpr int kWorkers = 8;
    constexpr int kClocksEach = 50;
    test::TestHome home;
    const QString autostart = home.path() + QStringLiteral("/config/autostart");
    {
        // Create the store first, so the workers race on the list, not on set-up.
        SqliteStoreBackend backend(home.storePath());
        KeyStore(backend).writeText(kClockListKey, kClockListValue, QString());
    }

    std::vector<std::unique_ptr<QProcess>> workers;
    for (int w = 0; w < kWorkers; ++w) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(CLOCKLIST_WORKER),
                 {home.storePath(), autostart, QString::number(w), QString::number(kClocksEach)});
        workers.push_back(std::move(p));
    }
    for (auto& p : workers) {
        ASSERT_TRUE(p->waitForFinished(90000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
    }

    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    const QStringList listed = parseClockList(store.readText(kClockListKey, kClockListValue));
    QStringList expected{QStringLiteral("Default")};
    for (int w = 0; w < kWorkers; ++w)
        for (int i = 0; i < kClocksEach; i += 10)
            expected << QStringLiteral("w%1c%2").arg(w).arg(i);
    EXPECT_EQ(listed.size(), expected.size()) << qPrintable(listed.join(u','));
    EXPECT_EQ(QSet<QString>(listed.cbegin(), listed.cend()),
              QSet<QString>(expected.cbegin(), expected.cend()));

    for (int w = 0; w < kWorkers; ++w) {
        for (int i = 0; i < kClocksEach; ++i) {
            const QString name = QStringLiteral("w%1c%2").arg(w).arg(i);
            const KeyPath key = splitKeyPath(clockKeyPath(name));
            const bool kept = i % 10 == 0;
            EXPECT_EQ(backend.keyExists(key.root, key.subKey), kept) << qPrintable(name);
            if (kept) {
                EXPECT_EQ(store.readInteger(clockKeyPath(name), QStringLiteral("TimeZoneIndex")),
                          i % 97);
            }
        }
    }
}
