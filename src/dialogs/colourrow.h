#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QLineEdit;
class QToolButton;

namespace ovra {

class ColourPicker;

// One colour row of the appearance page: a text box that holds the colour value as
// "&H" hexadecimal text on a background of that colour, and a "..." button that
// runs the colour and alpha dialogs. The text is the only carrier of an edit: the
// record changes only when the settings dialog reads the text back on apply.
class ColourRow : public QWidget {
    Q_OBJECT
public:
    explicit ColourRow(ColourPicker& picker, QWidget* parent = nullptr);

    // Fills the row from a colour value (text and background).
    void setValue(int32_t value);
    // Where the row finds the value last applied to the record. The alpha dialog
    // starts from its alpha when the user keeps the colour shown. Without a
    // source, the value last given to setValue counts.
    void setAppliedValueSource(std::function<int32_t()> source);
    // What an apply would store for a text; the box shows that value's colour while
    // the user types. Without one the box follows any text that reads as a number.
    void setStoredValueReading(std::function<int32_t(QStringView)> reading);

    QString text() const;
    void setText(const QString& text);
    // The row's text read as a number; nullopt when it is out of range.
    std::optional<int32_t> readValue() const;
    // The background of the text box as a display colour (0x00BBGGRR).
    int32_t boxColour() const { return m_boxColour; }

    QLineEdit* textBox() const { return m_text; }
    QToolButton* chooseButton() const { return m_choose; }

public slots:
    // The "..." button: colour dialog, then alpha dialog. Cancel changes nothing.
    void chooseColour();

signals:
    // A colour was chosen through the dialogs; value is the row's new colour value.
    void colourChosen(int32_t value);

private:
    void setBoxColour(int32_t display);
    void followTypedText(const QString& text);

    ColourPicker& m_picker;
    QLineEdit* m_text;
    QToolButton* m_choose;
    int32_t m_boxColour = 0;
    int32_t m_value = 0;
    std::function<int32_t()> m_appliedValue;
    std::function<int32_t(QStringView)> m_storedValueReading;
};

} // namespace ovra
