#pragma once

#include "clock/clocklayout.h"
#include "clock/clockwindowhost.h"
#include "clock/clockwindowlist.h"
#include "clock/drawingsurface.h"
#include "clock/drawtools.h"
#include "clock/facerenderer.h"
#include "clock/hotbutton.h"
#include "clock/monitortable.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <optional>

class QHelpEvent;
class QMenu;
class QScreen;

namespace ovra {

class ClockModel;
class WindowSystem;

// The clock on the desktop: a frameless, per-pixel transparent window that shows
// the face, wakes once a second, on the second, to draw what changed, follows the
// pointer for the button strip while it is over the window, and reacts to the
// strip, a double click and three keys. The start-up, re-apply and shutdown
// sequences drive it, and the list of the process's other windows that close
// with it, as their window host.
class ClockWindow final : public QWidget, public ClockWindowHost {
    Q_OBJECT
public:
    ClockWindow(ClockModel& clock, WindowSystem& windowSystem, QWidget* parent = nullptr);
    ~ClockWindow() override;

    // The notice, about box and settings dialog register here when they open.
    ClockWindowList& otherWindows() { return m_others; }
    const ClockLayout& layout() const { return m_layout; }

    // The sequences' steps.
    ScreenDensity screenDensity() override;
    void loadClockWindow(ClockSettings& settings) override;
    void processPendingEvents() override;
    void showClockWindow() override;
    void applySettings(const ClockSettings& settings) override;
    void closeWindows() override;

    // Window and surface for the current layout: size, position, surface.
    void fitToLayout();
    // Caption, stored position, hidden strip, z-order; starts the timers.
    void loadWindow();
    void createSurface();
    void deleteSurface();
    void createTextFont(const QString& fontFamily, uint8_t fontSize);
    void deleteTextFont();
    void restoreSurface();
    // Shows the surface, its own alpha multiplied by alpha (0..255).
    void pushFrame(int32_t alpha);
    void pushOpaqueFrame();

    void createDrawTools();
    void deleteDrawTools();
    // One frame, drawn and shown only when it differs from the one on screen.
    void drawClock();

    // Leaves the strip undrawn when the image cannot be read; the clock runs on.
    void loadButtonImage();
    void releaseImages();

    // Topmost band when AlwaysOnTop is 1, else the top of the normal windows.
    void applyZOrder();
    // Escape and Page Down, also in the right-click menu.
    void toggleAlwaysOnTop();
    void toggleScale();
    // The right-click menu with its checks as the settings stand: settings, always
    // on top, scale, about, close. The caller owns it.
    QMenu* createContextMenu();
    void getMonitorID();
    // Clamps the window at `where` (by default where it stands) into its work area.
    void keepOnWorkArea(std::optional<QPoint> where = std::nullopt);

    // The window's unload: drops the surface and shuts the clock down, saving its
    // settings. Runs once, whichever way the window is closed.
    void unloadClock();

    // What the strip's buttons do when clicked, also for a button pressed by a
    // screen reader: close the clock, open the settings; the grip, which the
    // pointer drags, pressed starts the window manager's move by the keyboard.
    void pressStripButton(int32_t button);
    // Whether the grip can be pressed: the window manager offers a keyboard move.
    bool canMoveByKeyboard() const;
    QString clockName() const;
    bool twentyFourHour() const;

    int32_t hotButton() const { return m_hotButton; }
    bool isActive() const { return m_isActive; }
    const QDateTime& clockTime() const { return m_clockTime; }
    const FaceFrame& lastFrame() const { return m_frame; }
    // The surface's pixels; they hold the face only where the window could not
    // take it straight (a grab, an opaque visual, a constant alpha below 255).
    const QImage& surfaceImage() const { return m_surface.image(); }
    const QImage& buttonImage() const { return m_buttonImage; }
    bool pointerWatchActive() const { return m_pointerWatch.isActive(); }
    // Milliseconds until the next wake, or -1 when none is due.
    int msUntilNextSecond() const {
        return m_secondTimer.isActive() ? m_secondTimer.remainingTime() : -1;
    }
    int framesDrawn() const { return m_framesDrawn; }
    // The frames the window has painted so far; behind framesDrawn() until the
    // toolkit gets round to the paint.
    int framesPainted() const { return m_framesPainted; }
    // What the last frame pushed to the window: all of it, or the changed areas.
    const QRegion& lastPushedArea() const { return m_pushedArea; }
    QScreen* currentScreen() const;
    // Where the window exists, drawn and taking the pointer, in window pixels: the
    // dial with its whole soft edge, and the strip while it shows.
    QRegion shapeRegion() const;

signals:
    // The close button, the menu's Close or the window's unload: the clock shuts
    // down, saving its settings when asked.
    void shutdownRequested(bool save);
    // Every second, with clockTime() current: the alarm check runs on it.
    void secondTick();
    // The settings dialog; owned means it belongs to the clock window.
    void settingsRequested(bool owned);
    void aboutRequested();
    // The window has unloaded and the clock has shut down; the process may end.
    void unloaded();
    // A move by the grip has ended; MonitorID, Left and Top hold where it stands.
    void moveFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The tooltip of the strip's button under the pointer; false off the buttons.
    bool showStripToolTip(QHelpEvent* event);
    void onPointerWatch();
    void onSecondTimer();
    void armSecondTimer();
    void drawAt(const QDateTime& clockTime);
    // The backing store's pixels when this paint may draw the face straight into
    // them, else null.
    QImage* backingStorePixels(QPaintEvent* event);
    // A plain second laid straight into the backing store, which still holds the
    // frame before it, and pushed from there: false where the window needs a paint.
    bool pushChange(const FaceFrame& before, const QRegion& area);
    void logPush(const QRegion& area) const;
    void prepareComingMinute();
    void prepareSecondSteps();
    void faceClicked();
    void setHotButton(int32_t value);
    void finishMove();
    void pollSystemMove();
    void startKeyboardMove();
    void pollKeyboardMove();
    void prepareRenderer();
    void updateWindowShape();
    void startPointerMove(QPoint pressGlobal);
    int windowSize() const;

    struct FrameKey {
        qint64 second = -1;
        bool active = false;
        int32_t hotButton = hotbutton::Hidden;
        bool scale = false;
        quint64 generation = 0;
        friend bool operator==(const FrameKey&, const FrameKey&) = default;
        // Same state and layers: only the time differs.
        bool sameLook(const FrameKey& o) const {
            return active == o.active && hotButton == o.hotButton && scale == o.scale &&
                   generation == o.generation;
        }
    };

    ClockModel& m_clock;
    WindowSystem& m_windowSystem;
    ClockWindowList m_others;
    ClockLayout m_layout;
    MonitorTable m_monitors; // as they were when the clock started
    DrawingSurface m_surface;
    DrawTools m_tools;
    FaceRenderer m_renderer;
    QImage m_buttonImage;
    FaceFrame m_frame; // the frame the window shows, drawn when it is painted
    FaceState m_frameState;
    bool m_paintOnPool = false;
    bool m_secondStepsQueued = false;
    FaceFrameComposer m_composer;
    std::optional<FaceFrame> m_comingFrame; // the next minute's, drawn ahead
    QDateTime m_clockTime;
    bool m_isActive = false;
    int32_t m_hotButton = hotbutton::Hidden;
    int32_t m_constantAlpha = 255;

    QTimer m_secondTimer;  // drawing and alarm check, single shot at each wall-clock second
    QTimer m_pointerWatch; // 100 ms while the pointer is over the window
    QTimer m_moveWatch;

    FrameKey m_drawnKey;
    QRegion m_pushedArea;
    qint64 m_tickedSecond = -1;
    qint64 m_shownMinute = -1;
    quint64 m_generation = 1;
    bool m_prepareDue = false;
    int m_framesDrawn = 0;
    int m_framesPainted = 0;
    // The last paint went into the backing store, which holds the frame it drew.
    bool m_backingHoldsFrame = false;
    std::vector<QRgb> m_keptPixels; // the changed area's, while the store clears it
    bool m_leftPressed = false;
    bool m_manualMove = false;
    bool m_systemMove = false;    // handed to the window manager, not yet ended
    bool m_keyboardMove = false;  // a move by the keys handed to the window manager
    bool m_keyboardTaken = false; // ... which has taken the keyboard for it
    QPoint m_dragOffset;
    QPoint m_pressGlobal;
    QPoint m_posAtPress;
    QElapsedTimer m_sincePress;
    bool m_unloading = false;
};

} // namespace ovra
