#include "dialogs/linklabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ovra {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Link));
    setPalette(p);
}

void LinkLabel::clearHover() {
    m_hovered = false;
    updateUnderline(hasFocus());
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    updateUnderline(hasFocus());
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    clearHover();
    QLabel::leaveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a press and a release on the label; dragging off it cancels.
void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit activated();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        emit activated();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    updateUnderline(true);
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    updateUnderline(false);
}

void LinkLabel::updateUnderline(bool focused) {
    const bool underline = m_hovered || focused;
    if (font().underline() == underline)
        return;
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
}

} // namespace ovra
