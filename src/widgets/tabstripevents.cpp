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
    emit MouseDown(button, shift, x, y);
}
void TabStrip::onMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y) {
    emit MouseUp(button, shift, x, y);
}
void TabStrip::onMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x,
                           float y) {
    emit MouseMove(buttons, shift, x, y);
}
void TabStrip::onMouseHover(int tab, float x, float y) {
    emit MouseHover(tab, x, y);
}
void TabStrip::onMouseEnter() {
    emit MouseEnter();
}
void TabStrip::onMouseLeave() {
    emit MouseLeave();
}
void TabStrip::onClick() {
    emit Click();
}
void TabStrip::onDblClick() {
    emit DblClick();
}
void TabStrip::onControlBoxEnter() {
    emit ControlBoxEnter();
}
void TabStrip::onControlBoxExit() {
    emit ControlBoxExit();
}
void TabStrip::onControlBoxHover(float x, float y) {
    emit ControlBoxHover(x, y);
}
void TabStrip::onControlBoxMouseDown(float x, float y) {
    emit ControlBoxMouseDown(x, y);
}
void TabStrip::onControlBoxMouseUp(float x, float y) {
    emit ControlBoxMouseUp(x, y);
}
void TabStrip::onMouseScrollUp() {
    emit MouseScrollUp();
}
void TabStrip::onMouseScrollDown() {
    emit MouseScrollDown();
}
void TabStrip::onKeyDown(int key, Qt::KeyboardModifiers shift) {
    emit KeyDown(key, shift);
}
void TabStrip::onKeyUp(int key, Qt::KeyboardModifiers shift) {
    emit KeyUp(key, shift);
}
void TabStrip::onKeyPress(int charCode) {
    emit KeyPress(charCode);
}

} // namespace ovra
