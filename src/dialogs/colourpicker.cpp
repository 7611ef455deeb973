#include "dialogs/colourpicker.h"

#include "dialogs/alphadialog.h"
#include "dialogs/colourvalue.h"
#include "dialogs/toolkitsettings.h"

#include <QColorDialog>
#include <QPointer>

namespace ovra {

DialogColourPicker::DialogColourPicker(std::function<bool()> alwaysOnTop)
    : m_alwaysOnTop(std::move(alwaysOnTop)) {}

std::optional<int32_t> DialogColourPicker::pickColour(QWidget* owner, int32_t initialDisplay) {
    // Qt's own dialog on every desktop: it opens with the colour preset and shows
    // the full editor at once. The alpha is asked for separately, afterwards.
    // On the heap: the owner may be deleted while the dialog runs (the clock closed
    // underneath it), and takes its children with it.
    // Every call starts from a fresh custom-colour table whose first entry is the
    // initial colour, so nothing picked earlier, here or by another Qt program, shows.
    keepToolkitSettingsOutOfTheUserFolder();
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i,
                                     i == 0 ? displayToQColor(initialDisplay) : QColor(Qt::black));
    const QPointer<QColorDialog> dialog = new QColorDialog(displayToQColor(initialDisplay), owner);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    const int result = dialog->exec();
    if (!dialog)
        return std::nullopt;
    const QColor chosen = dialog->selectedColor();
    delete dialog.data();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return qColorToDisplay(chosen);
}

int DialogColourPicker::pickAlpha(QWidget* owner, int startAlpha) {
    const bool onTop = m_alwaysOnTop && m_alwaysOnTop();
    return AlphaDialog::ask(owner, startAlpha, onTop);
}

std::optional<ChosenColour> chooseColourWithAlpha(ColourPicker& picker, QWidget* owner,
                                                  int32_t initialDisplay, int32_t currentValue) {
    const QPointer<QWidget> alive(owner);
    const std::optional<int32_t> chosen = picker.pickColour(owner, initialDisplay);
    // An owner that went while the colour dialog was open gets no alpha dialog.
    if (!chosen || (owner && !alive))
        return std::nullopt;
    // Keeping the colour keeps its alpha; a new colour starts opaque, whatever the
    // alpha of the colour it replaces.
    const bool kept = (*chosen & 0xFFFFFF) == (initialDisplay & 0xFFFFFF);
    const int start = kept ? alphaOf(currentValue) : 255;
    return ChosenColour{*chosen, picker.pickAlpha(owner, start)};
}

QColor displayToQColor(int32_t display) {
    const auto c = uint32_t(display);
    return QColor(int(c & 0xFFu), int((c >> 8) & 0xFFu), int((c >> 16) & 0xFFu));
}

int32_t qColorToDisplay(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return int32_t(uint32_t(rgb.red()) | (uint32_t(rgb.green()) << 8) |
                   (uint32_t(rgb.blue()) << 16));
}

} // namespace ovra
