#pragma once

#include <QLineEdit>

namespace ovra {

// The clocks page's name box: at most 64 characters, "{" and "}" cannot be typed
// (they delimit the names in the clock list), and the whole text is selected when
// the box gets the focus, so a new name simply replaces the old one.
class DisplayNameEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 64;

    explicit DisplayNameEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace ovra
