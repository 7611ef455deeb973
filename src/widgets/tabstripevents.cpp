// TabStrip: the event handlers, which pass input on to TabStripInput, and the
// strip's side of TabStripInputHost, which turns the rules' notifications into signals.
#include "widgets/tabstrip.h"

#include "widgets/tabstriplayout.h"
#include "widgets/tabstripwindowwatcher.h"

#include <QCursor>
#include <QEvent>

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

void TabStrip::onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y) {
    emit mouseDown(button, shift, x, y);
}
void TabStrip::onMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y) {
    emit mouseUp(button, shift, x, y);
}
void TabStrip::onMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x,
                           float y) {
    emit mouseMove(buttons, shift, x, y);
}
void TabStrip::onMouseHover(int tab, float x, float y) {
    emit mouseHover(tab, x, y);
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
void TabStrip::onControlBoxHover(float x, float y) {
    emit controlBoxHover(x, y);
}
void TabStrip::onControlBoxMouseDown(float x, float y) {
    emit controlBoxMouseDown(x, y);
}
void TabStrip::onControlBoxMouseUp(float x, float y) {
    emit controlBoxMouseUp(x, y);
}
void TabStrip::onMouseScrollUp() {
    emit mouseScrollUp();
}
void TabStrip::onMouseScrollDown() {
    emit mouseScrollDown();
}
void TabStrip::onKeyDown(int key, Qt::KeyboardModifiers shift) {
    emit keyDown(key, shift);
}
void TabStrip::onKeyUp(int key, Qt::KeyboardModifiers shift) {
    emit keyUp(key, shift);
}
void TabStrip::onKeyPress(int charCode) {
    emit keyPress(charCode);
}

} // namespace ovra
