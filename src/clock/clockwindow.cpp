#include "clock/clockwindow.h"

#include "clock/clockaccessible.h"
#include "clock/monitors.h"
#include "clock/poolthreadpainter.h"
#include "clock/windowsystem.h"
#include "settings/clockmodel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

namespace {
constexpr int kPointerWatchIntervalMs = 100;
// How often the end of a window-manager move is looked for.
constexpr int kMoveWatchIntervalMs = 30;
} // namespace

ClockWindow::ClockWindow(ClockModel& clock, WindowSystem& windowSystem, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint),
      m_clock(clock), m_windowSystem(windowSystem) {
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
    m_secondTimer.setSingleShot(true);
    m_secondTimer.setTimerType(Qt::PreciseTimer);
    m_pointerWatch.setInterval(kPointerWatchIntervalMs);
    m_moveWatch.setInterval(kMoveWatchIntervalMs);
    connect(&m_secondTimer, &QTimer::timeout, this, &ClockWindow::onSecondTimer);
    connect(&m_pointerWatch, &QTimer::timeout, this, &ClockWindow::onPointerWatch);
    connect(&m_moveWatch, &QTimer::timeout, this, &ClockWindow::pollSystemMove);
}

ClockWindow::~ClockWindow() = default;

ScreenDensity ClockWindow::screenDensity() {
    return m_windowSystem.screenDensity();
}

void ClockWindow::loadClockWindow(ClockSettings& settings) {
    m_layout = calcClockLayout(settings);
    m_monitors = m_windowSystem.monitors();
    ovra::checkMonitor(m_monitors, settings);
    fitToLayout();
    loadWindow();
    createDrawTools();
    loadButtonImage();
}

void ClockWindow::applySettings(const ClockSettings& settings) {
    // The surface, the tools and the prepared layers are made anew from settings;
    // making them replaces the ones drawn with so far.
    m_layout = calcClockLayout(settings);
    fitToLayout();
    createDrawTools();
    showClockWindow();
    applyZOrder();
}

void ClockWindow::processPendingEvents() {
    QCoreApplication::processEvents();
}

void ClockWindow::showClockWindow() {
    show();
    // After a re-apply the new surface is still empty: fill it before the window
    // is next painted rather than flash a blank window until the next tick.
    drawClock();
}

void ClockWindow::closeWindows() {
    // Nothing is drawn any more: the tools and the strip image go first.
    deleteDrawTools();
    releaseImages();
    m_others.closeAll();
    close();
}

int ClockWindow::windowSize() const {
    return m_layout.windowSize();
}

void ClockWindow::fitToLayout() {
    const int side = windowSize();
    if (side <= 0)
        return;
    setFixedSize(side, side);
    move(m_clock.settings().position);
    createSurface();
    m_constantAlpha = 255;
    if (!isVisible())
        m_windowSystem.keepOffTaskbar(this);
    updateWindowShape();
}

void ClockWindow::loadWindow() {
    setWindowTitle(QStringLiteral("Ovra Clock {%1}").arg(m_clock.state().clockName));
    move(m_clock.settings().position);
    setHotButton(hotbutton::Hidden);
    applyZOrder();
    armSecondTimer();
    // A pointer already over the window gets its strip; elsewhere the watch sleeps
    // until the pointer enters.
    m_pointerWatch.start();
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

void ClockWindow::createDrawTools() {
    m_tools.createDrawTools(m_clock.settings());
    prepareRenderer();
}

void ClockWindow::deleteDrawTools() {
    m_tools.deleteDrawTools();
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

void ClockWindow::loadButtonImage() {
    // Our own strip image, shipped in the resources as "CLOSE" of type "CUSTOM". A
    // missing or broken image leaves the strip undrawn; the clock runs on. It is
    // read as the PNG it is: left to guess, Qt loads every image format plugin
    // installed to ask each whether it reads PNG, and they stay mapped all day.
    QImageReader reader(QStringLiteral(":/CUSTOM/CLOSE"), "png");
    reader.setAutoDetectImageFormat(false);
    m_buttonImage = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ++m_generation;
}

void ClockWindow::releaseImages() {
    m_buttonImage = QImage();
    ++m_generation;
}

QString ClockWindow::clockName() const {
    return m_clock.state().clockName;
}

bool ClockWindow::twentyFourHour() const {
    return m_clock.settings().twentyFourHour();
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
        keepOnWorkArea();
}

void ClockWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A re-created native window starts without our shape, and Qt writes the
    // window's state afresh when it maps it. Qt maps after this event, and when
    // always on top changed before the first show it maps a new native window: the
    // shape and the state go to that one too, once the show is done.
    updateWindowShape();
    m_windowSystem.keepOffTaskbar(this);
    QTimer::singleShot(0, this, [this] {
        updateWindowShape();
        m_windowSystem.keepOffTaskbar(this);
    });
    keepOnWorkArea();
    drawClock();
}

void ClockWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        drawClock();
}

void ClockWindow::closeEvent(QCloseEvent* event) {
    unloadClock();
    event->accept();
}

void ClockWindow::unloadClock() {
    if (m_unloading)
        return;
    m_unloading = true;
    m_secondTimer.stop();
    m_pointerWatch.stop();
    m_moveWatch.stop();
    deleteSurface();
    emit shutdownRequested(true);
    // A shutdown that was already under way (without saving) did not close us.
    close();
    emit unloaded();
}

} // namespace ovra
