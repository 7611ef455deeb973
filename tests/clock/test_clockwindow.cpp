#include "app/clockapp.h"
#include "clock/clockwindow.h"
#include "clock/drawingsurface.h"
#include "clock/facerenderer.h"
#include "clock/windowsystem.h"
#include "support/hostfakes.h"
#include "support/testenv.h"
#include "time/zonetable.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

using namespace ovra;

namespace {

// The desktop as the tests want it: a pointer they place, a window manager that
// offers or refuses its move, and monitors they describe.
class FakeWindowSystem final : public WindowSystem {
public:
    QPoint pointerPos() const override { return pointer; }
    bool pointerButtonsDown() const override { return buttonsDown; }
    void setWindowShape(QWidget*, const QRegion& region) override { shapes.append(region); }
    void keepOffTaskbar(QWidget* window) override { offTaskbar += !window->isVisible(); }
    bool startSystemMove(QWidget*) override {
        ++systemMoves;
        return systemMoveWorks;
    }
    bool startKeyboardMove(QWidget*) override {
        ++keyboardMoves;
        return keyboardMoveOffered;
    }
    bool offersKeyboardMove() const override { return keyboardMoveOffered; }
    bool keyboardHeldElsewhere() const override { return keyboardHeld; }
    void activateForUser(QWidget*) override {}
    QPoint windowPosition(QWidget* window) const override { return window->pos(); }
    MonitorTable monitors() const override { return table; }
    QRect primaryWorkArea() const override { return primaryWork; }
    ScreenDensity screenDensity() const override { return density; }

    QPoint pointer{-5000, -5000};
    bool buttonsDown = false;
    bool systemMoveWorks = false;
    int systemMoves = 0;
    bool keyboardMoveOffered = false;
    bool keyboardHeld = false;
    int keyboardMoves = 0;
    int offTaskbar = 0; // requests made while the window was still unmapped
    QList<QRegion> shapes;
    MonitorTable table;
    QRect primaryWork{0, 0, 1280, 800};
    ScreenDensity density;
};

MonitorRecord monitor(QRect geometry, QRect work, bool primary) {
    return {geometry, work, primary ? kMonitorPrimary : 0u};
}

void waitMs(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Waits, at most a few seconds, until check() holds.
template <typename Check> bool waitFor(const Check& check) {
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (check())
            return true;
        if (t.elapsed() >= 3000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// One clock process with its window on the offscreen platform, a store in memory
// and a fixed clock.
struct Clock {
    explicit Clock(ClockSettings stored = defaultSettings(),
                   QString name = QStringLiteral("Default"))
        : time(QDateTime(QDate(2026, 5, 17), QTime(15, 25, 7), Qt::UTC), QTimeZone::utc()),
          app({store, messages, time}, home.roots()), window(app.model(), ws) {
        ws.table.add(monitor({0, 0, 1280, 800}, {0, 0, 1280, 800}, true));
        ClockState state;
        state.clockName = name;
        state.settings = stored;
        writeClockSettings(store, state);
        app.setWindowHost(&window);
        app.setAutorunHost(&autorun);
        QObject::connect(&window, &ClockWindow::shutdownRequested,
                         [this](bool save) { app.shutdownClock(save); });
        clockName = name;
    }
    ~Clock() { w().hide(); }
    void record() {
        QObject::connect(&w(), &ClockWindow::settingsRequested,
                         [this](bool owned) { settingsOwned << owned; });
        QObject::connect(&w(), &ClockWindow::aboutRequested, [this] { ++abouts; });
        QObject::connect(&w(), &ClockWindow::unloaded, [this] { ++unloads; });
    }

    bool start() { return app.startClock(clockName); }
    ClockWindow& w() { return window; }
    // The face the window shows, once the toolkit has painted the last frame.
    const QImage& shown() {
        waitFor([&] { return w().framesPainted() == w().framesDrawn(); });
        return w().surfaceImage();
    }
    ClockSettings stored() {
        ClockState s;
        s.clockName = clockName;
        readClockSettings(store, s);
        return s.settings;
    }
    // Where the store keeps the clock, in its own units.
    QPoint storedPlace() {
        const QString key = clockKeyPath(clockName);
        return QPoint(store.readInteger(key, QStringLiteral("Left")).value_or(-1),
                      store.readInteger(key, QStringLiteral("Top")).value_or(-1));
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
    test::MemoryStoreBackend backend;
    KeyStore store{backend};
    test::RecordingMessageSink messages;
    FixedTimeSource time;
    ClockApp app;
    FakeWindowSystem ws;
    ClockWindow window;
    test::RecordingHosts autorun;
    QString clockName;
    QList<bool> settingsOwned; // one entry per settings request
    int abouts = 0;
    int unloads = 0;
};

ClockSettings at(int leftPx, int topPx) {
    ClockSettings s = defaultSettings();
    s.position = QPoint(leftPx, topPx);
    return s;
}

} // namespace

TEST(ClockWindow, StartsSizedCaptionedPlacedAndDrawn) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ovra Clock {Default}"));
    EXPECT_EQ(w.geometry(), QRect(300, 200, 246, 246));
    EXPECT_TRUE(w.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(c.shown().size(), QSize(246, 246));
    EXPECT_EQ(w.hotButton(), hotbutton::Hidden);
    EXPECT_EQ(w.lastFrame().timeText, QStringLiteral("03:25:07 P"));
    EXPECT_EQ(w.buttonImage().size(), QSize(63, 63));
    EXPECT_EQ(c.ws.offTaskbar, 1);
    // Only the dial takes the pointer while the strip is hidden.
    ASSERT_FALSE(c.ws.shapes.isEmpty());
    const QRegion shape = c.ws.shapes.last();
    EXPECT_TRUE(shape.contains(QPoint(123, 123)));
    EXPECT_TRUE(shape.contains(QPoint(123, 22)));
    EXPECT_FALSE(shape.contains(QPoint(3, 3)));
    EXPECT_FALSE(shape.contains(QPoint(235, 30)));
}

// A DPI change while the clock runs leaves the start-up density in force, so a
// re-apply neither moves the window nor stores a shifted position.
TEST(ClockWindow, AReapplyKeepsTheDensityOfStartUp) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    c.ws.density = {192, 192};
    c.app.applyClockSettings();
    EXPECT_EQ(c.w().pos(), QPoint(300, 200));
    c.app.shutdownClock(true);
    EXPECT_EQ(c.storedPlace(), QPoint(300, 200) * 15);
}

TEST(ClockWindow, StartMovesAStoredPositionIntoTheWorkArea) {
    const MonitorRecord primary = monitor({0, 0, 1280, 800}, {0, 0, 1280, 800}, true);
    const MonitorRecord panelTop = monitor({0, 0, 1280, 800}, {0, 40, 1280, 760}, true);
    const MonitorRecord second = monitor({1280, 0, 1024, 768}, {1280, 0, 1024, 738}, false);
    const struct {
        const char* what;
        QPoint stored;
        int32_t storedMonitor;
        QList<MonitorRecord> monitors;
        QPoint pos;
        int32_t monitorId;
    } cases[] = {
        {"stored monitor 2 on one monitor", {900, 500}, 2, {panelTop}, {0, 40}, 0},
        {"beyond the right edge", {1200, 100}, 0, {primary}, {1034, 100}, 0},
        {"above a top panel", {100, 10}, 0, {panelTop}, {100, 40}, 0},
        {"second monitor kept", {1500, 900}, 1, {primary, second}, {1500, 492}, 1},
    };
    for (const auto& tc : cases) {
        ClockSettings s = at(tc.stored.x(), tc.stored.y());
        s.monitor = tc.storedMonitor;
        Clock c(s);
        c.ws.table.clear();
        for (const MonitorRecord& m : tc.monitors)
            c.ws.table.add(m);
        c.ws.primaryWork = tc.monitors.first().work;
        ASSERT_TRUE(c.start());
        SCOPED_TRACE(tc.what);
        EXPECT_EQ(c.w().pos(), tc.pos);
        EXPECT_EQ(c.app.settings().monitor, tc.monitorId);
        EXPECT_EQ(c.app.settings().position, tc.pos);
    }
}

TEST(ClockWindow, HotButtonFollowsThePointerAndTheStripOpensTheShape) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
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
        EXPECT_EQ(w.hotButton(), s.hot);
        EXPECT_TRUE(w.pointerWatchActive());
        // The strip shows at once, in the state's column.
        EXPECT_EQ(c.shown().pixel(225 + 4, 21 + 4), strip.pixel(s.column * 21 + 4, 4));
        EXPECT_TRUE(c.ws.shapes.last().contains(QPoint(235, 30)));
    }
    // The pointer leaves: within a tick or two the strip hides and the watch stops.
    c.ws.pointer = QPoint(10, 10);
    waitMs(350);
    EXPECT_EQ(w.hotButton(), hotbutton::Hidden);
    EXPECT_FALSE(w.pointerWatchActive());
    EXPECT_EQ(c.shown().pixel(225 + 4, 21 + 4), 0u);
    EXPECT_FALSE(c.ws.shapes.last().contains(QPoint(235, 30)));
}

TEST(ClockWindow, KeysClicksAndDoubleClicks) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    c.record();
    ClockWindow& w = c.w();
    c.key(Qt::Key_Escape);
    EXPECT_TRUE(c.app.settings().alwaysOnTop);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.isVisible());
    c.key(Qt::Key_Escape);
    EXPECT_FALSE(c.app.settings().alwaysOnTop);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowStaysOnTopHint);

    // Three o'clock tick over the empty second ring: grey with the scale, black without.
    const auto scaleShown = [&] {
        return qRed(c.shown().pixel(123 + 93, 123)) > 0x20;
    };
    EXPECT_TRUE(scaleShown());
    for (const bool before : {true, false}) {
        c.app.settings().showScale = before;
        c.key(Qt::Key_PageDown);
        EXPECT_EQ(c.app.settings().showScale, !before) << before;
        EXPECT_EQ(scaleShown(), !before) << before;
    }
    EXPECT_TRUE(c.stored().showScale); // toggles reach the store with the next save

    c.key(Qt::Key_PageUp); // not owned by the clock window
    c.key(Qt::Key_Home);
    c.moveTo({235, 50});
    c.click({235, 50}); // owned by it
    EXPECT_EQ(c.settingsOwned, (QList<bool>{false, true}));

    const auto doubleClick = [&](QPoint p) {
        c.moveTo(p);
        c.click(p);
        c.mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        c.mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton);
    };
    doubleClick({235, 70}); // on the grip: no about box
    EXPECT_EQ(c.abouts, 0);
    doubleClick({100, 130});
    EXPECT_EQ(c.abouts, 1);
    EXPECT_EQ(c.settingsOwned.size(), 2);
    EXPECT_FALSE(c.app.shutdownStarted());
}

// The right-click menu: what the strip and the keys do, checked as things stand;
// the strip's buttons name themselves in tooltips.
TEST(ClockWindow, TheRightClickMenuAndTheStripsTooltips) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    c.record();
    ClockSettings& s = c.app.settings();
    // Builds the menu afresh, as each right click does, and picks one of its entries.
    const auto menu = [&](int pick = -1) {
        std::unique_ptr<QMenu> m(c.w().createContextMenu());
        QStringList entries;
        for (QAction* a : m->actions())
            entries << (a->isCheckable() ? (a->isChecked() ? "[x] " : "[ ] ") : "") + a->text();
        if (pick >= 0)
            m->actions().at(pick)->trigger();
        return entries;
    };
    const auto state = [&] {
        return QStringLiteral("top %1, scale %2, settings %3, about %4")
            .arg(int(s.alwaysOnTop))
            .arg(int(s.showScale))
            .arg(c.settingsOwned == QList<bool>{true})
            .arg(c.abouts);
    };
    EXPECT_EQ(menu(), (QStringList{"&Settings\u2026", "[ ] Always on &Top", "[x] Show Sc&ale", "",
                                   "A&bout\u2026", "&Close"}));
    const std::pair<int, const char*> picks[] = {{0, "top 0, scale 1, settings 1, about 0"},
                                                 {1, "top 1, scale 1, settings 1, about 0"},
                                                 {2, "top 1, scale 0, settings 1, about 0"},
                                                 {4, "top 1, scale 0, settings 1, about 1"}};
    for (const auto& [entry, after] : picks) {
        menu(entry);
        EXPECT_EQ(state(), QString::fromLatin1(after));
    }
    EXPECT_TRUE(c.w().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(menu().mid(1, 2), (QStringList{"[x] Always on &Top", "[ ] Show Sc&ale"}));

    const std::pair<QPoint, const char*> tips[] = {
        {{235, 30}, "Close"}, {{235, 50}, "Settings"}, {{235, 70}, "Move"}, {{100, 130}, nullptr}};
    for (const auto& [at, tip] : tips) {
        c.moveTo(at);
        QHelpEvent ev(QEvent::ToolTip, at, c.w().pos() + at);
        QCoreApplication::sendEvent(&c.w(), &ev);
        EXPECT_EQ(ev.isAccepted(), tip != nullptr) << at.x() << "," << at.y();
        if (tip) {
            EXPECT_EQ(QToolTip::text(), QString::fromUtf8(tip));
        }
    }

    menu(5);
    EXPECT_TRUE(c.app.shutdownStarted());
    EXPECT_EQ(c.unloads, 1);
}

TEST(ClockWindow, EveryWayOfClosingUnloadsExactlyOnce) {
    const struct {
        const char* what;
        void (*close)(Clock&);
        bool saved;
    } cases[] = {
        {"close button",
         [](Clock& c) {
             c.moveTo({123, 123});
             c.moveTo({235, 30});
             c.click({235, 30});
         },
         true},
        {"window closed", [](Clock& c) { c.w().close(); }, true},
        {"unload from code, twice",
         [](Clock& c) {
             c.w().unloadClock();
             c.w().unloadClock();
         },
         true},
        {"shutdown without saving (clock deleted)", [](Clock& c) { c.app.shutdownClock(false); },
         false},
        {"the shutdown closes the windows", [](Clock& c) { c.window.closeWindows(); }, true},
    };
    for (const auto& tc : cases) {
        Clock c(at(300, 200));
        ASSERT_TRUE(c.start());
        c.autorun.calls.clear(); // the start-up brought the entry in line once
        c.record();
        c.w().move(420, 310); // as a move would leave it
        c.w().keepOnWorkArea();
        tc.close(c);
        c.w().close(); // later requests find the clock unloaded
        SCOPED_TRACE(tc.what);
        EXPECT_EQ(c.unloads, 1);
        EXPECT_EQ(c.autorun.autorunSyncs(), 1);
        EXPECT_FALSE(c.w().isVisible());
        EXPECT_TRUE(c.w().surfaceImage().isNull()); // the surface went first
        EXPECT_EQ(c.storedPlace(), (tc.saved ? QPoint(420, 310) : QPoint(300, 200)) * 15);
    }
}

TEST(ClockWindow, ReapplyResizesTheWindowAndKeepsItsTopLeftCorner) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    for (const auto& [radius, side] : {std::pair{60, 270}, {128, 406}, {200, 246}, {48, 246}}) {
        c.app.settings().radius = radius;
        c.app.applyClockSettings();
        SCOPED_TRACE(radius);
        EXPECT_EQ(c.w().geometry(), QRect(300, 200, side, side));
        EXPECT_EQ(c.shown().size(), QSize(side, side));
        // The new surface holds a frame at once, not a blank until the next tick.
        EXPECT_EQ(qAlpha(c.shown().pixel(side / 2, side / 2)), 255);
    }
    // 200 is out of range: drawn and read back as 48.
    EXPECT_EQ(c.stored().radius, 48);
}

TEST(ClockWindow, AFrameIsDrawnOnlyWhenItsPixelsWouldChange) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
    const int base = w.framesDrawn();
    const struct {
        const char* what;
        std::function<void()> change;
        int drawn; // frames drawn since the start
    } steps[] = {
        {"nothing", [&] { w.drawClock(); }, 0},
        {"next second",
         [&] {
             c.time.advanceSeconds(1);
             w.drawClock();
         },
         1},
        {"same second", [&] { w.drawClock(); }, 1},
        {"scale toggled", [&] { c.key(Qt::Key_PageDown); }, 2},
        {"strip shown",
         [&] {
             c.moveTo({123, 123});
         },
         3},
        {"pointer moved on the face",
         [&] {
             c.moveTo({120, 120});
         },
         3},
        {"settings re-applied",
         [&] {
             c.app.applyClockSettings();
             w.drawClock();
         },
         4},
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(w.framesDrawn() - base, s.drawn) << s.what;
    }
    EXPECT_EQ(w.lastFrame().timeText, QStringLiteral("03:25:08 P"));
}

TEST(ClockWindow, GripMovesTheWindowThenTheMonitorAndWorkAreaRulesApply) {
    enum class Wm { None, Moves, IgnoresTheRequest };
    for (const Wm wm : {Wm::None, Wm::Moves, Wm::IgnoresTheRequest}) {
        SCOPED_TRACE(wm == Wm::None    ? "no window manager move"
                     : wm == Wm::Moves ? "window manager's move"
                                       : "a window manager that ignores the request");
        Clock c(at(300, 200));
        c.ws.table.add(monitor({1280, 0, 1024, 768}, {1280, 0, 1024, 738}, false));
        c.ws.systemMoveWorks = wm != Wm::None;
        ASSERT_TRUE(c.start());
        ClockWindow& w = c.w();
        int drops = 0;
        QObject::connect(&w, &ClockWindow::moveFinished, [&] { ++drops; });
        c.moveTo({123, 123});
        c.moveTo({235, 70});
        ASSERT_EQ(w.hotButton(), hotbutton::Grip);
        c.ws.buttonsDown = true;
        c.mouse(QEvent::MouseButtonPress, {235, 70}, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(c.ws.systemMoves, 1);
        // Onto the second monitor, low enough to stick out below its work area.
        const QPoint drop(1700, 700);
        if (wm == Wm::Moves) {
            w.move(drop - QPoint(235, 70));
            c.ws.pointer = drop;
            waitMs(100);
            EXPECT_EQ(w.pos(), drop - QPoint(235, 70)); // still moving
            EXPECT_EQ(drops, 0);
            c.ws.buttonsDown = false;
            waitMs(150);
        } else {
            if (wm == Wm::IgnoresTheRequest)
                waitMs(150); // the pointer stays with the clock: nobody took the move
            QMouseEvent move(QEvent::MouseMove, QPointF(drop - w.pos()), QPointF(drop),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &move);
            EXPECT_EQ(w.pos(), drop - QPoint(235, 70));
            c.ws.pointer = drop;
            c.mouse(QEvent::MouseButtonRelease, drop - w.pos(), Qt::LeftButton);
        }
        EXPECT_EQ(drops, 1);
        EXPECT_EQ(c.app.settings().monitor, 1);
        EXPECT_EQ(w.pos(), QPoint(1700 - 235, 738 - 246));
        EXPECT_EQ(c.app.settings().position, w.pos());
        EXPECT_FALSE(c.app.shutdownStarted()); // the release was no click
    }
}

// The grip, pressed rather than dragged (by a screen reader), hands the clock to the
// window manager's move by the keys. The move ends when the window manager lets go
// of the keyboard; the clock then belongs to the monitor under its centre, wherever
// the pointer is, and is kept in that monitor's work area.
TEST(ClockWindow, TheGripPressedStartsTheWindowManagersMoveByTheKeys) {
    enum class Wm { Offers, TakesNoKeyboard, OffersNone };
    const struct {
        const char* what;
        Wm wm;
        QStringList actions; // what a screen reader may do with the grip
        int drops;
        QPoint pos;
        int32_t monitorId;
    } cases[] = {
        {"moves onto the second monitor",
         Wm::Offers,
         {QStringLiteral("Press")},
         1,
         {2304 - 246, 738 - 246},
         1},
        {"never takes the keyboard",
         Wm::TakesNoKeyboard,
         {QStringLiteral("Press")},
         1,
         {300, 200},
         0},
        {"offers no move by the keys", Wm::OffersNone, {}, 0, {300, 200}, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        Clock c(at(300, 200));
        c.ws.table.add(monitor({1280, 0, 1024, 768}, {1280, 0, 1024, 738}, false));
        c.ws.keyboardMoveOffered = tc.wm != Wm::OffersNone;
        ASSERT_TRUE(c.start());
        ClockWindow& w = c.w();
        int drops = 0;
        QObject::connect(&w, &ClockWindow::moveFinished, [&] { ++drops; });

        QAccessibleInterface* grip = QAccessible::queryAccessibleInterface(&w)->child(2);
        ASSERT_NE(grip, nullptr);
        ASSERT_NE(grip->actionInterface(), nullptr);
        EXPECT_EQ(grip->actionInterface()->actionNames(), tc.actions);
        // A click that begins on the face and is let go over the grip presses nothing.
        c.moveTo({123, 123});
        c.mouse(QEvent::MouseButtonPress, {123, 123}, Qt::LeftButton, Qt::LeftButton);
        c.moveTo({235, 70});
        c.mouse(QEvent::MouseButtonRelease, {235, 70}, Qt::LeftButton);
        EXPECT_EQ(c.ws.keyboardMoves, 0);
        c.ws.pointer = {100, 100}; // on the first monitor from here on
        w.pressStripButton(hotbutton::Grip);
        EXPECT_EQ(c.ws.keyboardMoves, 1);
        if (tc.wm == Wm::Offers) {
            c.ws.keyboardHeld = true;
            waitMs(100);
            // The keys take it onto the second monitor, sticking out to the right of
            // and below its work area.
            w.move(2070, 600);
            waitMs(100);
            EXPECT_EQ(drops, 0) << "the move ended while the window manager held the keyboard";
            c.ws.keyboardHeld = false;
        }
        if (tc.drops > 0)
            waitFor([&] { return drops > 0; });
        waitMs(100);
        EXPECT_EQ(drops, tc.drops);
        EXPECT_EQ(w.pos(), tc.pos);
        EXPECT_EQ(c.app.settings().monitor, tc.monitorId);
        EXPECT_EQ(c.app.settings().position, tc.pos);
        EXPECT_FALSE(c.app.shutdownStarted());
    }
}

TEST(ClockWindow, TheWindowShapeHoldsEveryPixelThatIsDrawn) {
    // The shape also clips what is shown: a pixel outside it would be cut off.
    ClockSettings wide = at(300, 200);
    wide.radius = 90;
    wide.hourRingWidth = 11;
    wide.minuteRingWidth = 13;
    wide.secondRingWidth = 17;
    wide.showScale = true;
    for (const ClockSettings& s : {at(300, 200), wide}) {
        Clock c(s);
        ASSERT_TRUE(c.start());
        for (const QPoint pointer : {QPoint(-100, -100), QPoint(123, 123), QPoint(235, 30)}) {
            if (pointer.x() >= 0)
                c.moveTo(pointer);
            const QImage frame = c.shown();
            const QRegion shape = c.ws.shapes.last();
            int outside = 0;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    outside += qAlpha(frame.pixel(x, y)) != 0 && !shape.contains(QPoint(x, y));
            EXPECT_EQ(outside, 0) << "radius " << s.radius << ", pointer " << pointer.x();
            // ... and little else: the transparent corners stay out of it.
            EXPECT_FALSE(shape.contains(QPoint(4, 4)));
            EXPECT_FALSE(shape.contains(QPoint(4, frame.height() - 5)));
        }
    }
}

TEST(ClockWindow, SecondTickComesWithTheCurrentClockTime) {
    ClockSettings tokyo = at(300, 200);
    tokyo.timeZoneRow = zoneIndexForOffset(9 * 60);
    Clock c(tokyo, QStringLiteral("Tokyo"));
    ASSERT_TRUE(c.start());
    QList<QDateTime> seen;
    QObject::connect(&c.w(), &ClockWindow::secondTick, [&] { seen.append(c.w().clockTime()); });
    c.time.setNowUtc(QDateTime(QDate(2026, 5, 17), QTime(23, 59, 58), Qt::UTC));
    waitMs(1150);
    ASSERT_FALSE(seen.isEmpty());
    // Tokyo is 9 hours ahead: the tick sees the new day at once.
    EXPECT_EQ(seen.first(), QDateTime(QDate(2026, 5, 18), QTime(8, 59, 58), Qt::UTC));
    EXPECT_NE(c.w().currentScreen(), nullptr);
}

TEST(ClockWindow, WakesOnceForEachSecondAndDrawsItThen) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
    QList<QDateTime> ticks;
    QObject::connect(&w, &ClockWindow::secondTick, [&] { ticks.append(w.clockTime()); });
    const QDateTime start(QDate(2026, 5, 17), QTime(15, 25, 7), Qt::UTC);
    ASSERT_TRUE(waitFor([&] { return !ticks.isEmpty(); }));
    EXPECT_EQ(ticks, QList<QDateTime>{start});
    // Late in the same second: the next wake finds no new second, runs nothing and
    // sleeps until the second turns.
    c.time.setNowUtc(start.addMSecs(900));
    int remaining = w.msUntilNextSecond();
    ASSERT_TRUE(waitFor([&] {
        const int now = w.msUntilNextSecond();
        const bool rearmed = now > remaining;
        remaining = now;
        return rearmed;
    }));
    EXPECT_LE(remaining, 100);
    EXPECT_EQ(ticks.size(), 1);
    // The second turns: one tick, with the frame of that second already drawn.
    c.time.setNowUtc(start.addSecs(1));
    ASSERT_TRUE(waitFor([&] { return ticks.size() > 1; }));
    EXPECT_EQ(ticks.last(), start.addSecs(1));
    EXPECT_EQ(w.lastFrame().timeText, QStringLiteral("03:25:08 P"));
    // A clock stepped by hours is shown at the next wake.
    c.time.setNowUtc(start.addSecs(3 * 3600 + 20));
    ASSERT_TRUE(waitFor([&] { return ticks.size() > 2; }));
    EXPECT_EQ(w.lastFrame().timeText, QStringLiteral("06:25:27 P"));
    EXPECT_EQ(ticks.size(), 3);
}

TEST(ClockWindow, ANewSecondPushesOnlyWhatChanged) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
    const QRect whole(0, 0, 246, 246);
    for (const qint64 step : {1, 1, 53, 1, -7, 3600}) {
        SCOPED_TRACE(step);
        c.time.advanceSeconds(step);
        w.drawClock();
        const QRegion pushed = w.lastPushedArea();
        ASSERT_FALSE(pushed.isEmpty());
        EXPECT_NE(pushed, QRegion(whole));
        const QImage partial = c.shown().copy();
        // The same second drawn whole, after a re-apply, is the same picture.
        c.app.applyClockSettings();
        w.drawClock();
        EXPECT_EQ(w.lastPushedArea(), QRegion(whole));
        EXPECT_TRUE(c.shown() == partial);
    }
    // A change of state redraws and pushes the whole window.
    c.time.advanceSeconds(1);
    c.moveTo({123, 123});
    EXPECT_EQ(w.lastPushedArea(), QRegion(whole));
}

// Once its face is on screen the clock keeps its second ring for each second: a
// plain second then pushes fewer pixels than the pieces of ring a stroke may reach.
TEST(ClockWindow, OnceShownAPlainSecondPushesOnlyWhatTheKeptRingChanges) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
    c.shown();
    waitMs(50);
    const FaceFrame before = w.lastFrame();
    c.time.advanceSeconds(1);
    w.drawClock();
    DrawTools tools;
    tools.createDrawTools(c.app.settings());
    DrawingSurface surface;
    surface.createSurface(QSize(246, 246));
    FaceRenderer stroked;
    stroked.prepare(c.w().layout(), tools, surface.fontFamily());
    const auto pixels = [](const QRegion& area) {
        qint64 n = 0;
        for (const QRect& r : area)
            n += qint64(r.width()) * r.height();
        return n;
    };
    EXPECT_LT(pixels(w.lastPushedArea()), pixels(stroked.changedArea(before, w.lastFrame())));
}

TEST(ClockWindow, ThePointerIsWatchedOnlyWhileItIsOverTheWindow) {
    Clock c(at(300, 200));
    ASSERT_TRUE(c.start());
    ClockWindow& w = c.w();
    EXPECT_FALSE(w.pointerWatchActive());
    const auto send = [&](QEvent::Type type, QPoint local) {
        if (type == QEvent::Enter) {
            QEnterEvent ev{QPointF(local), QPointF(local), QPointF(w.pos() + local)};
            QCoreApplication::sendEvent(&w, &ev);
        } else {
            QEvent ev(type);
            QCoreApplication::sendEvent(&w, &ev);
        }
    };
    c.ws.pointer = w.pos() + QPoint(235, 30);
    send(QEvent::Enter, {235, 30});
    EXPECT_EQ(w.hotButton(), hotbutton::Close);
    EXPECT_TRUE(w.pointerWatchActive());
    // A leave while the pointer is still over the window (a grab) keeps the strip.
    send(QEvent::Leave, {});
    EXPECT_EQ(w.hotButton(), hotbutton::Close);
    // The pointer has gone: the strip hides and the watch stops at once.
    c.ws.pointer = QPoint(10, 10);
    send(QEvent::Leave, {});
    EXPECT_EQ(w.hotButton(), hotbutton::Hidden);
    EXPECT_FALSE(w.pointerWatchActive());
    EXPECT_EQ(c.shown().pixel(225 + 4, 21 + 4), 0u);
    EXPECT_FALSE(c.ws.shapes.last().contains(QPoint(235, 30)));
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
    QWidget settings, about, notice;
    using Role = ClockWindowList::Role;
    for (const auto& [window, role, name] : {std::tuple{&settings, Role::Settings, "settings"},
                                             {&about, Role::About, "about"},
                                             {&notice, Role::Notice, "notice"},
                                             {&c.w(), Role::Notice, "clock"}}) {
        window->setObjectName(QString::fromLatin1(name));
        window->installEventFilter(&recorder);
        if (window != &c.w()) {
            window->show();
            c.window.otherWindows().add(window, role);
        }
    }
    auto* gone = new QWidget;
    c.window.otherWindows().add(gone, Role::About);
    delete gone; // a window that went away on its own is skipped
    c.app.shutdownClock(true);
    EXPECT_EQ(order.join(u','), QStringLiteral("notice,about,settings,clock"));
}
