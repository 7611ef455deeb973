#include "dialogs/sizefield.h"

#include "dialogs/numericreading.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace ovra {

SizeField::SizeField(int32_t minimum, int32_t maximum, QString defaultText, int maxLength,
                     QWidget* parent)
    : QLineEdit(parent), m_minimum(minimum), m_maximum(maximum),
      m_defaultText(std::move(defaultText)) {
    setMaxLength(maxLength);
}

bool SizeField::acceptsCharacter(QChar c) {
    return c.unicode() <= 57;
}

void SizeField::checkRange() {
    const std::optional<int32_t> value = readNumber(text());
    if (!value || *value < m_minimum || *value > m_maximum)
        setText(m_defaultText);
}

void SizeField::keyPressEvent(QKeyEvent* event) {
    // Keys without text (arrows, Delete, Home) edit as usual; Ctrl+V and friends
    // come as control characters and are kept, as the filter only looks at typing.
    const QString typed = event->text();
    for (const QChar c : typed) {
        if (!acceptsCharacter(c)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void SizeField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another program or opening a menu is not leaving the field: the
    // user comes back to finish typing.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        checkRange();
}

} // namespace ovra
