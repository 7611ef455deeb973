#include "tabstripfixture.h"
#include "widgets/tabcolors.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>

namespace ovra {
namespace {

constexpr quint32 kMarker = 0x00123456;
constexpr quint32 kContainer = 0x00332211; // the container's own background, as RGB

TEST(TabThemes, EachThemeSetsItsColoursAndKeepsTheRest) {
    constexpr quint32 m = kMarker, k = kContainer;
    constexpr quint32 plus16 = 0x007418FF;  // active caption (250, 8, 100) + 16, clamped
    constexpr quint32 minus16 = 0x005400EA; // active caption - 16, clamped
    // One row per property, one column per theme; kMarker where the theme keeps the value.
    const struct {
        const char* name;
        quint32 themes[5]; // as a bag stores them
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
        ASSERT_EQ(strip.ambientBackColor(), test::storedColour(kContainer));
        for (const TabColorField& field : kTabColorFields)
            ASSERT_TRUE(
                strip.setProperty(field.name, QVariant::fromValue(test::storedColour(kMarker))));
        strip.setTabTheme(theme);
        EXPECT_EQ(strip.tabTheme(), theme);
        for (const auto& row : rows)
            EXPECT_EQ(strip.property(row.name).value<TabColor>(),
                      test::storedColour(row.themes[theme]))
                << "theme " << theme << " " << row.name;
    }
}

TEST(TabThemes, ThemeFourAlsoSetsPictureAndFocusChoices) {
    TabStrip strip;
    strip.setPictureSize(2);
    strip.setUseFocusedColor(false);
    strip.setUseMaskColor(false);
    strip.setTabTheme(4);
    EXPECT_EQ(strip.pictureSize(), 0);
    EXPECT_TRUE(strip.useFocusedColor());
    EXPECT_TRUE(strip.useMaskColor());
    EXPECT_FALSE(strip.useThemeDetection());
    EXPECT_EQ(strip.pictureMaskColor(), TabColor(QColor(255, 0, 255)));
}

TEST(TabThemes, ResetAllColorsRestoresTheThemeSet) {
    TabStrip strip;
    strip.setTabTheme(1);
    strip.setActiveTabBackStartColor(QColor(Qt::red));
    strip.setOuterBorderColor(QColor(Qt::green));
    strip.resetAllColors();
    EXPECT_EQ(strip.activeTabBackStartColor(), TabColor(QColor(0xFB, 0xFD, 0xFB)));
    EXPECT_EQ(strip.outerBorderColor(), TabColor(QColor(0x91, 0x9C, 0x9B)));
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
        EXPECT_EQ(strip.tabTheme(), c.theme) << c.style;
        EXPECT_EQ(strip.activeTabBackStartColor(),
                  c.theme == 1 ? TabColor(QColor(0xFB, 0xFD, 0xFB)) : tabpalette::button);

        // refresh follows the style again but leaves the colours alone.
        strip.setTabTheme(c.theme == 1 ? 0 : 1);
        strip.setActiveTabBackStartColor(test::storedColour(kMarker));
        strip.refresh();
        EXPECT_EQ(strip.tabTheme(), c.theme) << c.style;
        EXPECT_EQ(strip.activeTabBackStartColor(), test::storedColour(kMarker));
    }
}

} // namespace
} // namespace ovra
