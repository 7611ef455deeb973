#include "clock/clockwindow.h"

#include "clock/clockaccessible.h"
#include "clock/clockwindowhost.h"
#include "clock/monitors.h"
#include "clock/poolthreadpainter.h"
#include "clock/windowsystem.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLocale>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

Q_LOGGING_CATEGORY(lcMove, "ovra.clock.move", QtWarningMsg)
// One line per frame handed to the window: wall time in ms, the second it shows and
// the bytes of pixels painted. bench/measure-process.sh reads it.
Q_LOGGING_CATEGORY(lcPush, "ovra.clock.push", QtWarningMsg)

namespace {
constexpr int kPointerWatchIntervalMs = 100;
// How often the end of a window-manager move is looked for.
constexpr int kMoveWatchIntervalMs = 30;
// A window manager that takes the move grabs the pointer within a few
// milliseconds; one that still leaves the pointer to the clock this long after the
// press, while the pointer travels and the window stays, has ignored the request.
constexpr int kSystemMoveGraceMs = 100;
constexpr int kDragThresholdPx = 3;
} // namespace

ClockWindow::ClockWindow(ClockWindowContext& app, WindowSystem& windowSystem, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint),
      m_app(app), m_ws(windowSystem) {
    // The window shows the surface's pixels with their own alpha; nothing of it
    // is filled by the toolkit.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The clock rarely has the keyboard; its strip's tooltips show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    ClockAccessible::install();

    // The face changes once a second: one precise wake just after each wall-clock
    // second begins shows it on time and leaves the process asleep in between.
    m_timer1.setSingleShot(true);
    m_timer1.setTimerType(Qt::PreciseTimer);
    m_timer2.setInterval(kPointerWatchIntervalMs);
    m_moveWatch.setInterval(kMoveWatchIntervalMs);
    connect(&m_timer1, &QTimer::timeout, this, &ClockWindow::onSecondTimer);
    connect(&m_timer2, &QTimer::timeout, this, &ClockWindow::onPointerWatch);
    connect(&m_moveWatch, &QTimer::timeout, this, &ClockWindow::pollSystemMove);
}

ClockWindow::~ClockWindow() = default;

int ClockWindow::windowSize() const {
    return m_app.layout().windowSize();
}

void ClockWindow::fitToLayout() {
    const int side = windowSize();
    if (side <= 0)
        return;
    setFixedSize(side, side);
    move(windowPosFromSettings(m_app.settings(), m_app.screenMetrics()));
    createSurface();
    m_constantAlpha = 255;
    if (!isVisible())
        m_ws.keepOffTaskbar(this);
    updateWindowShape();
}

void ClockWindow::loadWindow() {
    setWindowTitle(QStringLiteral("Ovra Clock {%1}").arg(m_app.state().ClockName));
    move(windowPosFromSettings(m_app.settings(), m_app.screenMetrics()));
    setHotButton(hotbutton::Hidden);
    applyZOrder();
    armSecondTimer();
    // A pointer already over the window gets its strip; elsewhere the watch sleeps
    // until the pointer enters.
    m_timer2.start();
    onPointerWatch();
}

void ClockWindow::createSurface() {
    const int side = windowSize();
    m_surface.createSurface(QSize(side, side), devicePixelRatioF());
    prepareRenderer();
}

void ClockWindow::deleteSurface() {
    m_surface.deleteSurface();
    m_renderer.release();
    ++m_generation;
}

void ClockWindow::createTextFont(const QString& fontFamily, uint8_t fontSize) {
    m_surface.createTextFont(fontFamily, fontSize);
    prepareRenderer();
}

void ClockWindow::deleteTextFont() {
    m_surface.deleteTextFont();
}

void ClockWindow::restoreSurface() {
    m_surface.restoreSurface();
    ++m_generation; // the next frame starts from an empty surface
}

void ClockWindow::pushFrame(int32_t alpha) {
    m_constantAlpha = qBound(0, alpha, 255);
    pushOpaqueFrame();
}

void ClockWindow::pushOpaqueFrame() {
    update();
}

void ClockWindow::CreateDrawTools() {
    m_tools.CreateDrawTools(m_app.settings());
    prepareRenderer();
}

void ClockWindow::DeleteDrawTools() {
    m_tools.DeleteDrawTools();
    m_renderer.release();
    ++m_generation;
}

void ClockWindow::prepareRenderer() {
    // A re-apply makes the surface, the font and the tools anew, one after the
    // other: the layers are made once, for the next frame, from all three.
    ++m_generation;
    m_renderer.release();
    m_prepareDue = true;
}

bool ClockWindow::LoadButtonImage() {
    // Our own strip image, shipped in the resources as "CLOSE" of type "CUSTOM". A
    // missing or broken image leaves the strip undrawn; the clock runs on. It is
    // read as the PNG it is: left to guess, Qt loads every image format plugin
    // installed to ask each whether it reads PNG, and they stay mapped all day.
    QImageReader reader(QStringLiteral(":/CUSTOM/CLOSE"), "png");
    reader.setAutoDetectImageFormat(false);
    m_buttonImage = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ++m_generation;
    return !m_buttonImage.isNull();
}

void ClockWindow::ReleaseImages() {
    m_buttonImage = QImage();
    ++m_generation;
}

void ClockWindow::DrawClock() {
    drawAt(m_app.clockTimeNow());
}

void ClockWindow::drawAt(const QDateTime& clockTime) {
    if (m_prepareDue && m_surface.exists() && m_tools.exists()) {
        m_prepareDue = false;
        const qreal dpr = devicePixelRatioF();
        PoolThreadPainter::run(
            [&] { m_renderer.prepare(m_app.layout(), m_tools, m_surface.fontFamily(), dpr); });
    }
    if (!m_surface.exists() || !m_renderer.prepared())
        return;
    m_clockTime = clockTime;
    m_isActive = isActiveWindow();
    const bool showScale = m_app.settings().DisplayScale == 0;
    const FrameKey key{m_clockTime.toSecsSinceEpoch(), m_isActive, m_hotButton, showScale,
                       m_generation};
    // A hover, a key or the activation may ask again within the same second: a
    // frame that would put the same pixels on screen is neither drawn nor pushed.
    if (key == m_drawnKey)
        return;
    FaceFrame frame =
        ComposeFaceFrame(m_clockTime, m_app.settings(), m_app.state().ClockName, QLocale());
    FaceRenderer::settleTexts(frame);
    // When only the time moved on, the window still shows the last frame: the few
    // areas that differ are redrawn and pushed, a small part of the window.
    const bool partial = key.sameLook(m_drawnKey) && m_constantAlpha == 255;
    const QRegion area = partial ? m_renderer.changedArea(m_frame, frame) : QRegion();
    m_drawnKey = key;
    if (partial && area.isEmpty())
        return;
    // A normal second is drawn on this thread, in the paint that follows; a whole
    // frame, and a new minute whose ring layer is not ready, go to the pool.
    m_paintOnPool = m_paintOnPool || !partial || !m_renderer.ringLayerReady(frame);
    // The last second of a minute also draws the next minute's rings, once it is on
    // screen: the new minute then comes as fast as any other second.
    m_comingFrame.reset();
    if (m_clockTime.time().second() == 59) {
        FaceFrame coming = ComposeFaceFrame(m_clockTime.addSecs(1), m_app.settings(),
                                            m_app.state().ClockName, QLocale());
        if (FaceRenderer::ringsDiffer(frame, coming))
            m_comingFrame = std::move(coming);
    }
    m_frame = frame;
    m_frameState = FaceState{m_isActive, m_hotButton, showScale};
    ++m_framesDrawn;
    if (partial) {
        m_pushedArea = area;
        update(area);
    } else {
        m_pushedArea = rect();
        pushFrame(255);
    }
}

QImage* ClockWindow::backingStorePixels(QPaintEvent* event) {
    if (m_constantAlpha < 255 || !backingStore())
        return nullptr;
    // Only a paint into the window's own backing store, not one a grab or render
    // redirects elsewhere, may go straight into its pixels.
    QPaintDevice* device = backingStore()->paintDevice();
    {
        QPainter probe(this);
        if (!probe.isActive() || probe.paintEngine()->paintDevice() != device)
            return nullptr;
    }
    if (device->devType() != QInternal::Image)
        return nullptr;
    // An opaque visual has no alpha to take the face's own.
    auto* pixels = static_cast<QImage*>(device);
    if (pixels->format() != QImage::Format_ARGB32_Premultiplied ||
        pixels->size() != m_surface.devicePixelSize() ||
        !QRect(QPoint(0, 0), pixels->deviceIndependentSize().toSize())
             .contains(event->region().boundingRect()))
        return nullptr;
    return pixels;
}

void ClockWindow::paintEvent(QPaintEvent* event) {
    // The face is drawn where the window's pixels are: straight into the backing
    // store, which the toolkit then pushes, or else into the surface, copied over.
    QImage* const direct = backingStorePixels(event);
    if (direct)
        m_surface.releasePixels();
    QImage* const canvas = direct ? direct : &m_surface.image();
    const bool drawn =
        m_surface.exists() && !canvas->isNull() && m_renderer.prepared() && m_framesDrawn > 0;
    if (drawn) {
        // The toolkit asks for the areas the frame changed, or for the whole window
        // when it needs it (first shown, uncovered without a compositor).
        const QRegion area =
            (QRegion(rect()) - event->region()).isEmpty() ? QRegion() : event->region();
        const auto draw = [&] {
            m_renderer.drawFrame(*canvas, m_frame, m_frameState, m_buttonImage, area);
        };
        if (m_paintOnPool || area.isEmpty())
            PoolThreadPainter::run(draw);
        else
            draw();
        m_paintOnPool = false;
        m_framesPainted = m_framesDrawn;
        if (m_comingFrame)
            QTimer::singleShot(0, this, &ClockWindow::prepareComingMinute);
    }
    if (!direct) {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        if (!drawn || m_constantAlpha < 255) {
            p.fillRect(rect(), Qt::transparent);
            if (!drawn)
                return;
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.setOpacity(m_constantAlpha / 255.0);
        }
        // One rectangle at a time: under a clip of several rectangles Qt blends span
        // by span and hands the spans of each to its thread pool, which costs more
        // than the copy; under one rectangle it copies the lines itself.
        for (const QRect& r : event->region()) {
            p.setClipRect(r);
            p.drawImage(0, 0, *canvas);
        }
    }
    if (lcPush().isDebugEnabled()) {
        qint64 pixels = 0;
        for (const QRect& r : event->region())
            pixels += qint64(r.width()) * r.height();
        const qreal dpr = devicePixelRatioF();
        qCDebug(lcPush).noquote() << QDateTime::currentMSecsSinceEpoch() << m_drawnKey.second
                                  << qint64(pixels * dpr * dpr * 4);
    }
}

void ClockWindow::prepareComingMinute() {
    if (!m_comingFrame)
        return;
    const FaceFrame coming = *std::exchange(m_comingFrame, std::nullopt);
    PoolThreadPainter::run([&] { m_renderer.prepareRingLayer(coming); });
}

void ClockWindow::applyZOrder() {
    const bool onTop = m_app.settings().AlwaysOnTop == 1;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing the flags through the widget would hide and re-create the window;
    // the native window takes the new stacking state while it stays mapped.
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle())
        handle->setFlags(flags);
    // Leaving the topmost band is the window manager's part once the state says
    // so; the clock stays at the front of the normal windows. Lowering it first, as
    // a way out of the band, makes some window managers (xfwm4) hand the keyboard
    // focus to the window that comes up, and the next key press goes astray.
    if (!onTop)
        raise();
    // New flags make Qt write the window's state afresh, without the two atoms that
    // keep the clock out of taskbars and pagers.
    if (testAttribute(Qt::WA_WState_Created))
        m_ws.keepOffTaskbar(this);
}

void ClockWindow::GetMonitorID() {
    ovra::GetMonitorID(m_app.monitors(), m_ws.pointerPos(), m_app.settings());
}

void ClockWindow::KeepOnWorkArea(std::optional<QPoint> where) {
    if (windowSize() <= 0)
        return;
    const QPoint from = where.value_or(pos());
    const QPoint p = ovra::KeepOnWorkArea(m_app.monitors(), m_ws.primaryWorkArea(), from,
                                          windowSize(), m_app.screenMetrics(), m_app.settings());
    if (p != pos() || p != from)
        move(p);
}

QScreen* ClockWindow::currentScreen() const {
    if (QScreen* s = screen())
        return s;
    return Monitors::screenFor(m_app.settings().MonitorID);
}

QRegion ClockWindow::shapeRegion() const {
    const ClockLayout& l = m_app.layout();
    if (!l.isValid())
        return {};
    // Every pixel the outermost drawing touches: the focus ring 1 px outside the
    // dial, 2 px wide, drawn half a pixel off like every shape, plus its soft edge.
    // The shape also clips what is shown, so it must not cut into that edge.
    const QPointF centre = l.DialRect.center() + QPointF(0.5, 0.5);
    const double radius = l.DialRect.width() / 2 + 3;
    QRegion region;
    for (int y = qFloor(centre.y() - radius); y < qCeil(centre.y() + radius); ++y) {
        const double dy = std::max({0.0, y - centre.y(), centre.y() - (y + 1)});
        if (dy >= radius)
            continue;
        const double half = std::sqrt(radius * radius - dy * dy);
        const int left = qFloor(centre.x() - half), right = qCeil(centre.x() + half);
        region += QRect(left, y, right - left, 1);
    }
    if (m_hotButton != hotbutton::Hidden)
        region += QRect(windowSize() - kFaceMargin, kFaceMargin, kFaceMargin, 3 * kFaceMargin);
    return region;
}

void ClockWindow::updateWindowShape() {
    if (windowSize() > 0)
        m_ws.setWindowShape(this, shapeRegion());
}

void ClockWindow::setHotButton(int32_t value) {
    if (value == m_hotButton)
        return;
    const bool stripChanged = (value == hotbutton::Hidden) != (m_hotButton == hotbutton::Hidden);
    m_hotButton = value;
    if (stripChanged && testAttribute(Qt::WA_WState_Created))
        updateWindowShape();
    // The strip answers the pointer at once rather than at the next drawing tick.
    DrawClock();
}

void ClockWindow::onPointerWatch() {
    const ScreenMetrics& m = m_app.screenMetrics();
    const PointerWatchResult r =
        pointerWatch({m_ws.pointerPos(), pos(), windowSize(), m.tx, m.ty, m_hotButton});
    setHotButton(r.hotButton);
    if (!r.keepWatching)
        m_timer2.stop();
}

void ClockWindow::armSecondTimer() {
    if (m_unloading)
        return;
    // Read afresh each time, so a stepped clock is followed at once.
    const int msec = m_app.nowUtc().time().msec();
    m_timer1.start(1000 - msec);
}

void ClockWindow::onSecondTimer() {
    const QDateTime now = m_app.clockTimeNow();
    // Woken a little early, the second has not turned yet: the timer is armed for
    // the rest of it and nothing runs twice for one second.
    if (now.toSecsSinceEpoch() != m_tickedSecond) {
        m_tickedSecond = now.toSecsSinceEpoch();
        drawAt(now);
        m_clockTime = now;
        if (const qint64 minute = now.toSecsSinceEpoch() / 60; minute != m_shownMinute) {
            if (m_shownMinute != -1)
                ClockAccessible::minuteShown(this);
            m_shownMinute = minute;
        }
        emit secondTick();
    }
    armSecondTimer();
}

void ClockWindow::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (m_unloading || m_manualMove || m_systemMove)
        return;
    m_timer2.start();
    setHotButton(hitZone(event->position().toPoint(), windowSize()));
}

void ClockWindow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // The pointer watch decides from where the pointer really is: a leave that comes
    // with a grab (a move by the window manager) keeps the strip.
    if (m_timer2.isActive())
        onPointerWatch();
}

void ClockWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (m_manualMove) {
        move(global - m_dragOffset);
        return;
    }
    if (m_systemMove && (event->buttons() & Qt::LeftButton)) {
        // Still ours while the button is held: the window manager did not take the
        // move. Follow the pointer instead, once the wait for it has passed.
        if (m_sincePress.elapsed() >= kSystemMoveGraceMs && pos() == m_posAtPress &&
            (global - m_pressGlobal).manhattanLength() > kDragThresholdPx) {
            qCDebug(lcMove) << "the window manager ignored the move; following the pointer";
            m_moveWatch.stop();
            m_systemMove = false;
            startPointerMove(m_pressGlobal);
            move(global - m_dragOffset);
        }
        return;
    }
    if (!m_timer2.isActive() && !m_unloading)
        m_timer2.start();
    setHotButton(hitZone(event->position().toPoint(), windowSize()));
}

void ClockWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    if (m_hotButton != hotbutton::Grip)
        return;
    m_leftPressed = false; // a press on the grip moves, it does not click
    m_pressGlobal = event->globalPosition().toPoint();
    m_posAtPress = pos();
    m_sincePress.start();
    if (m_ws.startSystemMove(this)) {
        qCDebug(lcMove) << "move handed to the window manager";
        m_systemMove = true;
        m_moveWatch.start();
        return;
    }
    // No window-manager move: the window follows the pointer until release.
    startPointerMove(m_pressGlobal);
}

void ClockWindow::startPointerMove(QPoint pressGlobal) {
    qCDebug(lcMove) << "following the pointer";
    m_manualMove = true;
    m_dragOffset = pressGlobal - m_posAtPress;
}

void ClockWindow::pollSystemMove() {
    if (m_ws.pointerButtonsDown())
        return;
    m_moveWatch.stop();
    m_systemMove = false;
    qCDebug(lcMove) << "window manager move ended at" << pos();
    finishMove();
}

void ClockWindow::finishMove() {
    GetMonitorID();
    // The window manager has moved the window, but Qt may not have heard of it yet.
    KeepOnWorkArea(m_ws.windowPosition(this));
    emit moveFinished();
}

void ClockWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (m_manualMove) {
        m_manualMove = false;
        qCDebug(lcMove) << "pointer move ended at" << pos();
        finishMove();
        return;
    }
    if (m_systemMove && event->button() == Qt::LeftButton) {
        // Released before the window manager took over, or it never will: the move
        // ends here, and the watch has nothing left to wait for.
        m_moveWatch.stop();
        m_systemMove = false;
        finishMove();
        return;
    }
    const bool click = event->button() == Qt::LeftButton && m_leftPressed &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    if (click)
        formClick();
}

void ClockWindow::formClick() {
    pressStripButton(m_hotButton);
}

void ClockWindow::pressStripButton(int32_t button) {
    if (button == hotbutton::Close)
        m_app.ShutdownClock(true);
    else if (button == hotbutton::Settings)
        emit settingsRequested(true);
}

QString ClockWindow::clockName() const {
    return m_app.state().ClockName;
}

bool ClockWindow::twentyFourHour() const {
    return m_app.settings().HourMode != 0;
}

void ClockWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_hotButton == hotbutton::Face)
        emit aboutRequested();
}

void ClockWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        toggleAlwaysOnTop();
        break;
    case Qt::Key_PageDown:
        toggleScale();
        break;
    case Qt::Key_PageUp:
        emit settingsRequested(false);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool ClockWindow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        if (!showStripToolTip(static_cast<QHelpEvent*>(event)))
            event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void ClockWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        KeepOnWorkArea();
}

void ClockWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A re-created native window starts without our shape, and Qt writes the
    // window's state afresh when it maps it. Qt maps after this event, and when
    // always on top changed before the first show it maps a new native window: the
    // shape and the state go to that one too, once the show is done.
    updateWindowShape();
    m_ws.keepOffTaskbar(this);
    QTimer::singleShot(0, this, [this] {
        updateWindowShape();
        m_ws.keepOffTaskbar(this);
    });
    KeepOnWorkArea();
    DrawClock();
}

void ClockWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        DrawClock();
}

void ClockWindow::closeEvent(QCloseEvent* event) {
    unloadClock();
    event->accept();
}

void ClockWindow::unloadClock() {
    if (m_unloading)
        return;
    m_unloading = true;
    m_timer1.stop();
    m_timer2.stop();
    m_moveWatch.stop();
    deleteSurface();
    m_app.ShutdownClock(true);
    // A shutdown that was already under way (without saving) did not close us.
    close();
    emit unloaded();
}

} // namespace ovra
