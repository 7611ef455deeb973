// TabStrip: the event handlers, which pass input on to TabStripInput, and the
// strip's side of TabStripInputHost, which turns the rules' notifications into signals.
#include "widgets/tabstrip.h"

#include "widgets/tabstriplayout.h"
#include "widgets/tabstripwindowwatcher.h"

#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ovra {

// ---- events ------------------------------------------------------------------------------

bool TabStrip::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        m_watcher->watch(window());
    return QWidget::event(event);
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
    m_input->mousePress(event);
}
void TabStrip::mouseReleaseEvent(QMouseEvent* event) {
    m_input->mouseRelease(event);
}
void TabStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    m_input->mouseDoubleClick(event);
}
void TabStrip::mouseMoveEvent(QMouseEvent* event) {
    m_input->mouseMove(event);
}
void TabStrip::wheelEvent(QWheelEvent* event) {
    m_input->wheel(event);
}
void TabStrip::keyPressEvent(QKeyEvent* event) {
    m_input->keyPress(event);
}
void TabStrip::keyReleaseEvent(QKeyEvent* event) {
    m_input->keyRelease(event);
}
void TabStrip::enterEvent(QEnterEvent*) {
    m_input->enter();
}
void TabStrip::leaveEvent(QEvent*) {
    m_input->leave();
}

void TabStrip::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void TabStrip::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void TabStrip::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ActivationChange:
        m_input->resetHover();
        update();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
        updateGeometry();
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TabStrip::showEvent(QShowEvent* event) {
    m_watcher->watch(window());
    raiseCompleteInit();
    QWidget::showEvent(event);
}

// ---- TabStripInputHost -----------------------------------------------------------------

int TabStrip::inputRowHeight() const {
    return TabStripLayout::rowHeight(m_activeTabHeight, m_inactiveTabHeight);
}

QPoint TabStrip::inputPointer() const {
    return mapFromGlobal(QCursor::pos());
}

void TabStrip::onMouseDown(const QMouseEvent& event) {
    emit mouseDown(event.button(), event.modifiers(), event.position());
}
void TabStrip::onMouseUp(const QMouseEvent& event) {
    emit mouseUp(event.button(), event.modifiers(), event.position());
}
void TabStrip::onMouseMove(const QMouseEvent& event) {
    emit mouseMove(event.buttons(), event.modifiers(), event.position());
}
void TabStrip::onMouseHover(int tab, QPointF position) {
    emit mouseHover(tab, position);
}
void TabStrip::onMouseEnter() {
    emit mouseEnter();
}
void TabStrip::onMouseLeave() {
    emit mouseLeave();
}
void TabStrip::onClick() {
    emit click();
}
void TabStrip::onDblClick() {
    emit doubleClick();
}
void TabStrip::onControlBoxEnter() {
    emit controlBoxEnter();
}
void TabStrip::onControlBoxExit() {
    emit controlBoxExit();
}
void TabStrip::onControlBoxHover(QPointF position) {
    emit controlBoxHover(position);
}
void TabStrip::onControlBoxMouseDown(QPointF position) {
    emit controlBoxMouseDown(position);
}
void TabStrip::onControlBoxMouseUp(QPointF position) {
    emit controlBoxMouseUp(position);
}
void TabStrip::onMouseScrollUp() {
    emit mouseScrollUp();
}
void TabStrip::onMouseScrollDown() {
    emit mouseScrollDown();
}
void TabStrip::onKeyDown(const QKeyEvent& event) {
    emit keyDown(event.key(), event.modifiers());
}
void TabStrip::onKeyUp(const QKeyEvent& event) {
    emit keyUp(event.key(), event.modifiers());
}
void TabStrip::onKeyPress(QChar character) {
    emit keyPress(character);
}

} // namespace ovra
