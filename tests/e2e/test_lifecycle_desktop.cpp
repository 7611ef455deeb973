// Start-up and shutdown of the real clock when its surroundings are hostile: a
// termination signal during a start-up message box, a store another program keeps
// locked.
#include "settings/autorun.h"
#include "settings/clocklist.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace ovra;
using namespace ovra::test;

namespace {

const QString kMessageCaption = QStringLiteral("Ovra Clock");

// A record unlike a new clock's in every value that a lost record would show.
ClockState storedRecord(const QString& name) {
    ClockState state;
    state.clockName = name;
    state.settings = defaultSettings();
    state.settings.Enable = 1;
    state.settings.TimeZoneIndex = 80;
    state.settings.ClockRadius = 60;
    state.settings.Autorun = 1; // no autostart entry
    state.settings.SecondCircleColor = 0x123456;
    return state;
}

// A listed clock and its record, as adding it and a run of it leave them.
void store(const TestHome& home, const ClockState& state) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    ASSERT_EQ(store.writeText(kClockListKey, kClockListValue, u'{' + state.clockName + u'}'), 0);
    ASSERT_EQ(writeClockSettings(store, state), 0);
}

QString dataFolder(const TestHome& home) {
    return home.path() + QStringLiteral("/data/Tamrel/Ovra Clock/");
}

QString autostartEntry(const TestHome& home, const QString& name) {
    return Autorun::entryFilePath(home.path() + QStringLiteral("/config/autostart"), name);
}

} // namespace

// The alarm file cannot be read, so a message box is open before the settings are
// loaded; SIGTERM then must end the process without storing anything.
TEST(LifecycleOnTheDesktop, TerminationDuringAStartUpMessageEndsWithoutWriting) {
    TestHome home;
    PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    const QString name = QStringLiteral("Tokyo");
    store(home, storedRecord(name));
    ASSERT_TRUE(QDir().mkpath(dataFolder(home) + name + QStringLiteral(".cfg")));

    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {name});
    ASSERT_TRUE(waitFor([&] { return !windowNamed(kMessageCaption).isEmpty(); }, 15000))
        << "no start-up message";
    clock.process.terminate();
    EXPECT_TRUE(clock.process.waitForFinished(5000)) << "the process did not end";

    const ClockSettings after = storedClockSettings(home, name);
    EXPECT_EQ(after.TimeZoneIndex, 80);
    EXPECT_EQ(after.ClockRadius, 60);
    EXPECT_EQ(after.Autorun, 1);
    EXPECT_EQ(after.SecondCircleColor, 0x123456);
    EXPECT_FALSE(QFile::exists(autostartEntry(home, name)));
}

// Another program holds the store exclusively while the clock starts, longer than
// one access waits for it: the clock must not take itself for a new clock.
TEST(LifecycleOnTheDesktop, AStoreLockedAtStartUpKeepsTheStoredRecord) {
    TestHome home;
    PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    const QString name = QStringLiteral("Tokyo");
    store(home, storedRecord(name));

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(home.storePath()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "SELECT count(*) FROM vals;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {name});
    QThread::sleep(5);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    const QString caption = QStringLiteral("Ovra Clock {%1}").arg(name);
    ASSERT_TRUE(waitFor([&] { return !windowNamed(caption).isEmpty(); }, 20000));
    clock.process.terminate();
    ASSERT_TRUE(clock.process.waitForFinished(10000));

    const ClockSettings after = storedClockSettings(home, name);
    EXPECT_EQ(after.TimeZoneIndex, 80);
    EXPECT_EQ(after.ClockRadius, 60);
    EXPECT_EQ(after.SecondCircleColor, 0x123456);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
