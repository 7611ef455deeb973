// The settings dialog of the real clock on a private X server, driven with the
// pointer and the keyboard as a user would.
#include "settings/clocksettings.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/screenshot.h"
#include "support/testenv.h"
#include "support/x11probe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QThread>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>

using namespace ovra;
using namespace ovra::test;

namespace {

const QString kClockCaption = QStringLiteral("Ovra Clock {Default}");
const QString kDialogCaption = QStringLiteral("Ovra Clock Configuration - Default");

void focus(const QString& window) {
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    QThread::msleep(200);
}

// The clock's window once it is shown; empty when it does not come.
QString clockWindow() {
    QString window;
    waitFor([&] { return !(window = windowNamed(kClockCaption)).isEmpty(); }, 10000);
    return window;
}

// The settings dialog opened with Page Up on the clock; empty when none opens.
QString openSettings(const QString& clock) {
    focus(clock);
    pressKeys({QStringLiteral("Prior")});
    QString dialog;
    waitFor([&] { return !(dialog = windowNamed(kDialogCaption)).isEmpty(); }, 5000);
    return dialog;
}

ClockState storedDefault(const test::TestHome& home) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    ClockState state;
    state.clockName = QStringLiteral("Default");
    readClockSettings(store, state);
    return state;
}

} // namespace

TEST(SettingsOnTheDesktop, ALargerRadiusAppliedGrowsTheClockAroundItsCorner) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    {
        SqliteStoreBackend backend(home.storePath());
        KeyStore store(backend);
        ClockState state;
        state.clockName = QStringLiteral("Default");
        state.settings = defaultSettings();
        state.settings.Left = 300 * 15; // twips
        state.settings.Top = 200 * 15;
        ASSERT_EQ(writeClockSettings(store, state), 0);
    }
    const QRect area(300, 200, 246, 246);

    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = windowNamed(kClockCaption)).isEmpty(); }, 10000));
    ASSERT_EQ(geometryOf(window), area);

    // The settings button: the strip's middle cell, shown once the pointer is on the dial.
    pointTo(area.topLeft() + QPoint(123, 123));
    pointTo(area.topLeft() + QPoint(235, 52));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QString dialog;
    ASSERT_TRUE(waitFor([&] { return !(dialog = windowNamed(kDialogCaption)).isEmpty(); }, 5000))
        << "the settings button opened no dialog";

    // From the tab strip: the appearance page, down to the radius, 60, back up to
    // "Apply" and press it.
    focus(dialog);
    pressKeys({QStringLiteral("Right"), QStringLiteral("Tab"), QStringLiteral("Tab"),
               QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("60")});
    QStringList back(6, QStringLiteral("shift+Tab"));
    pressKeys(back);
    pressKeys({QStringLiteral("space")});

    // 12 more pixels of radius: 24 more of width and height, the top-left corner kept.
    const QRect grown(300, 200, 270, 270);
    EXPECT_TRUE(waitFor([&] { return geometryOf(window) == grown; }, 5000))
        << "geometry after apply: "
        << qPrintable(xdotool({QStringLiteral("getwindowgeometry"), window}));
    EXPECT_EQ(storedDefault(home).settings.ClockRadius, 60);
    EXPECT_FALSE(windowNamed(kDialogCaption).isEmpty()) << "Apply keeps the dialog open";

    // Escape closes the dialog and applies nothing more; Page Up on the clock opens it again.
    focus(dialog);
    pressKeys({QStringLiteral("Escape")});
    EXPECT_TRUE(waitFor([&] { return windowNamed(kDialogCaption).isEmpty(); }, 5000));
    focus(window);
    pressKeys({QStringLiteral("Prior")});
    EXPECT_TRUE(waitFor([&] { return !windowNamed(kDialogCaption).isEmpty(); }, 5000))
        << "Page Up opened no dialog";

    clock.process.terminate();
    EXPECT_TRUE(clock.process.waitForFinished(5000));
    EXPECT_EQ(storedDefault(home).settings.ClockRadius, 60);
}

// On a computer in Chatham, whose offsets no row of the zone list keeps, the
// Default clock's dialog offers Chatham first: a clock added there with the
// keyboard shows Chatham's time, not a row's a day behind.
TEST(SettingsOnTheDesktop, AClockAddedForTheComputersZoneShowsItsExactTime) {
    test::TestHome home;
    test::PrivateDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    const QStringList chathamEnv{QStringLiteral("TZ=Pacific/Chatham")};
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {}, chathamEnv,
                       home.path() + QStringLiteral("/default.err"));
    const QString window = clockWindow();
    ASSERT_FALSE(window.isEmpty());
    const QString dialog = openSettings(window);
    ASSERT_FALSE(dialog.isEmpty());
    // From the tab strip to the clocks page and with its access key to the name,
    // which Enter adds in the zone offered first.
    focus(dialog);
    pressKeys({QStringLiteral("Right"), QStringLiteral("Right"), QStringLiteral("alt+n"),
               QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("Islands")});
    pressKeys({QStringLiteral("Return")});

    const QString islands = QStringLiteral("Ovra Clock {Islands}");
    QString added;
    ASSERT_TRUE(waitFor([&] { return !(added = windowNamed(islands)).isEmpty(); }, 10000))
        << "Enter added no clock";
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    EXPECT_EQ(store.readText(clockKeyPath(QStringLiteral("Islands")), kZoneNameValue),
              QStringLiteral("Pacific/Chatham"));

    // The face shows Chatham's wall time, pixel for pixel as drawn for that time.
    const QTimeZone chatham("Pacific/Chatham");
    QRegion shape;
    for (const QRect& r : x11::boundingShape(added.toUInt()))
        shape += r;
    const QSize size = geometryOf(added).size();
    bool matched = false;
    for (int attempt = 0; attempt < 6 && !matched; ++attempt) {
        waitFor([] { return QTime::currentTime().msec() > 300; }, 1000, 5);
        const QDateTime before = QDateTime::currentDateTimeUtc();
        const QImage shown = windowFace(added.toUInt(), size);
        if (shown.isNull() || before.toSecsSinceEpoch() != QDateTime::currentSecsSinceEpoch())
            continue;
        const QDateTime utc = before.addMSecs(-before.time().msec());
        const QDateTime local = QDateTime::fromSecsSinceEpoch(
            utc.toSecsSinceEpoch() + chatham.offsetFromUtc(utc), Qt::UTC);
        for (const QDateTime& at : {local, local.addSecs(-1)})
            matched =
                matched || differingPixels(shown,
                                           renderedFace(QStringLiteral(OVRA_CLOCK_BIN), home.path(),
                                                        QDateTime(at.date(), at.time()),
                                                        QStringLiteral("Islands")),
                                           shape) == 0;
    }
    EXPECT_TRUE(matched) << "the added clock does not show Chatham's time";

    runProgram(QStringLiteral(OVRA_CLOCK_BIN),
               {QStringLiteral("--stop"), QStringLiteral("Islands")});
    clock.process.terminate();
    EXPECT_TRUE(clock.process.waitForFinished(5000));
}

// Every window carries the program's icon, so taskbars, title bars and Alt+Tab show
// it rather than a generic one; so does a clock run from the build tree.
TEST(SettingsOnTheDesktop, EveryWindowCarriesTheProgramsIcon) {
    test::TestHome home;
    test::PrivateDesktop desktop(DesktopOptions{.session = Session::Openbox});
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    const QString window = clockWindow();
    ASSERT_FALSE(window.isEmpty());
    const QString dialog = openSettings(window);
    ASSERT_FALSE(dialog.isEmpty());
    for (const QString& w : {window, dialog}) {
        QByteArray icon;
        runProgram(QStringLiteral("xprop"),
                   {QStringLiteral("-id"), w, QStringLiteral("_NET_WM_ICON")}, 5000, &icon);
        // The property lists each picture as width, height and its pixels.
        EXPECT_TRUE(icon.contains("Icon (16 x 16)") || icon.contains("= 16, 16,"))
            << qPrintable(xdotool({QStringLiteral("getwindowname"), w})) << ": "
            << icon.left(200).constData();
    }
    clock.process.terminate();
    EXPECT_TRUE(clock.process.waitForFinished(5000));
}

// The dialog opens beside a clock at the top of the screen with its whole frame on
// the work area, title bar included, every time: placed by its frame, which the
// window manager makes known only around the time it maps the window.
TEST(SettingsOnTheDesktop, TheDialogsTitleBarIsOnTheScreenEveryTime) {
    // Scale 2 is what a screen of twice the pixels asks for.
    for (const char* scale : {"1", "2"}) {
        SCOPED_TRACE(scale);
        const int factor = scale[0] - '0';
        test::TestHome home;
        test::PrivateDesktop desktop(DesktopOptions{
            .session = Session::Openbox, .width = 1280 * factor, .height = 800 * factor});
        ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
        ClockSettings s = defaultSettings();
        s.Left = 600 * 15;
        s.Top = 0;
        storeClockSettings(home, s);
        ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN), {},
                           {QStringLiteral("QT_SCALE_FACTOR=") + QLatin1String(scale)},
                           home.path() + QStringLiteral("/clock.err"));
        const QString window = clockWindow();
        ASSERT_FALSE(window.isEmpty());
        int above = 0;
        for (int open = 0; open < 20; ++open) {
            const QString dialog = openSettings(window);
            ASSERT_FALSE(dialog.isEmpty());
            QThread::msleep(400); // framed and placed again by its frame
            const QRect frame = x11::frameGeometry(dialog.toUInt());
            if (frame.top() < 0)
                ++above;
            focus(dialog);
            pressKeys({QStringLiteral("Escape")});
            ASSERT_TRUE(waitFor([&] { return windowNamed(kDialogCaption).isEmpty(); }, 5000));
        }
        EXPECT_EQ(above, 0) << "opens with the title bar above the screen";
        clock.process.terminate();
        EXPECT_TRUE(clock.process.waitForFinished(5000));
    }
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
