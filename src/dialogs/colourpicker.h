#pragma once

#include <QColor>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace ovra {

// The two dialogs a colour row goes through: the colour dialog, then the alpha
// dialog. A seam, so tests can answer them without a modal loop.
class ColourPicker {
public:
    virtual ~ColourPicker() = default;
    // Colour dialog preset to a display colour; nullopt when the user cancels.
    virtual std::optional<int32_t> pickColour(QWidget* owner, int32_t initialDisplay) = 0;
    // Alpha dialog starting at startAlpha; returns the alpha it ends with, which is
    // startAlpha again when the user closes it without "OK".
    virtual int pickAlpha(QWidget* owner, int startAlpha) = 0;
};

// QColorDialog, then AlphaDialog (kept above other windows while the clock is).
class DialogColourPicker final : public ColourPicker {
public:
    explicit DialogColourPicker(std::function<bool()> alwaysOnTop = {});
    std::optional<int32_t> pickColour(QWidget* owner, int32_t initialDisplay) override;
    int pickAlpha(QWidget* owner, int startAlpha) override;

private:
    std::function<bool()> m_alwaysOnTop;
};

struct ChosenColour {
    int32_t display; // 0x00BBGGRR
    int alpha;       // 0..255
};

// Lets the user pick a colour and then its alpha. The alpha dialog starts at the
// alpha of currentValue when the colour was kept, and fully opaque for a new one.
// nullopt when the colour dialog was cancelled; the alpha dialog is not shown then.
std::optional<ChosenColour> chooseColourWithAlpha(ColourPicker& picker, QWidget* owner,
                                                  int32_t initialDisplay, int32_t currentValue);

QColor displayToQColor(int32_t display);
int32_t qColorToDisplay(const QColor& colour);

} // namespace ovra
