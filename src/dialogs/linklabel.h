#pragma once

#include <QLabel>

namespace ovra {

// A text that works like a link: hand cursor, underlined while the pointer is over
// it or it has the keyboard focus, activated by a click or by Return or Space.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    bool underlined() const { return font().underline(); }
    // The pointer left for the surrounding window's background.
    void clearHover();

signals:
    void activated();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateUnderline(bool focused);

    bool m_hovered = false;
    bool m_pressed = false;
};

} // namespace ovra
