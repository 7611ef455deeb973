#include "dialogs/displaynameedit.h"

#include <QKeyEvent>
#include <QTimer>

namespace ovra {

DisplayNameEdit::DisplayNameEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kMaxLength);
}

void DisplayNameEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.contains(u'{') || typed.contains(u'}')) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DisplayNameEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A click that gave the focus would place the cursor right after this and drop
    // the selection; selecting once the click is through keeps it.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
}

} // namespace ovra
