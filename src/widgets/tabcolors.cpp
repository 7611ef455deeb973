#include "widgets/tabcolors.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>

namespace ovra {

namespace {

struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// System colour indices 0..30 and the palette entries that play their part.
constexpr int kSystemColorCount = 31;
constexpr SystemColorRole kNoRole{QPalette::Active, QPalette::NColorRoles};
constexpr std::array<SystemColorRole, kSystemColorCount> kSystemColors{{
    {QPalette::Active, QPalette::Button},            // 0 scroll bar
    {QPalette::Active, QPalette::Dark},              // 1 desktop
    {QPalette::Active, QPalette::Highlight},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive caption
    {QPalette::Active, QPalette::Window},            // 4 menu
    {QPalette::Active, QPalette::Base},              // 5 window
    {QPalette::Active, QPalette::Shadow},            // 6 window frame
    {QPalette::Active, QPalette::WindowText},        // 7 menu text
    {QPalette::Active, QPalette::Text},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText},   // 9 caption text
    {QPalette::Active, QPalette::Button},            // 10 active border
    {QPalette::Active, QPalette::Button},            // 11 inactive border
    {QPalette::Active, QPalette::Mid},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlight text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 tooltip background
    kNoRole,                                         // 25 not defined
    {QPalette::Active, QPalette::Link},              // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},         // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},       // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},         // 29 menu highlight
    {QPalette::Active, QPalette::Window},            // 30 menu bar
}};

// Markers in the theme table for values that are not plain colours. Their top byte is
// 0xFF, which no stored colour has.
constexpr OleColor kKeep = 0xFFFFFFF0u;
constexpr OleColor kContainer = 0xFFFFFFF1u;
constexpr OleColor kCaptionPlus16 = 0xFFFFFFF2u;
constexpr OleColor kCaptionMinus16 = 0xFFFFFFF3u;

struct ThemeRow {
    OleColor TabColors::*member;
    std::array<OleColor, kThemeCount> values;
};

// clang-format off
const std::array<ThemeRow, 14> kThemeRows{{
    {&TabColors::ActiveTabBackStartColor,     {0x8000000F, 0x00FBFDFB, 0x8000000F, 0x00F8F8F8, 0x00E7F8FB}},
    {&TabColors::ActiveTabBackEndColor,       {0x8000000F, 0x00FBFDFB, 0x8000000F, kKeep,      0x00DCEDF0}},
    {&TabColors::ActiveTabForeColor,          {0x80000012, 0x80000012, 0x80000012, 0x00A76D50, 0x80000012}},
    {&TabColors::InActiveTabBackStartColor,   {0x8000000F, 0x00FFFFFF, 0x80000016, 0x00E5E5E5, 0x00DCEDF0}},
    {&TabColors::InActiveTabBackEndColor,     {0x8000000F, 0x00EAF0F0, 0x80000016, kKeep,      0x00CBDCDF}},
    {&TabColors::InActiveTabForeColor,        {0x80000012, 0x80000012, 0x80000011, 0x00909090, 0x80000012}},
    {&TabColors::TabStripBackColor,           {kContainer, kContainer, 0x80000016, 0x8000000F, kContainer}},
    {&TabColors::DisabledTabBackColor,        {0x8000000F, 0x8000000F, 0x8000000F, 0x8000000F, 0x8000000F}},
    {&TabColors::DisabledTabForeColor,        {0x80000015, 0x00A0A0A0, 0x80000015, 0x80000015, 0x00A0A0A0}},
    {&TabColors::OuterBorderColor,            {0x80000015, 0x009B9C91, 0x80000014, 0x00909090, 0x00A8B9BC}},
    {&TabColors::TopLeftInnerBorderColor,     {0x80000014, kKeep,      kKeep,      kKeep,      0x80000014}},
    {&TabColors::BottomRightInnerBorderColor, {0x80000010, kKeep,      0x80000010, kKeep,      0x80000010}},
    {&TabColors::HoverColor,                  {kKeep,      0x003BC7FF, kKeep,      kKeep,      kCaptionPlus16}},
    {&TabColors::FocusedColor,                {kKeep,      0x00EE8269, kKeep,      kKeep,      kCaptionMinus16}},
}};
// clang-format on

} // namespace

const std::array<TabColorField, 17> kTabColorFields{{
    {"ActiveTabBackStartColor", &TabColors::ActiveTabBackStartColor},
    {"ActiveTabBackEndColor", &TabColors::ActiveTabBackEndColor},
    {"InActiveTabBackStartColor", &TabColors::InActiveTabBackStartColor},
    {"InActiveTabBackEndColor", &TabColors::InActiveTabBackEndColor},
    {"ActiveTabForeColor", &TabColors::ActiveTabForeColor},
    {"InActiveTabForeColor", &TabColors::InActiveTabForeColor},
    {"DisabledTabBackColor", &TabColors::DisabledTabBackColor},
    {"DisabledTabForeColor", &TabColors::DisabledTabForeColor},
    {"OuterBorderColor", &TabColors::OuterBorderColor},
    {"TopLeftInnerBorderColor", &TabColors::TopLeftInnerBorderColor},
    {"BottomRightInnerBorderColor", &TabColors::BottomRightInnerBorderColor},
    {"TabStripBackColor", &TabColors::TabStripBackColor},
    {"BackColor", &TabColors::BackColor},
    {"ForeColor", &TabColors::ForeColor},
    {"HoverColor", &TabColors::HoverColor},
    {"FocusedColor", &TabColors::FocusedColor},
    {"PictureMaskColor", &TabColors::PictureMaskColor},
}};

QColor translateOleColor(OleColor color, const QPalette& palette) {
    if (isSystemColor(color)) {
        const OleColor index = color & 0x00FFFFFFu;
        if (index >= kSystemColorCount || kSystemColors[index].role == QPalette::NColorRoles)
            return QColor(0, 0, 0);
        const SystemColorRole& entry = kSystemColors[index];
        QColor c = palette.color(entry.group, entry.role);
        c.setAlpha(255);
        return c;
    }
    // Palette-relative and palette-index colours carry their RGB in the low bytes too.
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

OleColor oleColorFromRgb(const QColor& color) {
    const QColor c = color.toRgb();
    return OleColor(c.red()) | (OleColor(c.green()) << 8) | (OleColor(c.blue()) << 16);
}

OleColor shiftOleColor(OleColor color, int delta, const QPalette& palette) {
    const QColor c = translateOleColor(color, palette);
    auto shift = [delta](int v) {
        return std::clamp(v + delta, 0, 255);
    };
    return oleColorFromRgb(QColor(shift(c.red()), shift(c.green()), shift(c.blue())));
}

void applyThemeColors(int theme, TabColors& colors, OleColor containerBack,
                      const QPalette& palette) {
    if (theme < 0 || theme >= kThemeCount)
        return;
    for (const ThemeRow& row : kThemeRows) {
        const OleColor value = row.values[size_t(theme)];
        switch (value) {
        case kKeep:
            break;
        case kContainer:
            colors.*row.member = containerBack;
            break;
        case kCaptionPlus16:
            colors.*row.member = shiftOleColor(syscolor::ActiveCaption, 16, palette);
            break;
        case kCaptionMinus16:
            colors.*row.member = shiftOleColor(syscolor::ActiveCaption, -16, palette);
            break;
        default:
            colors.*row.member = value;
            break;
        }
    }
    if (theme == 4)
        colors.PictureMaskColor = 0x00FF00FF;
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
