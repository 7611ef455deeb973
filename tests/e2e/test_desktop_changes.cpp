// The real clock when the desktop changes under it: the display goes away, the
// window manager dies, a second monitor comes and goes, the scale doubles.
#include "settings/autorun.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"
#include "support/x11probe.h"

#include <QFile>
#include <QImage>
#include <QThread>

#include <gtest/gtest.h>

using namespace ovra;
using namespace ovra::test;

namespace {

const QString kCaption = QStringLiteral("Ovra Clock {Default}");

// Press on the grip of a clock standing at `area`, drag to put its grip at `to`.
void dragByGrip(QRect area, QPoint to) {
    const QPoint grip(area.width() - 11, 70 * area.width() / 246);
    pointTo(area.topLeft() + QPoint(area.width() / 2, area.height() / 2));
    pointTo(area.topLeft() + grip);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(150);
    for (int i = 1; i <= 4; ++i)
        pointTo(area.topLeft() + grip + (to - area.topLeft() - grip) * i / 4, 80);
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QThread::msleep(400);
}

QString waitForClock() {
    QString window;
    waitFor([&] { return !windowNamed(kCaption).isEmpty(); }, 10000);
    QThread::msleep(500);
    waitFor(
        [&] {
            window = windowNamed(kCaption);
            return !window.isEmpty() && !window.contains(u'\n');
        },
        5000);
    return window;
}

ClockSettings storedAt(QPoint px, int monitor = 0) {
    ClockSettings s = defaultSettings();
    s.position = px;
    s.monitor = monitor;
    return s;
}

} // namespace

TEST(DesktopChanges, NothingTheUserSetIsLostWhenTheDisplayGoesAway) {
    TestHome home;
    storeClockSettings(home, storedAt({300, 200}));
    const QString entry = Autorun::entryFilePath(home.path() + QStringLiteral("/config/autostart"),
                                                 QStringLiteral("Default"));
    QRect moved;
    {
        PrivateDesktop desktop(DesktopOptions{.session = Session::Openbox});
        ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
        const QString errors = home.path() + QStringLiteral("/clock.log");
        ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {}, {}, errors);
        const QString window = waitForClock();
        ASSERT_FALSE(window.isEmpty());
        dragByGrip(geometryOf(window), QPoint(835, 470));
        moved = geometryOf(window);
        ASSERT_EQ(moved.topLeft(), QPoint(835 - 235, 470 - 70));
        pressKeys({QStringLiteral("Escape"), QStringLiteral("Next")}); // topmost, scale off
        QThread::msleep(300);
        // Written at start-up; removed here, so only the exit can bring it back.
        ASSERT_TRUE(QFile::exists(entry)) << "the start-up did not write the autostart entry";
        ASSERT_TRUE(QFile::remove(entry));

        desktop.stopServer();
        ASSERT_TRUE(clock.process.waitForFinished(10000)) << "the clock outlived its display";
        QFile log(errors);
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_TRUE(log.readAll().contains("The connection to the display was lost"));
    }
    const ClockSettings saved = storedClockSettings(home);
    EXPECT_EQ(saved.position.x(), moved.x());
    EXPECT_EQ(saved.position.y(), moved.y());
    EXPECT_TRUE(saved.alwaysOnTop);
    EXPECT_FALSE(saved.showScale);
    EXPECT_TRUE(QFile::exists(entry)) << "the autostart entry was not written";

    // On the next display the clock stands where it was left, on top.
    PrivateDesktop again(DesktopOptions{.session = Session::Openbox});
    ASSERT_TRUE(again.ok()) << qPrintable(again.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    const QString window = waitForClock();
    ASSERT_FALSE(window.isEmpty());
    EXPECT_EQ(geometryOf(window), moved);
    EXPECT_TRUE(x11::windowState(window.toUInt()).contains(u"_NET_WM_STATE_ABOVE"));
    clock.process.terminate();
    EXPECT_TRUE(clock.endsWithin(5000));
}

TEST(DesktopChanges, AClockOutlivesItsWindowManagerAndThenFollowsThePointer) {
    TestHome home;
    storeClockSettings(home, storedAt({300, 200}));
    PrivateDesktop desktop(DesktopOptions{.session = Session::Openbox});
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    const QString window = waitForClock();
    ASSERT_FALSE(window.isEmpty());

    desktop.stopWindowManager();
    ASSERT_TRUE(clock.process.waitForStarted(1000));
    EXPECT_FALSE(clock.process.waitForFinished(1000)) << "the clock went with its window manager";
    // The window manager's move is still announced on the root window, but nobody
    // is there to do it: the clock follows the pointer itself.
    dragByGrip(geometryOf(window), QPoint(735, 370));
    const QRect moved = geometryOf(window);
    EXPECT_EQ(moved.topLeft(), QPoint(735 - 235, 370 - 70));
    clock.process.terminate();
    ASSERT_TRUE(clock.endsWithin(5000));
    EXPECT_EQ(storedClockSettings(home).position.x(), moved.x());
}

TEST(DesktopChanges, AClockOnTheSecondMonitorComesBackThereOrOnTheFirstWhenItIsGone) {
    TestHome home;
    storeClockSettings(home, storedAt({300, 200}));
    QRect onSecond;
    {
        PrivateDesktop desktop(
            DesktopOptions{.session = Session::Openbox, .secondWidth = 1024, .secondHeight = 768});
        ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
        ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
        const QString window = waitForClock();
        ASSERT_FALSE(window.isEmpty());
        dragByGrip(geometryOf(window), QPoint(1280 + 600, 300));
        onSecond = geometryOf(window);
        EXPECT_EQ(onSecond.topLeft(), QPoint(1280 + 600 - 235, 300 - 70));
        clock.process.terminate();
        ASSERT_TRUE(clock.endsWithin(5000));
        EXPECT_EQ(storedClockSettings(home).monitor, 1);

        ClockProcess again(QStringLiteral(OVRA_CLOCK_BIN));
        const QString back = waitForClock();
        EXPECT_EQ(geometryOf(back), onSecond);
        again.process.terminate();
        ASSERT_TRUE(again.endsWithin(5000));
    }
    // The second monitor is gone: the clock starts on the first, in full view.
    PrivateDesktop single(DesktopOptions{.session = Session::Openbox});
    ASSERT_TRUE(single.ok()) << qPrintable(single.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    const QString window = waitForClock();
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(geometryOf(window)))
        << geometryOf(window).x() << "," << geometryOf(window).y();
    clock.process.terminate();
    EXPECT_TRUE(clock.endsWithin(5000));
}

TEST(DesktopChanges, AtTwiceTheScaleTheClockIsTwiceTheSizeCrispAndShapedAsDrawn) {
    TestHome home;
    storeClockSettings(home, storedAt({100, 100}));
    PrivateDesktop desktop(DesktopOptions{.session = Session::Openbox});
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {}, {QStringLiteral("QT_SCALE_FACTOR=2")},
                       {});
    const QString window = waitForClock();
    ASSERT_FALSE(window.isEmpty());
    const QRect area = geometryOf(window);
    ASSERT_EQ(area.size(), QSize(492, 492));
    EXPECT_EQ(area.topLeft(), QPoint(200, 200)); // the same density: the same place

    // The shape follows the dial in device pixels.
    pointTo(QPoint(5, 5), 400);
    QRegion shape;
    for (const QRect& r : x11::boundingShape(window.toUInt()))
        shape += r;
    EXPECT_TRUE(shape.contains(QPoint(246, 246)));
    EXPECT_TRUE(shape.contains(QPoint(246, 44)));
    EXPECT_FALSE(shape.contains(QPoint(8, 8)));
    EXPECT_FALSE(shape.contains(QPoint(470, 60))); // the strip, hidden
    // The pointer meets the strip where it is drawn.
    pointTo(area.topLeft() + QPoint(246, 246));
    pointTo(area.topLeft() + QPoint(470, 60));
    EXPECT_TRUE(x11::windowsUnderPointer().contains(window.toUInt()));

    // Crisp: drawn at the device resolution, not a doubled small picture, whose
    // pixels would come in identical pairs.
    const QString file = home.path() + QStringLiteral("/shot.png");
    runProgram(QStringLiteral("import"),
               {QStringLiteral("-window"), window, QStringLiteral("+repage"), file});
    const QImage shot = QImage(file).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(492, 492));
    int unequalPairs = 0;
    for (int y = 200; y < 300; ++y)
        for (int x = 150; x < 340; x += 2)
            unequalPairs += shot.pixel(x, y) != shot.pixel(x + 1, y);
    EXPECT_GT(unequalPairs, 300) << unequalPairs;
    clock.process.terminate();
    EXPECT_TRUE(clock.endsWithin(5000));
}
