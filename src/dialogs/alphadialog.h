#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollBar;

namespace ovra {

// "Set Color Alpha Value": asks for the alpha of the colour just chosen for a colour
// row, from 0 (transparent) to 255 (opaque). Only "OK" changes the result; closing
// the window any other way leaves the alpha it started with.
class AlphaDialog : public QDialog {
    Q_OBJECT
public:
    AlphaDialog(int colourAlpha, bool alwaysOnTop, QWidget* parent = nullptr);

    // Shows the dialog modal and returns the resulting alpha.
    static int ask(QWidget* parent, int colourAlpha, bool alwaysOnTop);

    int colourAlpha() const { return m_colourAlpha; }

    QLabel* valueLabel() const { return m_valueLabel; }
    QScrollBar* valueBar() const { return m_valueBar; }
    QPushButton* okButton() const { return m_okButton; }

private:
    void showValue(int value);
    void acceptValue();

    int m_colourAlpha;
    QLabel* m_valueLabel;
    QScrollBar* m_valueBar;
    QPushButton* m_okButton;
};

} // namespace ovra
