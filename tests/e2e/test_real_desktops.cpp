// The real clock under the window managers and compositors people run: what a user
// clicks through, drags, keeps on top, and where the windows it opens appear.
#include "alarms/alarmfile.h"
#include "alarms/noticetexts.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/screenshot.h"
#include "support/testenv.h"
#include "support/x11probe.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QTime>

#include <gtest/gtest.h>

#include <algorithm>

using namespace ovra;
using namespace ovra::test;

namespace {

const QString kCaption = QStringLiteral("Ovra Clock {Default}");
const QPoint kStored(300, 200);
constexpr int kSide = 246; // the default clock's window

// A window below the clock that reports every button press it gets: xev.
class ClickRecorder {
public:
    explicit ClickRecorder(QRect geometry) {
        m_xev.start(QStringLiteral("xev"), {QStringLiteral("-geometry"),
                                            QStringLiteral("%1x%2+%3+%4")
                                                .arg(geometry.width())
                                                .arg(geometry.height())
                                                .arg(geometry.x())
                                                .arg(geometry.y()),
                                            QStringLiteral("-event"), QStringLiteral("button")});
        m_ok = m_xev.waitForStarted(5000) &&
               waitFor([] { return !windowNamed(QStringLiteral("Event Tester")).isEmpty(); });
        QThread::msleep(300);
    }
    ~ClickRecorder() {
        m_xev.kill();
        m_xev.waitForFinished(3000);
    }
    bool ok() const { return m_ok; }
    int presses() {
        m_xev.waitForReadyRead(100);
        m_output += m_xev.readAllStandardOutput();
        return int(m_output.count("ButtonPress event"));
    }

private:
    QProcess m_xev;
    QByteArray m_output;
    bool m_ok = false;
};

class RealDesktop : public ::testing::TestWithParam<Session> {
protected:
    void SetUp() override {
        m_desktop = std::make_unique<PrivateDesktop>(DesktopOptions{.session = GetParam()});
        ASSERT_TRUE(m_desktop->ok()) << qPrintable(m_desktop->error());
    }
    // The clock, started with debug output of its moves kept in a file.
    std::unique_ptr<ClockProcess> startClock() {
        auto clock = std::make_unique<ClockProcess>(
            QStringLiteral(OVRA_CLOCK_BIN), QStringList{},
            QStringList{QStringLiteral("QT_LOGGING_RULES=ovra.clock.move.debug=true")}, log());
        m_window.clear();
        waitFor([&] { return !windowNamed(kCaption).isEmpty(); }, 10000);
        QThread::msleep(500); // placed, framed and drawn
        // One window by then: Qt may map a fresh native window at the first show.
        waitFor(
            [&] {
                m_window = windowNamed(kCaption);
                return !m_window.isEmpty() && !m_window.contains(u'\n');
            },
            5000);
        return clock;
    }
    QString log() const { return m_home.path() + QStringLiteral("/clock.log"); }
    QString logText() const {
        QFile f(log());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    quint32 clockId() const { return m_window.toUInt(); }

    TestHome m_home;
    std::unique_ptr<PrivateDesktop> m_desktop;
    QString m_window;
};

} // namespace

TEST_P(RealDesktop, ClicksPassTheTransparentCornersTheGripMovesAndTopmostKeepsTheClockOffTaskbars) {
    ClickRecorder below(QRect(0, 0, 900, 700));
    ASSERT_TRUE(below.ok()) << "xev did not come up";
    ClockSettings s = defaultSettings();
    s.Left = kStored.x() * 15;
    s.Top = kStored.y() * 15;
    s.AlwaysOnTop = 1;
    storeClockSettings(m_home, s);
    auto clock = startClock();
    ASSERT_FALSE(m_window.isEmpty()) << "no window titled " << qPrintable(kCaption);
    const QRect area = geometryOf(m_window);
    ASSERT_EQ(area.size(), QSize(kSide, kSide));

    // Topmost from the start, and still out of taskbars and pagers.
    QStringList state = x11::windowState(clockId());
    EXPECT_TRUE(state.contains(u"_NET_WM_STATE_ABOVE")) << qPrintable(state.join(u' '));
    EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_TASKBAR")) << qPrintable(state.join(u' '));
    EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_PAGER")) << qPrintable(state.join(u' '));

    // The corners show the window below, and a click there reaches it. A compositor
    // on a busy machine may not have drawn the window below yet.
    const QList<QPoint> corners{QPoint(2, 2), QPoint(kSide - 3, kSide - 3), QPoint(2, kSide - 3)};
    QImage shot;
    waitFor(
        [&] {
            shot = screenshot(m_home.path(), area);
            return std::all_of(corners.cbegin(), corners.cend(), [&](QPoint p) {
                return shot.valid(p) && shot.pixel(p) == qRgb(255, 255, 255);
            });
        },
        3000);
    ASSERT_EQ(shot.size(), area.size()) << "no screenshot (is imagemagick installed?)";
    for (const QPoint p : corners)
        EXPECT_EQ(shot.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
    EXPECT_NE(shot.pixel(kSide / 2, kSide / 2 + 17), qRgb(255, 255, 255));
    const int before = below.presses();
    pointTo(area.topLeft() + QPoint(4, 4));
    EXPECT_FALSE(x11::windowsUnderPointer().contains(clockId()));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(waitFor([&] { return below.presses() == before + 1; }, 3000))
        << "the click on the transparent corner did not reach the window below";

    // The dial takes the pointer and the click.
    pointTo(area.topLeft() + QPoint(kSide / 2, kSide / 2));
    EXPECT_TRUE(x11::windowsUnderPointer().contains(clockId()));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QThread::msleep(400);
    EXPECT_EQ(below.presses(), before + 1) << "a click on the dial went through it";

    // Escape, twice: out of the topmost band and back, off the taskbar throughout.
    for (const bool above : {false, true}) {
        pressKeys({QStringLiteral("Escape")});
        const bool changed = waitFor(
            [&] { return x11::windowState(clockId()).contains(u"_NET_WM_STATE_ABOVE") == above; },
            3000);
        state = x11::windowState(clockId());
        EXPECT_TRUE(changed) << above << ": " << qPrintable(state.join(u' '));
        EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_TASKBAR")) << qPrintable(state.join(u' '));
        EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_PAGER")) << qPrintable(state.join(u' '));
    }

    // The grip hands the move to the window manager; the drop is kept at once.
    pointTo(area.topLeft() + QPoint(235, 70));
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QThread::msleep(150);
    const QPoint drop(760, 420);
    for (int i = 1; i <= 4; ++i)
        pointTo(area.topLeft() + QPoint(235, 70) +
                    (drop - area.topLeft() - QPoint(235, 70)) * i / 4,
                80);
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    const QRect moved(drop - QPoint(235, 70), area.size());
    EXPECT_TRUE(waitFor([&] { return geometryOf(m_window) == moved; }, 3000))
        << "the clock stands at " << geometryOf(m_window).x() << "," << geometryOf(m_window).y();
    EXPECT_TRUE(logText().contains(u"move handed to the window manager")) << qPrintable(logText());
    EXPECT_FALSE(logText().contains(u"ignored the move")) << qPrintable(logText());
    // Killed right after the drop, the clock still comes back where it was left.
    EXPECT_TRUE(waitFor([&] { return storedClockSettings(m_home).Left == moved.x() * 15; }, 3000));
    clock->process.kill();
    clock->process.waitForFinished(3000);
    EXPECT_EQ(storedClockSettings(m_home).Left, moved.x() * 15);
    EXPECT_EQ(storedClockSettings(m_home).Top, moved.y() * 15);
}

TEST_P(RealDesktop, TheNoticeIsCentredAboveTheClockAndDialogsOpenBesideIt) {
    // Room for the notice inside the alarm's minute.
    const AlarmRecord tip = alarmDueAt(timeWithRoomInMinute(10), alarmaction::showTip,
                                       playtime::OneMinute, QStringLiteral("Stand up"));
    ASSERT_TRUE(storeAlarm(m_home, tip));
    ClockSettings s = defaultSettings();
    s.Left = kStored.x() * 15;
    s.Top = kStored.y() * 15;
    storeClockSettings(m_home, s);
    auto clock = startClock();
    ASSERT_FALSE(m_window.isEmpty());
    const QRect clockFrame = x11::frameGeometry(clockId());

    const QString caption = noticeCaption(QStringLiteral("Default"), tip.AlarmTime, 0);
    QString notice;
    ASSERT_TRUE(waitFor([&] { return !(notice = windowNamed(caption)).isEmpty(); }, 10000))
        << "no notice titled " << qPrintable(caption);
    QThread::msleep(600); // framed and placed again by its frame
    const QRect frame = x11::frameGeometry(notice.toUInt());
    const QPoint screenCentre(1280 / 2, 800 / 2);
    EXPECT_LE(std::abs(frame.center().x() - screenCentre.x()), 1) << frame.x() << "," << frame.y();
    EXPECT_LE(std::abs(frame.center().y() - screenCentre.y()), 1) << frame.x() << "," << frame.y();
    const QList<quint32> order = x11::stackingOrder();
    EXPECT_GT(order.indexOf(x11::topLevelOf(notice.toUInt())),
              order.indexOf(x11::topLevelOf(clockId())))
        << "the notice is below the clock";
    pressKeys({QStringLiteral("Escape")}); // closes the notice
    ASSERT_TRUE(waitFor([&] { return windowNamed(caption).isEmpty(); }, 5000));

    // The settings dialog and the about box open beside the clock, not over it.
    pointTo(clockFrame.center());
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    pressKeys({QStringLiteral("Page_Up")});
    const struct {
        QString title;
        QStringList open;
    } dialogs[] = {
        {QStringLiteral("Ovra Clock Configuration - Default"), {}},
        {QStringLiteral("About Ovra Clock - Default"),
         {QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
          QStringLiteral("1")}},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.title.toStdString());
        if (!d.open.isEmpty()) {
            pointTo(clockFrame.center());
            xdotool(d.open);
        }
        QString dialog;
        ASSERT_TRUE(waitFor([&] { return !(dialog = windowNamed(d.title)).isEmpty(); }, 5000));
        QThread::msleep(600);
        const QRect box = x11::frameGeometry(dialog.toUInt());
        EXPECT_FALSE(box.intersects(clockFrame))
            << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
        EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(box));
        // Next to it: the gap between the two is small.
        const int gapX = std::max(box.left() - clockFrame.right(), clockFrame.left() - box.right());
        const int gapY = std::max(box.top() - clockFrame.bottom(), clockFrame.top() - box.bottom());
        EXPECT_LE(std::max(gapX, gapY), 40);
    }
    clock->process.terminate();
    EXPECT_TRUE(clock->endsWithin(5000));
}

// Minimising the settings dialog, however it was opened, hides the dialog alone:
// the clock stays on the desktop.
TEST_P(RealDesktop, TheSettingsDialogMinimisesAlone) {
    const QString dialogCaption = QStringLiteral("Ovra Clock Configuration - Default");
    ClockSettings s = defaultSettings();
    s.Left = kStored.x() * 15;
    s.Top = kStored.y() * 15;
    storeClockSettings(m_home, s);
    const struct {
        const char* how;
        QPoint at; // clicked on the clock, after the pointer has entered the dial
        QStringList keys;
    } ways[] = {
        {"the settings button", {235, 52}, {}},
        {"Page Up", {kSide / 2, kSide / 2}, {QStringLiteral("Page_Up")}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        auto clock = startClock();
        ASSERT_FALSE(m_window.isEmpty());
        const QRect area = geometryOf(m_window);
        // From off the clock onto the dial, which brings the strip, then to the spot.
        pointTo(area.topLeft() - QPoint(20, 20));
        pointTo(area.topLeft() + QPoint(kSide / 2, kSide / 2));
        pointTo(area.topLeft() + QPoint(kSide / 2 + 2, kSide / 2 + 2));
        pointTo(area.topLeft() + way.at);
        xdotool({QStringLiteral("click"), QStringLiteral("1")});
        if (!way.keys.isEmpty())
            pressKeys(way.keys);
        QString dialog;
        ASSERT_TRUE(
            waitFor([&] { return !(dialog = windowNamed(dialogCaption)).isEmpty(); }, 5000));
        QThread::msleep(500); // framed and placed

        // As a taskbar asks for it. A compositing window manager may keep a minimised
        // window mapped; the state says it is hidden.
        xdotool({QStringLiteral("windowminimize"), dialog});
        EXPECT_TRUE(waitFor(
            [&] { return x11::windowState(dialog.toUInt()).contains(u"_NET_WM_STATE_HIDDEN"); },
            5000))
            << "the dialog did not minimise";
        QThread::msleep(500); // a window manager that takes the clock along has done so
        EXPECT_FALSE(windowNamed(kCaption).isEmpty()) << "the clock was minimised with it";
        EXPECT_FALSE(x11::windowState(clockId()).contains(u"_NET_WM_STATE_HIDDEN"));
        clock->process.terminate();
        EXPECT_TRUE(clock->endsWithin(5000));
    }
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, RealDesktop,
                         ::testing::Values(Session::Openbox, Session::Xfwm4, Session::Xfwm4Xcompmgr,
                                           Session::Mutter),
                         [](const auto& info) { return sessionName(info.param).toStdString(); });

// Weston draws every X window it manages on its own and gives it a drop shadow and
// a rectangular input area: the clock runs there through Xwayland, drawn with its
// transparency, and answers the pointer with its strip.
TEST(Wayland, TheClockRunsThroughXwaylandTransparentWithItsStrip) {
    TestHome home;
    PrivateDesktop desktop(DesktopOptions{.session = Session::Weston});
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    QString window;
    ASSERT_TRUE(waitFor([&] { return !(window = windowNamed(kCaption)).isEmpty(); }, 15000))
        << "the clock did not map under Xwayland";
    QThread::msleep(800);

    // Weston shows X windows where Xwayland has them.
    const QRect area = x11::geometryOnRoot(window.toUInt());
    ASSERT_EQ(area.size(), QSize(246, 246));
    const auto screen = [&] {
        const QByteArray saved = qgetenv("DISPLAY");
        qputenv("DISPLAY", desktop.screenDisplay().toLatin1());
        const QImage shot = screenshot(home.path(), QRect(0, 0, 1280, 800));
        qputenv("DISPLAY", saved);
        return shot;
    };
    const QImage shot = screen();
    const QPoint centre = area.center();
    EXPECT_EQ(shot.pixel(centre + QPoint(0, 30)) & 0xFFFFFF, 0u) << "no dial on the output";
    // Outside the dial the window is transparent: no black square around it, only
    // the compositor's own shadow over what lies below.
    for (const QPoint corner : {QPoint(3, 3), QPoint(242, 242), QPoint(3, 242)})
        EXPECT_NE(shot.pixel(area.topLeft() + corner) & 0xFFFFFF, 0u)
            << corner.x() << "," << corner.y() << " is black";

    // The pointer over the dial brings the strip, at the top right of the window.
    const auto outerPointer = [&](QPoint p) {
        runProgram(QStringLiteral("env"),
                   {QStringLiteral("DISPLAY=") + desktop.screenDisplay(), QStringLiteral("xdotool"),
                    QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
        QThread::msleep(300);
    };
    const QPoint stripCell = area.topLeft() + QPoint(235, 30);
    const QRgb before = screen().pixel(stripCell);
    outerPointer(QPoint(1300, 820)); // outside the compositor's window, then in
    outerPointer(centre + QPoint(10, 10));
    outerPointer(centre + QPoint(12, 12));
    EXPECT_NE(screen().pixel(stripCell), before) << "no strip under the pointer";
    clock.process.terminate();
    EXPECT_TRUE(clock.endsWithin(5000));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
