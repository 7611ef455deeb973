#pragma once

#include <QColor>
#include <QMetaType>
#include <QPalette>
#include <QString>

#include <array>
#include <optional>

namespace ovra {

// A colour of the tab strip: a fixed colour, or an entry of the strip's palette that
// is looked up each time the strip draws, so it follows the desktop's colours.
// Colours are opaque; an alpha given with a fixed colour is dropped.
class TabColor {
public:
    TabColor() = default; // black
    // Implicit: wherever a tab colour is asked for, a fixed colour will do.
    TabColor(const QColor& color) : m_color(color.red(), color.green(), color.blue()) {}
    TabColor(QPalette::ColorGroup group, QPalette::ColorRole role) : m_group(group), m_role(role) {}

    bool followsPalette() const { return m_role != QPalette::NoRole; }
    QPalette::ColorGroup group() const { return m_group; }
    QPalette::ColorRole role() const { return m_role; }
    // The fixed colour; black for one that follows the palette.
    QColor fixedColor() const { return followsPalette() ? QColor(0, 0, 0) : m_color; }
    // The colour it draws with under palette.
    QColor resolved(const QPalette& palette) const;

    // The number a property bag held for this colour, where it was read from one:
    // several numbers stand for one palette entry or one fixed colour, and a bag
    // written back must keep the one it had. A colour set afresh has none.
    std::optional<quint32> storedNumber() const { return m_stored; }
    TabColor withStoredNumber(quint32 stored) const {
        TabColor c = *this;
        c.m_stored = stored;
        return c;
    }
    TabColor withoutStoredNumber() const { return {m_color, m_group, m_role}; }

    // Equal colours draw alike, whatever number they were read from.
    friend bool operator==(const TabColor& a, const TabColor& b) {
        return a.m_color == b.m_color && a.m_group == b.m_group && a.m_role == b.m_role;
    }

private:
    TabColor(const QColor& color, QPalette::ColorGroup group, QPalette::ColorRole role)
        : m_color(color), m_group(group), m_role(role) {}

    QColor m_color{0, 0, 0};
    QPalette::ColorGroup m_group = QPalette::Active;
    QPalette::ColorRole m_role = QPalette::NoRole;
    std::optional<quint32> m_stored;
};

// The palette entries the strip's defaults and themes are made of.
namespace tabpalette {
inline const TabColor button{QPalette::Active, QPalette::Button};
inline const TabColor buttonText{QPalette::Active, QPalette::ButtonText};
inline const TabColor dark{QPalette::Active, QPalette::Dark};
inline const TabColor light{QPalette::Active, QPalette::Light};
inline const TabColor midlight{QPalette::Active, QPalette::Midlight};
inline const TabColor shadow{QPalette::Active, QPalette::Shadow};
inline const TabColor disabledText{QPalette::Disabled, QPalette::Text};
inline const TabColor highlight{QPalette::Active, QPalette::Highlight};
} // namespace tabpalette

// Every colour property of the strip.
struct TabColors {
    TabColor activeTabBackStart = tabpalette::button;
    TabColor activeTabBackEnd = tabpalette::button;
    TabColor inactiveTabBackStart = tabpalette::button;
    TabColor inactiveTabBackEnd = tabpalette::button;
    TabColor activeTabFore = tabpalette::buttonText;
    TabColor inactiveTabFore = tabpalette::buttonText;
    TabColor disabledTabBack = tabpalette::dark;
    TabColor disabledTabFore = tabpalette::light;
    TabColor outerBorder = tabpalette::shadow;
    TabColor topLeftInnerBorder = tabpalette::light;
    TabColor bottomRightInnerBorder = tabpalette::dark;
    TabColor tabStripBack = tabpalette::button; // replaced by the container's colour
    TabColor back = tabpalette::button;
    TabColor fore = QColor(0, 0, 0);
    TabColor hover = QColor(0xFF, 0xC7, 0x3B);
    TabColor focused = QColor(0x69, 0x82, 0xEE);
    TabColor pictureMask = QColor(0xC0, 0xC0, 0xC0);

    friend bool operator==(const TabColors&, const TabColors&) = default;
};

struct TabColorField {
    const char* name; // property name and persisted key
    TabColor TabColors::*member;
};

// The colour properties in their persisted order.
extern const std::array<TabColorField, 17> kTabColorFields;

inline constexpr int kThemeCount = 5;

// Applies the colour set of a theme (0..4) to colors; values a theme does not list
// keep their current value. containerBack is the container's background colour.
void applyThemeColors(int theme, TabColors& colors, const TabColor& containerBack,
                      const QPalette& palette);

// The visual style the desktop reports: the widget style's name, "None" for the
// classic style or no name, "UxTheme_Error" when there is no style to ask.
QString detectVisualStyle();

// 1 when a visual style is in use, else 0.
int detectedTheme();

} // namespace ovra

Q_DECLARE_METATYPE(ovra::TabColor)
