#include "app/clockapp.h"
#include "settings/clocklist.h"
#include "settings/sqlitestorebackend.h"
#include "support/hostfakes.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

using test::RecordingHosts;

struct Process {
    explicit Process(test::TestHome& home,
                     const QTimeZone& zone = QTimeZone(QByteArray("Asia/Tokyo")))
        : backend(home.storePath()), store(backend),
          time(QDateTime(QDate(2026, 7, 1), QTime(3, 0), Qt::UTC), zone),
          app({store, messages, time}, home.roots()) {}
    SqliteStoreBackend backend;
    KeyStore store;
    test::RecordingMessageSink messages;
    FixedTimeSource time;
    ClockApp app;
};

// A clock over the store in memory, whose reads can be made to fail.
struct MemoryProcess {
    // patienceMs: how long start-up keeps trying a store that does not answer.
    explicit MemoryProcess(int patienceMs = 0)
        : time(QDateTime(QDate(2026, 7, 1), QTime(3, 0), Qt::UTC), QTimeZone("Asia/Tokyo")),
          app({store, messages, time, patienceMs}, home.roots()) {
        app.setWindowHost(&hosts);
        app.setAlarmHost(&hosts);
        app.setAutorunHost(&hosts);
    }
    // Tokyo as stored before: listed, zone row 5, radius 60, no autostart entry.
    void storeTokyo() {
        store.writeText(kClockListKey, kClockListValue, QStringLiteral("{Tokyo}"));
        ClockState s;
        s.clockName = QStringLiteral("Tokyo");
        s.settings = defaultSettings();
        s.settings.timeZoneRow = 5;
        s.settings.radius = 60;
        s.settings.startAtLogin = false;
        ASSERT_EQ(writeClockSettings(store, s), StoreError::None);
    }
    std::optional<int32_t> stored(const char16_t* value) {
        return store.readInteger(clockKeyPath(QStringLiteral("Tokyo")), QString::fromUtf16(value));
    }
    bool autorunSynced() const { return hosts.calls.filter(QStringLiteral("autorun:")).size() > 0; }

    test::TestHome home;
    test::MemoryStoreBackend backend;
    KeyStore store{backend};
    test::RecordingMessageSink messages;
    FixedTimeSource time;
    ClockApp app;
    RecordingHosts hosts;
};

} // namespace

TEST(ClockApp, StartApplyAndShutdownRunInTheirFixedOrder) {
    test::TestHome home;
    Process p(home);
    RecordingHosts hosts;
    p.app.setWindowHost(&hosts);
    p.app.setAlarmHost(&hosts);
    p.app.setAutorunHost(&hosts);

    ASSERT_TRUE(p.app.startClock(QStringLiteral("Default")));
    EXPECT_EQ(hosts.calls.join(u','),
              QStringLiteral("alarms,autorun:yes,resetNotice,load,events,show"));
    hosts.calls.clear();
    p.app.applyClockSettings();
    EXPECT_EQ(hosts.calls.join(u','), QStringLiteral("apply"));
    hosts.calls.clear();
    p.app.settings().startAtLogin = false;
    p.app.shutdownClock(true);
    p.app.shutdownClock(true); // a second request while shutting down does nothing
    EXPECT_EQ(hosts.calls.join(u','), QStringLiteral("autorun:no,closeWindows"));
    EXPECT_TRUE(p.messages.messages.empty());
}

TEST(ClockApp, TokyoKeepsAllTwentyTwoValuesAcrossARestart) {
    test::TestHome home;
    ClockSettings changed;
    {
        Process p(home);
        ASSERT_TRUE(p.app.startClock(QStringLiteral("Tokyo")));
        EXPECT_EQ(p.app.settings().radius, 48);
        ClockSettings& s = p.app.settings();
        s.timeZoneRow = 81;
        s.timeStandard = TimeStandard::DaylightSaving;
        s.monitor = 1;
        s.startAtLogin = false;
        s.position = QPoint(-200, 100);
        s.alwaysOnTop = true;
        s.showScale = false;
        s.hourMode = HourMode::TwentyFourHour;
        s.hourRingWidth = 10;
        s.minuteRingWidth = 50;
        s.secondRingWidth = 33;
        s.radius = 128;
        s.opacityStep = 6;
        s.amHourColor = QColor::fromRgba(0x80112233u);
        s.pmHourColor = QColor::fromRgba(0xFF445566u);
        s.minuteColor = QColor::fromRgba(0x00FFFFFF);
        s.secondColor = QColor::fromRgba(0xFFFFFFFEu);
        s.timeTextColor = QColor::fromRgba(1);
        s.dateTextColor = QColor::fromRgba(0xFF777777u);
        s.scaleColor = QColor::fromRgba(0x12345678);
        changed = s;
        p.app.shutdownClock(true);
    }
    Process again(home);
    ASSERT_TRUE(again.app.startClock(QStringLiteral("Tokyo")));
    changed.enabled = true;
    EXPECT_EQ(again.app.settings(), changed);
    EXPECT_EQ(again.app.state().zoneOffsetMinutes, 540);
}

TEST(ClockApp, ShutdownWithoutSavingWritesNothing) {
    test::TestHome home;
    Process p(home);
    ASSERT_TRUE(p.app.startClock(QStringLiteral("Gone")));
    p.app.settings().radius = 100;
    p.app.shutdownClock(false);
    EXPECT_EQ(p.store.readInteger(clockKeyPath(QStringLiteral("Gone")), QStringLiteral("Enable")),
              0);
}

TEST(ClockApp, ApplyStoresWhatTheDialogSetButDrawsWithTheCorrectedValue) {
    test::TestHome home;
    Process p(home);
    ASSERT_TRUE(p.app.startClock(QStringLiteral("Default")));
    p.app.settings().radius = 200;
    p.app.settings().timeZoneRow = 5;
    p.app.applyClockSettings();
    EXPECT_EQ(p.app.settings().radius, 48);
    EXPECT_EQ(
        p.store.readInteger(clockKeyPath(QStringLiteral("Default")), QStringLiteral("ClockRadius")),
        200);
    EXPECT_EQ(p.app.settings().timeZoneRow, 81) << "Default follows the computer: Tokyo's row";
}

TEST(ClockApp, DefaultClockShowsLocalTimeIncludingDaylightSaving) {
    test::TestHome home;
    // 1 July 2026 03:00 UTC is 05:00 in Berlin (CEST, standard offset +60).
    Process p(home, QTimeZone(QByteArray("Europe/Berlin")));
    ASSERT_TRUE(p.app.startClock(QStringLiteral("Default")));
    EXPECT_EQ(p.app.state().computerOffsetMinutes, 60);
    EXPECT_EQ(p.app.settings().timeZoneRow, 37);
    EXPECT_EQ(p.app.model().clockTimeNow().time(), QTime(5, 0));
}

// The settings in memory are written back only when they are the stored record.
TEST(ClockApp, ShutdownWritesBackOnlyARecordThatWasReallyLoaded) {
    const struct {
        const char* what;
        int readsToFail;         // reads of the record that fail before the store answers
        bool abandonDuringStart; // a termination request while a start-up message is open
        bool deletedWhileRunning;
        bool written;
    } cases[] = {
        {"loaded", 0, false, false, true},
        {"loaded once the store answered again", 3, false, false, true},
        {"store never readable", 1000000, false, false, false},
        {"ended during start-up", 0, true, false, false},
        {"deleted while it ran", 0, false, true, false},
    };
    for (const auto& c : cases) {
        // A store that never answers is given up on at once; the others are waited for.
        MemoryProcess p(c.readsToFail > 1000 ? 0 : 60000);
        p.storeTokyo();
        p.backend.readsToFail = c.readsToFail;
        if (c.abandonDuringStart)
            p.hosts.duringAlarmLoad = [&] {
                p.app.abandonStart();
            };
        const bool up = p.app.startClock(QStringLiteral("Tokyo"));
        p.backend.readsToFail = 0;
        EXPECT_EQ(up, !c.abandonDuringStart) << c.what;
        // The entry follows the record from the start, but only a record really read.
        EXPECT_EQ(p.autorunSynced(), c.readsToFail < 1000 && !c.abandonDuringStart) << c.what;
        p.hosts.calls.clear();
        if (c.deletedWhileRunning)
            p.store.writeText(kClockListKey, kClockListValue, QString());
        p.app.settings().radius = 100;
        p.app.settings().timeZoneRow = 7;
        p.app.shutdownClock(true);

        EXPECT_EQ(p.stored(u"ClockRadius"), c.written ? 100 : 60) << c.what;
        EXPECT_EQ(p.stored(u"TimeZoneIndex"), c.written ? 7 : 5) << c.what;
        EXPECT_EQ(p.autorunSynced(), c.written) << c.what;
    }
}

// Waiting helps a store that another program keeps locked, not a damaged one.
TEST(ClockApp, OnlyALockedStoreIsWaitedFor) {
    const struct {
        const char* what;
        int failure;
        int readsToFail;
        bool loaded;
    } cases[] = {
        {"locked, then free", status::Busy, 5, true},
        {"damaged", status::StoreCorrupt, 1000000, false},
        {"cannot be read", status::CannotRead, 1000000, false},
    };
    for (const auto& c : cases) {
        MemoryProcess p(600000);
        p.storeTokyo();
        p.backend.readFailure = c.failure;
        p.backend.readsToFail = c.readsToFail;
        p.backend.readAttempts = 0;
        ASSERT_TRUE(p.app.startClock(QStringLiteral("Tokyo"))) << c.what;
        EXPECT_EQ(p.app.recordLoaded(), c.loaded) << c.what;
        if (!c.loaded) {
            // Given up at the first refusal, not after the whole wait.
            EXPECT_LE(p.backend.readAttempts, 2) << c.what;
        }
        EXPECT_EQ(p.messages.messages.size(), c.loaded ? 0u : 1u) << c.what;
    }
}

TEST(ClockApp, AnUnreadableStoreShowsDefaultsAndSaysItWillNotSaveThem) {
    MemoryProcess p;
    p.storeTokyo();
    p.backend.readsToFail = 1000000;
    ASSERT_TRUE(p.app.startClock(QStringLiteral("Tokyo")));
    EXPECT_FALSE(p.app.recordLoaded());
    EXPECT_EQ(p.app.settings().radius, defaultSettings().radius);
    EXPECT_EQ(p.app.settings().timeZoneRow, 81) << "the computer's zone, as for a new clock";
    ASSERT_EQ(p.messages.messages.size(), 1u);
    EXPECT_TRUE(p.messages.messages[0].text.contains(QStringLiteral("does not save them")));

    // Applying from the dialog is the user's choice: it stores what the dialog shows,
    // and from then on the shutdown saves as usual.
    p.backend.readsToFail = 0;
    p.app.settings().radius = 70;
    p.app.applyClockSettings();
    p.app.shutdownClock(true);
    EXPECT_EQ(p.stored(u"ClockRadius"), 70);
}

// Apply with the store kept busy by another program: tried again for as long as
// start-up would wait, then the clock says the settings were not stored, shows them
// and keeps them for the next Apply, which stores them once the store answers.
TEST(ClockApp, ApplyWhileTheStoreIsBusyTriesAgainThenSaysSo) {
    const struct {
        int busyWrites;
        bool stored;
    } cases[] = {{2, true}, {1000000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.busyWrites);
        MemoryProcess p(300);
        p.storeTokyo();
        ASSERT_TRUE(p.app.startClock(QStringLiteral("Tokyo")));
        p.app.settings().radius = 90;
        p.backend.busyWrites = c.busyWrites;
        EXPECT_EQ(p.app.applyClockSettings(), c.stored);
        EXPECT_EQ(p.app.settings().radius, 90) << "the record keeps what the user set";
        EXPECT_EQ(p.stored(u"ClockRadius"), c.stored ? 90 : 60);
        EXPECT_EQ(p.messages.messages.size(), c.stored ? 0u : 1u);
        if (!c.stored) {
            EXPECT_TRUE(
                p.messages.messages.back().text.contains(QStringLiteral("could not be stored")))
                << qPrintable(p.messages.messages.back().text);
        }
        p.backend.busyWrites = 0;
        EXPECT_TRUE(p.app.applyClockSettings());
        EXPECT_EQ(p.stored(u"ClockRadius"), 90);
    }
}
