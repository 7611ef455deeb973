#include "clock/clockfrontend.h"
#include "clock/windowsystem.h"
#include "shell/clockapp.h"
#include "support/testenv.h"
#include "time/zonetable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

// The desktop as the tests want it: a pointer they place, a window manager that
// offers or refuses its move, and monitors they describe.
class FakeWindowSystem final : public WindowSystem {
public:
    QPoint pointerPos() const override { return pointer; }
    bool pointerButtonsDown() const override { return buttonsDown; }
    void setInputShape(QWidget*, const QRegion& region) override { shapes.append(region); }
    bool startSystemMove(QWidget*) override {
        ++systemMoves;
        return systemMoveWorks;
    }
    MonitorTable monitors() const override { return table; }
    WinRect primaryWorkArea() const override { return primaryWork; }
    ScreenMetrics screenMetrics() const override { return metrics; }

    QPoint pointer{-5000, -5000};
    bool buttonsDown = false;
    bool systemMoveWorks = false;
    int systemMoves = 0;
    QList<QRegion> shapes;
    MonitorTable table;
    WinRect primaryWork{0, 0, 1280, 800};
    ScreenMetrics metrics;
};

class CountingAutorun final : public AutorunHost {
public:
    int syncAutorunEntry(int) override { return ++syncs; }
    int syncs = 0;
};

MonitorRecord monitor(QRect geometry, QRect work, bool primary) {
    return {WinRect::fromQRect(geometry), WinRect::fromQRect(work), primary ? kMonitorPrimary : 0u};
}

// Records every emission of a signal with its arguments.
template <typename... Args> struct Spy {
    template <typename Sender, typename Signal> Spy(Sender* sender, Signal signal) {
        QObject::connect(sender, signal,
                         [this](Args... args) { calls.append(std::tuple<Args...>(args...)); });
    }
    int count() const { return int(calls.size()); }
    QList<std::tuple<Args...>> calls;
};

void waitMs(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// One clock process with its window on the offscreen platform, a store in memory
// and a fixed clock.
struct Clock {
    explicit Clock(ClockSettings stored = defaultSettings(),
                   QString name = QStringLiteral("Default"))
        : time(QDateTime(QDate(2026, 5, 17), QTime(15, 25, 7), Qt::UTC), QTimeZone::utc()),
          app({registry, messages, time}, home.roots()), front(app, ws) {
        ws.table.add(monitor({0, 0, 1280, 800}, {0, 0, 1280, 800}, true));
        ClockState state;
        state.ClockName = name;
        state.settings = stored;
        WriteClockSettings(registry, state);
        app.setWindowHost(&front);
        app.setAutorunHost(&autorun);
        clockName = name;
    }
    ~Clock() { w().hide(); }

    bool start() { return app.StartClock(clockName); }
    FrmClock& w() { return front.window(); }
    ClockSettings stored() {
        ClockState s;
        s.ClockName = clockName;
        ReadClockSettings(registry, s);
        return s.settings;
    }
    void mouse(QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::NoButton,
               Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent ev(type, QPointF(local), QPointF(w().pos() + local), button, buttons,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(&w(), &ev);
    }
    void moveTo(QPoint local) {
        ws.pointer = w().pos() + local;
        mouse(QEvent::MouseMove, local);
    }
    void click(QPoint local) {
        mouse(QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, local, Qt::LeftButton);
    }
    void key(int k) {
        QKeyEvent ev(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(&w(), &ev);
    }

    test::TestHome home;
    test::MemoryRegistryBackend backend;
    Registry registry{backend};
    test::RecordingMessageSink messages;
    FixedTimeSource time;
    ClockApp app;
    FakeWindowSystem ws;
    ClockFrontEnd front;
    CountingAutorun autorun;
    QString clockName;
};

ClockSettings at(int leftPx, int topPx) {
    ClockSettings s = defaultSettings();
    s.Left = leftPx * 15;
    s.Top = topPx * 15;
    return s;
}

} // namespace

TEST(FrmClock, StartsSizedCaptionedPlacedAndDrawn) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    FrmClock& w = c.w();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ovra Clock {Default}"));
    EXPECT_EQ(w.size(), QSize(246, 246));
    EXPECT_EQ(w.pos(), QPoint(300, 200));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(w.surfaceImage().size(), QSize(246, 246));
    EXPECT_EQ(w.HotButton(), hotbutton::Hidden);
    EXPECT_GE(w.framesDrawn(), 1);
    EXPECT_EQ(w.lastFrame().TimeText, QStringLiteral("03:25:07 P"));
    EXPECT_EQ(w.buttonImage().size(), QSize(63, 63));
    // Only the dial takes the pointer while the strip is hidden.
    ASSERT_FALSE(c.ws.shapes.isEmpty());
    const QRegion shape = c.ws.shapes.last();
    EXPECT_TRUE(shape.contains(QPoint(123, 123)));
    EXPECT_TRUE(shape.contains(QPoint(123, 22)));
    EXPECT_FALSE(shape.contains(QPoint(3, 3)));
    EXPECT_FALSE(shape.contains(QPoint(235, 30)));
    EXPECT_TRUE(c.messages.messages.empty());
}

TEST(FrmClock, StartMovesAStoredPositionIntoTheWorkArea) {
    const struct {
        const char* what;
        ClockSettings stored;
        QList<MonitorRecord> monitors;
        WinRect primaryWork;
        QPoint pos;
        int32_t monitorId;
    } cases[] = {
        {"stored monitor 2 on one monitor",
         [] {
             auto s = at(900, 500);
             s.MonitorID = 2;
             return s;
         }(),
         {monitor({0, 0, 1280, 800}, {0, 40, 1280, 760}, true)},
         {0, 40, 1280, 800},
         {0, 40},
         0},
        {"beyond the right edge",
         at(1200, 100),
         {monitor({0, 0, 1280, 800}, {0, 0, 1280, 800}, true)},
         {0, 0, 1280, 800},
         {1034, 100},
         0},
        {"above a top panel",
         at(100, 10),
         {monitor({0, 0, 1280, 800}, {0, 40, 1280, 760}, true)},
         {0, 40, 1280, 800},
         {100, 40},
         0},
        {"second monitor kept",
         [] {
             auto s = at(1500, 900);
             s.MonitorID = 1;
             return s;
         }(),
         {monitor({0, 0, 1280, 800}, {0, 0, 1280, 800}, true),
          monitor({1280, 0, 1024, 768}, {1280, 0, 1024, 738}, false)},
         {0, 0, 1280, 800},
         {1500, 492},
         1},
    };
    for (const auto& tc : cases) {
        Clock c(tc.stored);
        c.ws.table.clear();
        for (const MonitorRecord& m : tc.monitors)
            c.ws.table.add(m);
        c.ws.primaryWork = tc.primaryWork;
        ASSERT_TRUE(c.start());
        SCOPED_TRACE(tc.what);
        EXPECT_EQ(c.w().pos(), tc.pos);
        EXPECT_EQ(c.app.settings().MonitorID, tc.monitorId);
        EXPECT_EQ(c.app.settings().Left, tc.pos.x() * 15);
        EXPECT_EQ(c.app.settings().Top, tc.pos.y() * 15);
    }
}

TEST(FrmClock, HotButtonFollowsThePointerAndTheStripOpensTheShape) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    FrmClock& w = c.w();
    const QImage strip = w.buttonImage();
    const struct {
        QPoint at;
        int32_t hot;
        int column;
    } steps[] = {
        {{123, 123}, hotbutton::Face, 0},    {{235, 30}, hotbutton::Close, 1},
        {{235, 50}, hotbutton::Settings, 2}, {{235, 70}, hotbutton::Grip, 0},
        {{235, 42}, hotbutton::Face, 0},     {{225, 30}, hotbutton::Face, 0},
    };
    for (const auto& s : steps) {
        c.moveTo(s.at);
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(s.at.x()).arg(s.at.y()).toStdString());
        EXPECT_EQ(w.HotButton(), s.hot);
        EXPECT_TRUE(w.pointerWatchActive());
        // The strip shows at once, in the state's column.
        EXPECT_EQ(w.surfaceImage().pixel(225 + 4, 21 + 4), strip.pixel(s.column * 21 + 4, 4));
        EXPECT_TRUE(c.ws.shapes.last().contains(QPoint(235, 30)));
    }
    // The pointer leaves: within a tick or two the strip hides and the watch stops.
    c.ws.pointer = QPoint(10, 10);
    waitMs(350);
    EXPECT_EQ(w.HotButton(), hotbutton::Hidden);
    EXPECT_FALSE(w.pointerWatchActive());
    EXPECT_EQ(w.surfaceImage().pixel(225 + 4, 21 + 4), 0u);
    EXPECT_FALSE(c.ws.shapes.last().contains(QPoint(235, 30)));
}

TEST(FrmClock, KeysToggleTopmostAndScaleAndOpenTheSettings) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    FrmClock& w = c.w();
    Spy<bool> settings(&w, &FrmClock::settingsRequested);

    c.key(Qt::Key_Escape);
    EXPECT_EQ(c.app.settings().AlwaysOnTop, 1);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.isVisible());
    c.key(Qt::Key_Escape);
    EXPECT_EQ(c.app.settings().AlwaysOnTop, 0);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowStaysOnTopHint);

    // Three o'clock tick over the empty second ring: grey with the scale, black without.
    const auto scaleShown = [&] {
        return qRed(w.surfaceImage().pixel(123 + 93, 123)) > 0x20;
    };
    EXPECT_TRUE(scaleShown());
    const struct { int32_t before, after; } toggles[] = {{0, 1}, {1, 0}, {5, 0}, {-1, 0}};
    for (const auto& t : toggles) {
        c.app.settings().DisplayScale = t.before;
        c.key(Qt::Key_PageDown);
        EXPECT_EQ(c.app.settings().DisplayScale, t.after) << t.before;
        EXPECT_EQ(scaleShown(), t.after == 0) << t.before;
    }

    c.key(Qt::Key_PageUp);
    ASSERT_EQ(settings.count(), 1);
    EXPECT_FALSE(std::get<0>(settings.calls.at(0))); // not owned by the clock window
    c.key(Qt::Key_Home);
    EXPECT_EQ(settings.count(), 1);
    // The toggles live in memory until the next save.
    EXPECT_EQ(c.stored().DisplayScale, 0);
}

TEST(FrmClock, SettingsClickAndDoubleClickOnTheFace) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    Spy<bool> settings(&c.w(), &FrmClock::settingsRequested);
    Spy<> about(&c.w(), &FrmClock::aboutRequested);

    c.moveTo({235, 50});
    c.click({235, 50});
    ASSERT_EQ(settings.count(), 1);
    EXPECT_TRUE(std::get<0>(settings.calls.at(0))); // owned by the clock window

    c.moveTo({235, 70}); // a double click on the grip is no about box
    c.mouse(QEvent::MouseButtonDblClick, {235, 70}, Qt::LeftButton, Qt::LeftButton);
    c.mouse(QEvent::MouseButtonRelease, {235, 70}, Qt::LeftButton);
    EXPECT_EQ(about.count(), 0);

    c.moveTo({100, 130});
    c.click({100, 130});
    c.mouse(QEvent::MouseButtonDblClick, {100, 130}, Qt::LeftButton, Qt::LeftButton);
    c.mouse(QEvent::MouseButtonRelease, {100, 130}, Qt::LeftButton);
    EXPECT_EQ(about.count(), 1);
    EXPECT_EQ(settings.count(), 1);
    EXPECT_FALSE(c.app.shutdownStarted());
}

TEST(FrmClock, CloseButtonStoresThePositionAndShutsDownOnce) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    Spy<> unloaded(&c.w(), &FrmClock::unloaded);
    c.w().move(420, 310); // as a move would leave it
    c.w().KeepOnWorkArea();
    c.moveTo({123, 123});
    c.moveTo({235, 30});
    c.click({235, 30});
    EXPECT_TRUE(c.app.shutdownStarted());
    EXPECT_FALSE(c.w().isVisible());
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(c.autorun.syncs, 1);
    EXPECT_EQ(c.stored().Left, 420 * 15);
    EXPECT_EQ(c.stored().Top, 310 * 15);
    // Later close requests find the clock already unloaded.
    c.w().close();
    c.w().unloadClock();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(c.autorun.syncs, 1);
}

TEST(FrmClock, EveryWayOfClosingUnloadsExactlyOnce) {
    const struct {
        const char* what;
        void (*close)(Clock&);
        bool saved;
    } cases[] = {
        {"window closed", [](Clock& c) { c.w().close(); }, true},
        {"unload from code", [](Clock& c) { c.w().unloadClock(); }, true},
        {"unload twice",
         [](Clock& c) {
             c.w().unloadClock();
             c.w().unloadClock();
         },
         true},
        {"shutdown without saving (clock deleted)", [](Clock& c) { c.app.ShutdownClock(false); },
         false},
        {"front end closes the windows", [](Clock& c) { c.front.closeWindows(); }, true},
    };
    for (const auto& tc : cases) {
        Clock c(at(300, 200));
        ASSERT_TRUE(c.start());
        Spy<> unloaded(&c.w(), &FrmClock::unloaded);
        c.app.settings().Left = 777 * 15;
        tc.close(c);
        SCOPED_TRACE(tc.what);
        EXPECT_EQ(unloaded.count(), 1);
        EXPECT_EQ(c.autorun.syncs, 1);
        EXPECT_FALSE(c.w().isVisible());
        EXPECT_TRUE(c.w().surfaceImage().isNull()); // the surface went first
        EXPECT_EQ(c.stored().Left, tc.saved ? 777 * 15 : 300 * 15);
    }
}

TEST(FrmClock, ReapplyResizesTheWindowAndKeepsItsTopLeftCorner) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    const struct {
        int32_t radius;
        int side;
    } steps[] = {{60, 270}, {128, 406}, {200, 246}, {48, 246}};
    for (const auto& s : steps) {
        c.app.settings().ClockRadius = s.radius;
        c.app.ApplyClockSettings();
        SCOPED_TRACE(s.radius);
        EXPECT_EQ(c.w().size(), QSize(s.side, s.side));
        EXPECT_EQ(c.w().pos(), QPoint(300, 200));
        EXPECT_EQ(c.w().surfaceImage().size(), QSize(s.side, s.side));
        EXPECT_EQ(c.app.layout().windowSize(), s.side);
        // The new surface holds a frame at once, not a blank until the next tick.
        EXPECT_EQ(qAlpha(c.w().surfaceImage().pixel(s.side / 2, s.side / 2)), 255);
    }
    // 200 is out of range: stored as given, drawn and read back as 48.
    EXPECT_EQ(c.stored().ClockRadius, 48);
}

TEST(FrmClock, AFrameIsDrawnOnlyWhenItsPixelsWouldChange) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    FrmClock& w = c.w();
    w.DrawClock();
    const int base = w.framesDrawn();
    w.DrawClock();
    w.DrawClock();
    EXPECT_EQ(w.framesDrawn(), base);
    c.time.advanceSeconds(1);
    w.DrawClock();
    EXPECT_EQ(w.framesDrawn(), base + 1);
    EXPECT_EQ(w.lastFrame().TimeText, QStringLiteral("03:25:08 P"));
    c.key(Qt::Key_PageDown);
    EXPECT_EQ(w.framesDrawn(), base + 2);
    c.moveTo({123, 123});
    EXPECT_EQ(w.framesDrawn(), base + 3);
    c.moveTo({120, 120}); // same state
    EXPECT_EQ(w.framesDrawn(), base + 3);
    c.app.ApplyClockSettings();
    w.DrawClock();
    EXPECT_EQ(w.framesDrawn(), base + 4);
}

TEST(FrmClock, GripFollowsThePointerWhenTheWindowManagerRefuses) {
    Clock c(at(300, 200));
    c.ws.table.add(monitor({1280, 0, 1024, 768}, {1280, 0, 1024, 738}, false));
    ASSERT_TRUE(c.start());
    FrmClock& w = c.w();
    c.moveTo({123, 123});
    c.moveTo({235, 70});
    ASSERT_EQ(w.HotButton(), hotbutton::Grip);
    const QPoint grabGlobal = w.pos() + QPoint(235, 70);
    c.mouse(QEvent::MouseButtonPress, {235, 70}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(c.ws.systemMoves, 1);
    // Drag onto the second monitor, low enough to stick out below its work area.
    for (const QPoint to : {QPoint(900, 400), QPoint(1700, 700)}) {
        const QPoint local = to - w.pos();
        QMouseEvent ev(QEvent::MouseMove, QPointF(local), QPointF(to), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &ev);
        EXPECT_EQ(w.pos(), to - (grabGlobal - QPoint(300, 200)));
    }
    c.ws.pointer = QPoint(1700, 700);
    c.mouse(QEvent::MouseButtonRelease, QPoint(1700, 700) - w.pos(), Qt::LeftButton);
    EXPECT_EQ(c.app.settings().MonitorID, 1);
    EXPECT_EQ(w.pos(), QPoint(1700 - 235, 738 - 246));
    EXPECT_EQ(c.app.settings().Left, (1700 - 235) * 15);
    EXPECT_EQ(c.app.settings().Top, (738 - 246) * 15);
    EXPECT_FALSE(c.app.shutdownStarted()); // the release was no click
}

TEST(FrmClock, WindowManagerMoveEndsWithTheButtonRelease) {
    Clock c(at(300, 200));
    c.ws.systemMoveWorks = true;
    ASSERT_TRUE(c.start());
    FrmClock& w = c.w();
    c.moveTo({235, 70});
    c.ws.buttonsDown = true;
    c.mouse(QEvent::MouseButtonPress, {235, 70}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(c.ws.systemMoves, 1);
    // The window manager drags it half off the left edge.
    w.move(-100, 300);
    c.ws.pointer = QPoint(135, 370);
    waitMs(100);
    EXPECT_EQ(w.pos(), QPoint(-100, 300)); // still moving
    c.ws.buttonsDown = false;
    waitMs(150);
    EXPECT_EQ(w.pos(), QPoint(0, 300));
    EXPECT_EQ(c.app.settings().Left, 0);
    EXPECT_EQ(c.app.settings().Top, 300 * 15);
}

TEST(FrmClock, SecondTickComesWithTheCurrentClockTime) {
    ClockSettings tokyo = at(300, 200);
    tokyo.TimeZoneIndex = zoneIndexForOffset(9 * 60);
    Clock c(tokyo, QStringLiteral("Tokyo"));
    ASSERT_TRUE(c.start());
    QList<QDateTime> seen;
    QObject::connect(&c.w(), &FrmClock::secondTick, [&] { seen.append(c.w().clockTime()); });
    c.time.setNowUtc(QDateTime(QDate(2026, 5, 17), QTime(23, 59, 58), Qt::UTC));
    waitMs(1150);
    ASSERT_FALSE(seen.isEmpty());
    // Tokyo is 9 hours ahead: the tick sees the new day at once.
    EXPECT_EQ(seen.first().date(), QDate(2026, 5, 18));
    EXPECT_EQ(seen.first().time(), QTime(8, 59, 58));
    EXPECT_NE(c.w().currentScreen(), nullptr);
}

TEST(ClockWindowList, ClosesNoticeAboutSettingsThenTheClock) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    QStringList order;
    struct Recorder : QObject {
        QStringList* order = nullptr;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Close)
                order->append(o->objectName());
            return false;
        }
    } recorder;
    recorder.order = &order;
    QWidget settings, about, notice, gone;
    const std::pair<QWidget*, ClockWindowList::Role> windows[] = {
        {&settings, ClockWindowList::Role::Settings},
        {&about, ClockWindowList::Role::About},
        {&notice, ClockWindowList::Role::Notice},
    };
    for (const auto& [window, role] : windows) {
        window->setObjectName(window == &settings ? "settings"
                              : window == &about  ? "about"
                                                  : "notice");
        window->installEventFilter(&recorder);
        window->show();
        c.front.otherWindows().add(window, role);
    }
    c.w().setObjectName("clock");
    c.w().installEventFilter(&recorder);
    {
        auto* deleted = new QWidget;
        c.front.otherWindows().add(deleted, ClockWindowList::Role::About);
        delete deleted; // a window that went away on its own is skipped
    }
    c.app.ShutdownClock(true);
    EXPECT_EQ(order.join(u','), QStringLiteral("notice,about,settings,clock"));
    EXPECT_FALSE(settings.isVisible());
}
