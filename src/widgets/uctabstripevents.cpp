// ucTabStrip: the event handlers, which pass input on to TabStripInput, and the
// strip's side of TabStripInputHost, which turns the rules' notifications into signals.
#include "widgets/uctabstrip.h"

#include "widgets/tabstriplayout.h"
#include "widgets/tabstripwindowwatcher.h"

#include <QCursor>
#include <QEvent>

namespace ovra {

// ---- events ------------------------------------------------------------------------------

bool ucTabStrip::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        m_watcher->watch(window());
    return QWidget::event(event);
}

void ucTabStrip::mousePressEvent(QMouseEvent* event) {
    m_input->mousePress(event);
}
void ucTabStrip::mouseReleaseEvent(QMouseEvent* event) {
    m_input->mouseRelease(event);
}
void ucTabStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    m_input->mouseDoubleClick(event);
}
void ucTabStrip::mouseMoveEvent(QMouseEvent* event) {
    m_input->mouseMove(event);
}
void ucTabStrip::wheelEvent(QWheelEvent* event) {
    m_input->wheel(event);
}
void ucTabStrip::keyPressEvent(QKeyEvent* event) {
    m_input->keyPress(event);
}
void ucTabStrip::keyReleaseEvent(QKeyEvent* event) {
    m_input->keyRelease(event);
}
void ucTabStrip::enterEvent(QEnterEvent*) {
    m_input->enter();
}
void ucTabStrip::leaveEvent(QEvent*) {
    m_input->leave();
}

void ucTabStrip::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void ucTabStrip::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void ucTabStrip::changeEvent(QEvent* event) {
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

void ucTabStrip::showEvent(QShowEvent* event) {
    m_watcher->watch(window());
    raiseCompleteInit();
    QWidget::showEvent(event);
}

// ---- TabStripInputHost -----------------------------------------------------------------

int ucTabStrip::inputRowHeight() const {
    return TabStripLayout::rowHeight(m_activeTabHeight, m_inactiveTabHeight);
}

QPoint ucTabStrip::inputPointer() const {
    return mapFromGlobal(QCursor::pos());
}

void ucTabStrip::onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x,
                             float y) {
    emit MouseDown(button, shift, x, y);
}
void ucTabStrip::onMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y) {
    emit MouseUp(button, shift, x, y);
}
void ucTabStrip::onMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x,
                             float y) {
    emit MouseMove(buttons, shift, x, y);
}
void ucTabStrip::onMouseHover(int tab, float x, float y) {
    emit MouseHover(tab, x, y);
}
void ucTabStrip::onMouseEnter() {
    emit MouseEnter();
}
void ucTabStrip::onMouseLeave() {
    emit MouseLeave();
}
void ucTabStrip::onClick() {
    emit Click();
}
void ucTabStrip::onDblClick() {
    emit DblClick();
}
void ucTabStrip::onControlBoxEnter() {
    emit ControlBoxEnter();
}
void ucTabStrip::onControlBoxExit() {
    emit ControlBoxExit();
}
void ucTabStrip::onControlBoxHover(float x, float y) {
    emit ControlBoxHover(x, y);
}
void ucTabStrip::onControlBoxMouseDown(float x, float y) {
    emit ControlBoxMouseDown(x, y);
}
void ucTabStrip::onControlBoxMouseUp(float x, float y) {
    emit ControlBoxMouseUp(x, y);
}
void ucTabStrip::onMouseScrollUp() {
    emit MouseScrollUp();
}
void ucTabStrip::onMouseScrollDown() {
    emit MouseScrollDown();
}
void ucTabStrip::onKeyDown(int key, Qt::KeyboardModifiers shift) {
    emit KeyDown(key, shift);
}
void ucTabStrip::onKeyUp(int key, Qt::KeyboardModifiers shift) {
    emit KeyUp(key, shift);
}
void ucTabStrip::onKeyPress(int charCode) {
    emit KeyPress(charCode);
}

} // namespace ovra
