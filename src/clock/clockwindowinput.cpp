// ClockWindow: pointer, keys, the strip's buttons, moving, and where the window stands.
#include "clock/clockwindow.h"

#include "clock/clockaccessible.h"
#include "clock/clockwindowhost.h"
#include "clock/monitors.h"
#include "clock/poolthreadpainter.h"
#include "clock/windowsystem.h"
#include "settings/clockmodel.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

Q_LOGGING_CATEGORY(lcMove, "ovra.clock.move", QtWarningMsg)

namespace {
// A window manager that takes the move grabs the pointer within a few
// milliseconds; one that still leaves the pointer to the clock this long after the
// press, while the pointer travels and the window stays, has ignored the request.
constexpr int kSystemMoveGraceMs = 100;
constexpr int kDragThresholdPx = 3;
// A window manager takes the keyboard for its move by the keys at once; one that
// has not within this time has refused the request.
constexpr int kKeyboardMoveGraceMs = 1000;
} // namespace

void ClockWindow::applyZOrder() {
    const bool onTop = m_clock.settings().alwaysOnTop;
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
        m_windowSystem.keepOffTaskbar(this);
}

void ClockWindow::getMonitorID() {
    ovra::getMonitorID(m_monitors, m_windowSystem.pointerPos(), m_clock.settings());
}

void ClockWindow::keepOnWorkArea(std::optional<QPoint> where) {
    if (windowSize() <= 0)
        return;
    const QPoint from = where.value_or(pos());
    const QPoint p = ovra::keepOnWorkArea(m_monitors, m_windowSystem.primaryWorkArea(), from,
                                          windowSize(), m_clock.settings());
    if (p != pos() || p != from)
        move(p);
}

QScreen* ClockWindow::currentScreen() const {
    if (QScreen* s = screen())
        return s;
    return Monitors::screenFor(m_clock.settings().monitor);
}

QRegion ClockWindow::shapeRegion() const {
    const ClockLayout& l = m_layout;
    if (!l.isValid())
        return {};
    // Every pixel the outermost drawing touches: the focus ring 1 px outside the
    // dial, 2 px wide, drawn half a pixel off like every shape, plus its soft edge.
    // The shape also clips what is shown, so it must not cut into that edge.
    const QPointF centre = l.dialRect.center() + QPointF(0.5, 0.5);
    const double radius = l.dialRect.width() / 2 + 3;
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
        m_windowSystem.setWindowShape(this, shapeRegion());
}

void ClockWindow::setHotButton(int32_t value) {
    if (value == m_hotButton)
        return;
    const bool stripChanged = (value == hotbutton::Hidden) != (m_hotButton == hotbutton::Hidden);
    m_hotButton = value;
    if (stripChanged && testAttribute(Qt::WA_WState_Created))
        updateWindowShape();
    // The strip answers the pointer at once rather than at the next drawing tick.
    drawClock();
}

void ClockWindow::onPointerWatch() {
    const PointerWatchResult r =
        pointerWatch({m_windowSystem.pointerPos(), pos(), windowSize(), m_hotButton});
    setHotButton(r.hotButton);
    if (!r.keepWatching)
        m_pointerWatch.stop();
}

void ClockWindow::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (m_unloading || m_manualMove || m_systemMove)
        return;
    m_pointerWatch.start();
    setHotButton(hitZone(event->position().toPoint(), windowSize()));
}

void ClockWindow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // The pointer watch decides from where the pointer really is: a leave that comes
    // with a grab (a move by the window manager) keeps the strip.
    if (m_pointerWatch.isActive())
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
    if (!m_pointerWatch.isActive() && !m_unloading)
        m_pointerWatch.start();
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
    if (m_windowSystem.startSystemMove(this)) {
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
    if (m_keyboardMove) {
        pollKeyboardMove();
        return;
    }
    if (m_windowSystem.pointerButtonsDown())
        return;
    m_moveWatch.stop();
    m_systemMove = false;
    qCDebug(lcMove) << "window manager move ended at" << pos();
    finishMove();
}

bool ClockWindow::canMoveByKeyboard() const {
    return m_windowSystem.offersKeyboardMove();
}

void ClockWindow::startKeyboardMove() {
    if (m_unloading || m_manualMove || m_systemMove || m_keyboardMove ||
        !m_windowSystem.startKeyboardMove(this))
        return;
    qCDebug(lcMove) << "keyboard move handed to the window manager";
    m_keyboardMove = true;
    m_keyboardTaken = false;
    m_sincePress.start();
    m_moveWatch.start();
}

void ClockWindow::pollKeyboardMove() {
    // The window manager keeps the arrow keys and the Return that ends the move for
    // itself; the end shows as its hold on the keyboard let go.
    if (m_windowSystem.keyboardHeldElsewhere()) {
        m_keyboardTaken = true;
        return;
    }
    if (!m_keyboardTaken && m_sincePress.elapsed() < kKeyboardMoveGraceMs)
        return;
    m_moveWatch.stop();
    m_keyboardMove = false;
    const QPoint where = m_windowSystem.windowPosition(this);
    qCDebug(lcMove) << "keyboard move ended at" << where;
    // The pointer stays wherever it was while the keys moved the clock: the clock
    // belongs to the monitor under its centre, and is kept in that one's work area.
    ovra::getMonitorID(m_monitors, where + rect().center(), m_clock.settings());
    keepOnWorkArea(where);
    emit moveFinished();
}

void ClockWindow::finishMove() {
    getMonitorID();
    // The window manager has moved the window, but Qt may not have heard of it yet.
    keepOnWorkArea(m_windowSystem.windowPosition(this));
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
        faceClicked();
}

void ClockWindow::faceClicked() {
    // A press that began elsewhere and ends on the grip is no press of the grip.
    if (m_hotButton != hotbutton::Grip)
        pressStripButton(m_hotButton);
}

void ClockWindow::pressStripButton(int32_t button) {
    if (button == hotbutton::Close)
        emit shutdownRequested(true);
    else if (button == hotbutton::Settings)
        emit settingsRequested(true);
    else if (button == hotbutton::Grip)
        startKeyboardMove();
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

} // namespace ovra
