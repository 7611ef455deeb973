#include "dialogs/colourrow.h"

#include "dialogs/colourpicker.h"
#include "dialogs/colourvalue.h"
#include "dialogs/numericreading.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

namespace ovra {

ColourRow::ColourRow(ColourPicker& picker, QWidget* parent)
    : QWidget(parent), m_picker(picker), m_text(new QLineEdit(this)),
      m_choose(new QToolButton(this)) {
    m_choose->setText(QStringLiteral("..."));
    m_choose->setToolTip(tr("Choose a colour and its alpha"));
    m_choose->setAccessibleName(m_choose->toolTip());
    m_choose->setFocusPolicy(Qt::StrongFocus);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_text, 1);
    row->addWidget(m_choose);
    setFocusProxy(m_text);

    connect(m_choose, &QToolButton::clicked, this, &ColourRow::chooseColour);
    connect(m_text, &QLineEdit::textEdited, this, &ColourRow::followTypedText);
    setValue(0);
}

void ColourRow::setValue(int32_t value) {
    m_value = value;
    m_text->setText(colourText(value));
    setBoxColour(colorTransfer(value));
}

void ColourRow::setAppliedValueSource(std::function<int32_t()> source) {
    m_appliedValue = std::move(source);
}

void ColourRow::setStoredValueReading(std::function<int32_t(QStringView)> reading) {
    m_storedValueReading = std::move(reading);
    followTypedText(m_text->text());
}

QString ColourRow::text() const {
    return m_text->text();
}

void ColourRow::setText(const QString& text) {
    m_text->setText(text);
    followTypedText(text);
}

std::optional<int32_t> ColourRow::readValue() const {
    return readNumber(m_text->text());
}

void ColourRow::chooseColour() {
    const int32_t applied = m_appliedValue ? m_appliedValue() : m_value;
    const QPointer<ColourRow> alive(this);
    const std::optional<ChosenColour> chosen =
        chooseColourWithAlpha(m_picker, window(), m_boxColour, applied);
    // The dialog may have gone with the clock while the colour was being chosen.
    if (!chosen || !alive)
        return;
    const int32_t value = toColourValue(chosen->display, chosen->alpha);
    m_text->setText(colourText(value));
    setBoxColour(chosen->display);
    emit colourChosen(value);
}

void ColourRow::setBoxColour(int32_t display) {
    m_boxColour = display & 0xFFFFFF;
    const QColor background = displayToQColor(m_boxColour);
    // Keep the text readable on any colour: dark text on light boxes and back.
    const QColor foreground = qGray(background.rgb()) >= 128 ? Qt::black : Qt::white;
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, foreground);
    m_text->setPalette(palette);
    // The box's colour is spoken too, as hex: the text may not yet say what it shows.
    m_text->setAccessibleDescription(background.name().toUpper());
}

// A typed colour shows in the box at once, as the colour apply would store for it,
// so the box never disagrees with apply.
void ColourRow::followTypedText(const QString& text) {
    if (m_storedValueReading)
        setBoxColour(colorTransfer(m_storedValueReading(text)));
    else if (const std::optional<int32_t> value = readNumber(text))
        setBoxColour(colorTransfer(*value));
}

} // namespace ovra
