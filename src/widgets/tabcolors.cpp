#include "widgets/tabcolors.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>

namespace ovra {

namespace {

// A theme's entry for one colour: a colour, or what the theme does instead.
struct ThemeValue {
    enum class Kind { Colour, Keep, Container, CaptionPlus16, CaptionMinus16 };
    ThemeValue(const TabColor& c) : colour(c) {}
    ThemeValue(Kind k) : kind(k) {}
    Kind kind = Kind::Colour;
    TabColor colour;
};

struct ThemeRow {
    TabColor TabColors::*member;
    std::array<ThemeValue, kThemeCount> values;
};

TabColor rgb(QRgb value) {
    return QColor::fromRgb(value);
}

// The caption colour (the palette's highlight) made lighter or darker by delta in each
// of red, green and blue, clamped to 0..255.
TabColor shiftedCaption(int delta, const QPalette& palette) {
    const QColor c = tabpalette::highlight.resolved(palette);
    auto shift = [delta](int v) {
        return std::clamp(v + delta, 0, 255);
    };
    return QColor(shift(c.red()), shift(c.green()), shift(c.blue()));
}

const std::array<ThemeRow, 14>& themeRows() {
    using namespace tabpalette;
    const ThemeValue keep(ThemeValue::Kind::Keep);
    const ThemeValue container(ThemeValue::Kind::Container);
    const ThemeValue captionPlus16(ThemeValue::Kind::CaptionPlus16);
    const ThemeValue captionMinus16(ThemeValue::Kind::CaptionMinus16);
    // clang-format off
    static const std::array<ThemeRow, 14> rows{{
        {&TabColors::activeTabBackStart,     {button, rgb(0xFBFDFB), button, rgb(0xF8F8F8), rgb(0xFBF8E7)}},
        {&TabColors::activeTabBackEnd,       {button, rgb(0xFBFDFB), button, keep, rgb(0xF0EDDC)}},
        {&TabColors::activeTabFore,          {buttonText, buttonText, buttonText, rgb(0x506DA7), buttonText}},
        {&TabColors::inactiveTabBackStart,   {button, rgb(0xFFFFFF), midlight, rgb(0xE5E5E5), rgb(0xF0EDDC)}},
        {&TabColors::inactiveTabBackEnd,     {button, rgb(0xF0F0EA), midlight, keep, rgb(0xDFDCCB)}},
        {&TabColors::inactiveTabFore,        {buttonText, buttonText, disabledText, rgb(0x909090), buttonText}},
        {&TabColors::tabStripBack,           {container, container, midlight, button, container}},
        {&TabColors::disabledTabBack,        {button, button, button, button, button}},
        {&TabColors::disabledTabFore,        {shadow, rgb(0xA0A0A0), shadow, shadow, rgb(0xA0A0A0)}},
        {&TabColors::outerBorder,            {shadow, rgb(0x919C9B), light, rgb(0x909090), rgb(0xBCB9A8)}},
        {&TabColors::topLeftInnerBorder,     {light, keep, keep, keep, light}},
        {&TabColors::bottomRightInnerBorder, {dark, keep, dark, keep, dark}},
        {&TabColors::hover,                  {keep, rgb(0xFFC73B), keep, keep, captionPlus16}},
        {&TabColors::focused,                {keep, rgb(0x6982EE), keep, keep, captionMinus16}},
    }};
    // clang-format on
    return rows;
}

} // namespace

const std::array<TabColorField, 17> kTabColorFields{{
    {"ActiveTabBackStartColor", &TabColors::activeTabBackStart},
    {"ActiveTabBackEndColor", &TabColors::activeTabBackEnd},
    {"InActiveTabBackStartColor", &TabColors::inactiveTabBackStart},
    {"InActiveTabBackEndColor", &TabColors::inactiveTabBackEnd},
    {"ActiveTabForeColor", &TabColors::activeTabFore},
    {"InActiveTabForeColor", &TabColors::inactiveTabFore},
    {"DisabledTabBackColor", &TabColors::disabledTabBack},
    {"DisabledTabForeColor", &TabColors::disabledTabFore},
    {"OuterBorderColor", &TabColors::outerBorder},
    {"TopLeftInnerBorderColor", &TabColors::topLeftInnerBorder},
    {"BottomRightInnerBorderColor", &TabColors::bottomRightInnerBorder},
    {"TabStripBackColor", &TabColors::tabStripBack},
    {"BackColor", &TabColors::back},
    {"ForeColor", &TabColors::fore},
    {"HoverColor", &TabColors::hover},
    {"FocusedColor", &TabColors::focused},
    {"PictureMaskColor", &TabColors::pictureMask},
}};

QColor TabColor::resolved(const QPalette& palette) const {
    if (!followsPalette())
        return m_color;
    QColor c = palette.color(m_group, m_role);
    c.setAlpha(255);
    return c;
}

void applyThemeColors(int theme, TabColors& colors, const TabColor& containerBack,
                      const QPalette& palette) {
    if (theme < 0 || theme >= kThemeCount)
        return;
    for (const ThemeRow& row : themeRows()) {
        const ThemeValue& value = row.values[size_t(theme)];
        switch (value.kind) {
        case ThemeValue::Kind::Keep:
            break;
        case ThemeValue::Kind::Container:
            colors.*row.member = containerBack;
            break;
        case ThemeValue::Kind::CaptionPlus16:
            colors.*row.member = shiftedCaption(16, palette);
            break;
        case ThemeValue::Kind::CaptionMinus16:
            colors.*row.member = shiftedCaption(-16, palette);
            break;
        case ThemeValue::Kind::Colour:
            colors.*row.member = value.colour;
            break;
        }
    }
    if (theme == 4)
        colors.pictureMask = QColor(0xFF, 0x00, 0xFF);
}

QString detectVisualStyle() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return QStringLiteral("UxTheme_Error");
    const QStyle* style = QApplication::style();
    if (!style)
        return QStringLiteral("UxTheme_Error");
    const QString name = style->name().section(QChar(0), 0, 0).trimmed();
    // The classic style draws flat, unthemed controls: that is "no visual style".
    if (name.isEmpty() || name.compare(QStringLiteral("windows"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("None");
    return name;
}

int detectedTheme() {
    const QString name = detectVisualStyle();
    return (name == QStringLiteral("None") || name == QStringLiteral("UxTheme_Error")) ? 0 : 1;
}

} // namespace ovra
