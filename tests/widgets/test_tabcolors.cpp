#include "tabstripfixture.h"
#include "widgets/tabcolors.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>

namespace ovra {
namespace {

// A palette whose roles all differ, so a colour read from the wrong role shows.
QPalette distinctPalette() {
    QPalette p;
    int n = 1;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::ColorRole(role), QColor(n, 255 - n, (n * 7) % 256));
            ++n;
        }
    }
    return p;
}

TEST(TabColors, PlainColoursKeepRedInTheLowByte) {
    const QPalette palette;
    EXPECT_EQ(translateOleColor(0x00A76D50, palette), QColor(0x50, 0x6D, 0xA7));
    EXPECT_EQ(translateOleColor(0x00FBFDFB, palette), QColor(0xFB, 0xFD, 0xFB));
    EXPECT_EQ(translateOleColor(0, palette), QColor(0, 0, 0));
    EXPECT_EQ(oleColorFromRgb(QColor(0x50, 0x6D, 0xA7)), 0x00A76D50u);
}

TEST(TabColors, SystemColoursComeFromThePalette) {
    const QPalette p = distinctPalette();
    const struct {
        OleColor color;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    } cases[] = {
        {syscolor::ButtonFace, QPalette::Active, QPalette::Button},
        {syscolor::ButtonShadow, QPalette::Active, QPalette::Dark},
        {syscolor::GrayText, QPalette::Disabled, QPalette::Text},
        {syscolor::ButtonText, QPalette::Active, QPalette::ButtonText},
        {syscolor::ButtonHighlight, QPalette::Active, QPalette::Light},
        {syscolor::DarkShadow3D, QPalette::Active, QPalette::Shadow},
        {syscolor::Light3D, QPalette::Active, QPalette::Midlight},
        {syscolor::ActiveCaption, QPalette::Active, QPalette::Highlight},
        {0x80000005, QPalette::Active, QPalette::Base},
        {0x80000008, QPalette::Active, QPalette::Text},
        {0x80000018, QPalette::Active, QPalette::ToolTipBase},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translateOleColor(c.color, p), p.color(c.group, c.role)) << std::hex << c.color;
    // Indices the system does not define translate to black rather than to garbage.
    for (OleColor undefined : {0x80000019u, 0x8000001Fu, 0x800000FFu, 0x80FFFFFFu})
        EXPECT_EQ(translateOleColor(undefined, p), QColor(0, 0, 0)) << std::hex << undefined;
}

constexpr OleColor kMarker = 0x00123456;
constexpr OleColor kContainer = 0x00332211; // the container's own background, as RGB

TEST(TabThemes, EachThemeSetsItsColoursAndKeepsTheRest) {
    constexpr OleColor m = kMarker, k = kContainer;
    constexpr OleColor plus16 = 0x007418FF;  // active caption (250, 8, 100) + 16, clamped
    constexpr OleColor minus16 = 0x005400EA; // active caption - 16, clamped
    // One row per property, one column per theme; kMarker where the theme keeps the value.
    const struct {
        const char* name;
        OleColor themes[5];
    } rows[] = {
        {"ActiveTabBackStartColor", {0x8000000F, 0x00FBFDFB, 0x8000000F, 0x00F8F8F8, 0x00E7F8FB}},
        {"ActiveTabBackEndColor", {0x8000000F, 0x00FBFDFB, 0x8000000F, m, 0x00DCEDF0}},
        {"ActiveTabForeColor", {0x80000012, 0x80000012, 0x80000012, 0x00A76D50, 0x80000012}},
        {"InActiveTabBackStartColor", {0x8000000F, 0x00FFFFFF, 0x80000016, 0x00E5E5E5, 0x00DCEDF0}},
        {"InActiveTabBackEndColor", {0x8000000F, 0x00EAF0F0, 0x80000016, m, 0x00CBDCDF}},
        {"InActiveTabForeColor", {0x80000012, 0x80000012, 0x80000011, 0x00909090, 0x80000012}},
        {"TabStripBackColor", {k, k, 0x80000016, 0x8000000F, k}},
        {"DisabledTabBackColor", {0x8000000F, 0x8000000F, 0x8000000F, 0x8000000F, 0x8000000F}},
        {"DisabledTabForeColor", {0x80000015, 0x00A0A0A0, 0x80000015, 0x80000015, 0x00A0A0A0}},
        {"OuterBorderColor", {0x80000015, 0x009B9C91, 0x80000014, 0x00909090, 0x00A8B9BC}},
        {"TopLeftInnerBorderColor", {0x80000014, m, m, m, 0x80000014}},
        {"BottomRightInnerBorderColor", {0x80000010, m, 0x80000010, m, 0x80000010}},
        {"HoverColor", {m, 0x003BC7FF, m, m, plus16}},
        {"FocusedColor", {m, 0x00EE8269, m, m, minus16}},
        {"PictureMaskColor", {m, m, m, m, 0x00FF00FF}},
        {"BackColor", {m, m, m, m, m}},
        {"ForeColor", {m, m, m, m, m}},
    };
    ASSERT_EQ(std::size(rows), kTabColorFields.size());
    QWidget container;
    QPalette p = container.palette();
    p.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
    p.setColor(QPalette::Active, QPalette::Highlight, QColor(250, 8, 100));
    container.setPalette(p);
    for (int theme = 0; theme < 5; ++theme) {
        TabStrip strip(&container);
        ASSERT_EQ(strip.ambientBackColor(), kContainer);
        for (const TabColorField& field : kTabColorFields)
            ASSERT_TRUE(strip.setProperty(field.name, uint(kMarker)));
        strip.setTabTheme(theme);
        EXPECT_EQ(strip.TabTheme(), theme);
        for (const auto& row : rows)
            EXPECT_EQ(strip.property(row.name).toUInt(), row.themes[theme])
                << "theme " << theme << " " << row.name;
    }
}

TEST(TabThemes, ThemeFourAlsoSetsPictureAndFocusChoices) {
    TabStrip strip;
    strip.setPictureSize(2);
    strip.setUseFocusedColor(false);
    strip.setUseMaskColor(false);
    strip.setTabTheme(4);
    EXPECT_EQ(strip.PictureSize(), 0);
    EXPECT_TRUE(strip.UseFocusedColor());
    EXPECT_TRUE(strip.UseMaskColor());
    EXPECT_FALSE(strip.UseThemeDetection());
    EXPECT_EQ(strip.PictureMaskColor(), 0x00FF00FFu);
}

TEST(TabThemes, ResetAllColorsRestoresTheThemeSet) {
    TabStrip strip;
    strip.setTabTheme(1);
    strip.setActiveTabBackStartColor(0x000000FF);
    strip.setOuterBorderColor(0x0000FF00);
    strip.resetAllColors();
    EXPECT_EQ(strip.ActiveTabBackStartColor(), 0x00FBFDFBu);
    EXPECT_EQ(strip.OuterBorderColor(), 0x009B9C91u);
}

class StyleScope {
public:
    explicit StyleScope(const char* name) : m_old(QApplication::style()->name()) {
        QApplication::setStyle(QStyleFactory::create(QLatin1String(name)));
    }
    ~StyleScope() { QApplication::setStyle(QStyleFactory::create(m_old)); }

private:
    QString m_old;
};

TEST(TabThemes, DetectionFollowsTheWidgetStyle) {
    const struct {
        const char* style;
        int theme;
    } cases[] = {{"Fusion", 1}, {"Windows", 0}};
    for (const auto& c : cases) {
        const StyleScope scope(c.style);
        TabStrip strip;
        strip.setTabTheme(c.theme == 1 ? 0 : 1);
        strip.setUseThemeDetection(true);
        EXPECT_EQ(strip.TabTheme(), c.theme) << c.style;
        EXPECT_EQ(strip.ActiveTabBackStartColor(), c.theme == 1 ? 0x00FBFDFBu : 0x8000000Fu);

        // refresh follows the style again but leaves the colours alone.
        strip.setTabTheme(c.theme == 1 ? 0 : 1);
        strip.setActiveTabBackStartColor(kMarker);
        strip.refresh();
        EXPECT_EQ(strip.TabTheme(), c.theme) << c.style;
        EXPECT_EQ(strip.ActiveTabBackStartColor(), kMarker);
    }
}

} // namespace
} // namespace ovra
