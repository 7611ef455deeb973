// The real clock on a private X server with a compositor: what a user sees, points
// at, drags and closes, and what the store keeps afterwards.
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/screenshot.h"
#include "support/testenv.h"
#include "support/x11probe.h"
#include "time/zonetable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using namespace ovra;
using namespace ovra::test;

namespace {

const QString kCaption = QStringLiteral("Ovra Clock {Default}");

ClockSettings storedSettings(const test::TestHome& home) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    ClockState state;
    state.clockName = QStringLiteral("Default");
    readClockSettings(store, state);
    return state.settings;
}

void storeSettings(const test::TestHome& home, const ClockSettings& s) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    ClockState state;
    state.clockName = QStringLiteral("Default");
    state.settings = s;
    ASSERT_EQ(writeClockSettings(store, state), 0);
}

} // namespace

TEST(ClockOnTheDesktop, ShowsFollowsThePointerMovesByItsGripAndClosesWithItsButton) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockSettings start = defaultSettings();
    start.Left = 300 * 15;
    start.Top = 200 * 15;
    storeSettings(home, start);
    const QRect area(300, 200, 246, 246);

    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = windowNamed(kCaption)).isEmpty(); }, 10000))
        << "no window titled " << qPrintable(kCaption);
    EXPECT_EQ(geometryOf(window), area);
    QThread::msleep(400); // the compositor shows the first frame

    // Corners show the desktop as it is just outside the window; the dial is drawn.
    const QImage around = screenshot(home.path(), area.adjusted(-10, -10, 10, 10));
    ASSERT_EQ(around.size(), QSize(266, 266)) << "no screenshot (is imagemagick installed?)";
    const QRgb desktopColour = around.pixel(3, 3);
    const QImage face = around.copy(10, 10, 246, 246);
    for (const QPoint p : {QPoint(0, 0), QPoint(245, 0), QPoint(0, 245), QPoint(245, 245),
                           QPoint(20, 20), QPoint(235, 50)})
        EXPECT_EQ(face.pixel(p), desktopColour) << p.x() << "," << p.y();
    EXPECT_NE(face.pixel(123, 140), desktopColour);
    // The transparent corners let the pointer through; the dial takes it.
    EXPECT_NE(windowUnderPointer(area.topLeft() + QPoint(5, 5)), window);
    EXPECT_EQ(windowUnderPointer(area.topLeft() + QPoint(123, 123)), window);

    // Onto the dial: the strip appears; onto the close cell: its cross is lit.
    pointTo(area.topLeft() + QPoint(123, 123));
    const QImage plain = screenshot(home.path(), area);
    EXPECT_NE(plain.pixel(229, 25), desktopColour);
    pointTo(area.topLeft() + QPoint(235, 30));
    const QImage lit = screenshot(home.path(), area);
    EXPECT_GT(qRed(lit.pixel(229, 25)), 180);
    EXPECT_LT(qGreen(lit.pixel(229, 25)), 120);

    // Drag by the grip; without a window manager the window follows the pointer.
    pointTo(area.topLeft() + QPoint(235, 70));
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    pointTo(QPoint(600, 350), 100);
    pointTo(QPoint(700, 400), 100);
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QThread::msleep(300);
    const QRect moved(700 - 235, 400 - 70, 246, 246);
    EXPECT_EQ(geometryOf(window), moved);

    pointTo(moved.topLeft() + QPoint(123, 123));
    pointTo(moved.topLeft() + QPoint(235, 30));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(clock.endsWithin(5000)) << "the close button did not end the clock";
    const ClockSettings saved = storedSettings(home);
    EXPECT_EQ(saved.Left, moved.x() * 15);
    EXPECT_EQ(saved.Top, moved.y() * 15);

    // The position survives a restart.
    ClockProcess again(QStringLiteral(OVRA_CLOCK_BIN));
    ASSERT_TRUE(waitFor([&] { return !(window = windowNamed(kCaption)).isEmpty(); }, 10000));
    EXPECT_EQ(geometryOf(window), moved);
    again.process.terminate();
    EXPECT_TRUE(again.endsWithin(5000));
}

TEST(ClockOnTheDesktop, ASessionEndingSignalSavesTheSettings) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    // Stored far off to the right: the clock puts itself back on screen at start.
    ClockSettings start = defaultSettings();
    start.Left = 5000 * 15;
    start.Top = 100 * 15;
    storeSettings(home, start);
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = windowNamed(kCaption)).isEmpty(); }, 10000));
    EXPECT_EQ(geometryOf(window), QRect(1280 - 246, 100, 246, 246));
    clock.process.terminate(); // SIGTERM, as a logout sends it
    ASSERT_TRUE(clock.endsWithin(5000));
    EXPECT_EQ(storedSettings(home).Left, (1280 - 246) * 15);
    EXPECT_EQ(storedSettings(home).Top, 100 * 15);
}

// The window's own pixels, read back from the X server, are what a whole frame of
// the second it shows looks like, seconds after the clock began to redraw only
// what changes. Nothing a user sees may be left over from an earlier second.
TEST(ClockOnTheDesktop, AfterSecondsOfPartialFramesTheWindowHoldsTheWholeFrame) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockSettings s = defaultSettings();
    s.Left = 300 * 15;
    s.Top = 200 * 15;
    s.TimeZoneIndex = zoneIndexForOffset(0); // the test knows the clock's time
    storeSettings(home, s);
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = windowNamed(kCaption)).isEmpty(); }, 10000));
    QThread::msleep(3300);

    const auto wholeFrame = [&](const QDateTime& at) {
        return renderedFace(QStringLiteral(OVRA_CLOCK_BIN), home.path(), at);
    };
    QRegion shape; // outside it the window's pixels are never shown
    for (const QRect& r : x11::boundingShape(window.toUInt()))
        shape += r;
    int compared = 0;
    for (int attempt = 0; attempt < 6 && compared < 2; ++attempt) {
        // Read well inside a second, so the window shows that second or the one before.
        waitFor([] { return QTime::currentTime().msec() > 300; }, 1000, 5);
        const QDateTime before = QDateTime::currentDateTimeUtc();
        const QImage shown = windowFace(window.toUInt(), QSize(246, 246));
        const QDateTime after = QDateTime::currentDateTimeUtc();
        if (before.toSecsSinceEpoch() != after.toSecsSinceEpoch())
            continue;
        ASSERT_FALSE(shown.isNull());
        const QDateTime second = before.addMSecs(-before.time().msec());
        const int sameAsThis = differingPixels(shown, wholeFrame(second), shape);
        const int sameAsLast =
            sameAsThis == 0 ? 0 : differingPixels(shown, wholeFrame(second.addSecs(-1)), shape);
        EXPECT_EQ(std::min(sameAsThis, sameAsLast), 0)
            << "pixels unlike the whole frame of " << qPrintable(second.toString(Qt::ISODate))
            << ": " << sameAsThis << ", of the second before: " << sameAsLast;
        ++compared;
        QThread::msleep(1000);
    }
    EXPECT_EQ(compared, 2);
    clock.process.terminate();
    EXPECT_TRUE(clock.endsWithin(5000));
}

// Every library a process maps costs it private memory for the whole day. An idle
// clock has no use for image format plugins (its one picture is a PNG) nor for the
// audio libraries its sound module brings along on the first alarm.
TEST(ClockOnTheDesktop, AnIdleClockMapsNoLibraryItDoesNotUse) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    ASSERT_TRUE(waitFor([&] { return !windowNamed(kCaption).isEmpty(); }, 10000));
    QThread::msleep(1500);
    QFile maps(QStringLiteral("/proc/%1/maps").arg(clock.process.processId()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QString mapped = QString::fromLocal8Bit(maps.readAll());
    ASSERT_TRUE(mapped.contains(QStringLiteral("libQt6Gui"))); // the right process
    for (const char* unused : {"/imageformats/", "libQt6Multimedia", "ovra-clock-sound"})
        EXPECT_FALSE(mapped.contains(QLatin1String(unused))) << unused;
    clock.process.terminate();
    EXPECT_TRUE(clock.endsWithin(5000));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
