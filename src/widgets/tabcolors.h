#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include <array>
#include <cstdint>

namespace ovra {

// Colours of the tab strip: 0x00BBGGRR (red in the lowest byte), or a system colour
// index with the top bit set (0x800000nn) that follows the palette.
using OleColor = quint32;

namespace syscolor {
inline constexpr OleColor ActiveCaption = 0x80000002;
inline constexpr OleColor ButtonFace = 0x8000000F;
inline constexpr OleColor ButtonShadow = 0x80000010;
inline constexpr OleColor GrayText = 0x80000011;
inline constexpr OleColor ButtonText = 0x80000012;
inline constexpr OleColor ButtonHighlight = 0x80000014;
inline constexpr OleColor DarkShadow3D = 0x80000015;
inline constexpr OleColor Light3D = 0x80000016;
} // namespace syscolor

inline bool isSystemColor(OleColor color) {
    return (color & 0xFF000000u) == 0x80000000u;
}

// The RGB value of a colour. System colours are looked up in the palette; an index
// the system does not define gives black, as a failed translation would.
QColor translateOleColor(OleColor color, const QPalette& palette);

// 0x00BBGGRR for an RGB colour (alpha dropped).
OleColor oleColorFromRgb(const QColor& color);

// Adds delta to each of red, green and blue of the translated colour, clamped to 0..255.
OleColor shiftOleColor(OleColor color, int delta, const QPalette& palette);

// Every colour property of the strip.
struct TabColors {
    OleColor ActiveTabBackStartColor = syscolor::ButtonFace;
    OleColor ActiveTabBackEndColor = syscolor::ButtonFace;
    OleColor InActiveTabBackStartColor = syscolor::ButtonFace;
    OleColor InActiveTabBackEndColor = syscolor::ButtonFace;
    OleColor ActiveTabForeColor = syscolor::ButtonText;
    OleColor InActiveTabForeColor = syscolor::ButtonText;
    OleColor DisabledTabBackColor = syscolor::ButtonShadow;
    OleColor DisabledTabForeColor = syscolor::ButtonHighlight;
    OleColor OuterBorderColor = syscolor::DarkShadow3D;
    OleColor TopLeftInnerBorderColor = syscolor::ButtonHighlight;
    OleColor BottomRightInnerBorderColor = syscolor::ButtonShadow;
    OleColor TabStripBackColor = syscolor::ButtonFace; // replaced by the container's colour
    OleColor BackColor = syscolor::ButtonFace;
    OleColor ForeColor = 0;
    OleColor HoverColor = 0x003BC7FF;
    OleColor FocusedColor = 0x00EE8269;
    OleColor PictureMaskColor = 0x00C0C0C0;

    friend bool operator==(const TabColors&, const TabColors&) = default;
};

struct TabColorField {
    const char* name; // property name and persisted key
    OleColor TabColors::*member;
};

// The colour properties in their persisted order.
extern const std::array<TabColorField, 17> kTabColorFields;

inline constexpr int kThemeCount = 5;

// Applies the colour set of a theme (0..4) to colors; values a theme does not list
// keep their current value. containerBack is the container's background colour.
void applyThemeColors(int theme, TabColors& colors, OleColor containerBack,
                      const QPalette& palette);

// The visual style the desktop reports: the widget style's name, "None" for the
// classic style or no name, "UxTheme_Error" when there is no style to ask.
QString detectVisualStyle();

// 1 when a visual style is in use, else 0.
int detectedTheme();

} // namespace ovra
