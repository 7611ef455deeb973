#pragma once

#include <QLineEdit>

#include <cstdint>
#include <optional>

namespace ovra {

// A size text box of the appearance page. Typing keeps only characters with codes
// 0 to 57 (control characters, the blank, "!" to "/" and the digits), so letters
// never appear while a sign or a point still can. When the box loses the focus its
// text is read as a number, and a number outside the accepted range (or one too large
// to read at all) is replaced by the default text; a number within range stays as
// typed, "64." included.
class SizeField : public QLineEdit {
    Q_OBJECT
public:
    SizeField(int32_t minimum, int32_t maximum, QString defaultText, int maxLength,
              QWidget* parent = nullptr);

    // The focus-loss check.
    void checkRange();
    // Whether a character typed into a size field is kept.
    static bool acceptsCharacter(QChar c);

    int32_t minimum() const { return m_minimum; }
    int32_t maximum() const { return m_maximum; }
    const QString& defaultText() const { return m_defaultText; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int32_t m_minimum;
    int32_t m_maximum;
    QString m_defaultText;
};

} // namespace ovra
