#include "tabstripfixture.h"
#include "widgets/tabstrippainter.h"

#include <QCursor>
#include <QPainter>
#include <gtest/gtest.h>

namespace ovra {
namespace {

using test::StripWindow;

QRgb rgbOf(OleColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF).rgb();
}

QImage render(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Blank captions: nothing drawn over the fills, yet tabs as wide as in use.
void clearCaptions(TabStrip& strip) {
    for (int i = 0; i < strip.TabCount(); ++i)
        strip.setTabCaption(i, QString(16, u' '));
}

TEST(TabGradient, RowsRunLinearlyAndRoundEachChannel) {
    const QColor black(0, 0, 0), white(255, 255, 255);
    EXPECT_EQ(TabStripPainter::gradientRowColor(black, white, 0, 3), black);
    EXPECT_EQ(TabStripPainter::gradientRowColor(black, white, 1, 3), QColor(128, 128, 128));
    EXPECT_EQ(TabStripPainter::gradientRowColor(black, white, 2, 3), white);
    EXPECT_EQ(TabStripPainter::gradientRowColor(white, black, 1, 4), QColor(170, 170, 170));
    EXPECT_EQ(TabStripPainter::gradientRowColor(QColor(10, 200, 7), QColor(20, 100, 7), 5, 11),
              QColor(15, 150, 7));
    EXPECT_EQ(TabStripPainter::gradientRowColor(white, black, 0, 1), white);
}

TEST(TabPainting, TabsAreFilledWithTheirGradientsFromTopToBottom) {
    for (int style = 0; style < 2; ++style) {
        TabStrip strip;
        strip.resize(300, 120);
        strip.setTabStyle(style);
        clearCaptions(strip);
        strip.setActiveTabBackStartColor(0x000000FF); // red at the top
        strip.setActiveTabBackEndColor(0x00FF0000);   // blue at the bottom
        strip.setInActiveTabBackStartColor(0x0000FF00);
        strip.setInActiveTabBackEndColor(0x00FFFFFF);
        const QImage image = render(strip);

        const QRect active = strip.TabRect(0);
        const QRect inactive = strip.TabRect(1);
        ASSERT_EQ(active.bottom(), inactive.bottom());
        ASSERT_EQ(active.height(), 20);
        ASSERT_EQ(inactive.height(), 18);
        const struct {
            QRect rect;
            int rows;
            QColor start, end;
        } tabs[] = {{active, 20, Qt::red, Qt::blue},
                    {inactive.adjusted(0, 0, 0, -1), 17, Qt::green, Qt::white}};
        for (const auto& t : tabs) {
            for (int x : {t.rect.left() + 12, t.rect.center().x(), t.rect.right() - 12}) {
                for (int y = t.rect.top() + 2; y <= t.rect.bottom(); ++y) {
                    const QColor want =
                        TabStripPainter::gradientRowColor(t.start, t.end, y - t.rect.top(), t.rows);
                    ASSERT_EQ(QColor(image.pixel(x, y)), want)
                        << "style " << style << " x " << x << " y " << y;
                }
                EXPECT_EQ(QColor(image.pixel(x, t.rect.bottom())), t.end);
            }
        }
        // The active tab opens into the page; the inactive one sits on its border line.
        EXPECT_EQ(image.pixel(inactive.center().x(), inactive.bottom()),
                  strip.translateColor(strip.OuterBorderColor()).rgb());
        EXPECT_EQ(QColor(image.pixel(active.center().x(), active.bottom() + 1)), QColor(Qt::blue));
    }
}

TEST(TabPainting, RoundedCornersShowTheStripBehind) {
    TabStrip strip;
    strip.resize(300, 120);
    strip.setTabStripBackColor(0x00FF00FF);
    strip.setXRadius(8);
    strip.setYRadius(8);
    const QImage image = render(strip);
    const QRect active = strip.TabRect(0);
    EXPECT_EQ(image.pixel(active.left(), active.top()), rgbOf(0x00FF00FF));
    EXPECT_EQ(image.pixel(active.right(), active.top()), rgbOf(0x00FF00FF));
    EXPECT_NE(image.pixel(active.center().x(), active.top()), rgbOf(0x00FF00FF));
    strip.setXRadius(0);
    strip.setYRadius(0);
    EXPECT_NE(render(strip).pixel(active.left(), active.top()), rgbOf(0x00FF00FF));
}

TEST(TabPainting, DisabledTabsUseTheDisabledColour) {
    TabStrip strip;
    strip.resize(300, 120);
    clearCaptions(strip);
    strip.setDisabledTabBackColor(0x00336699);
    strip.setTabEnabled(2, false);
    const QImage image = render(strip);
    const QRect r = strip.TabRect(2);
    EXPECT_EQ(image.pixel(r.center().x(), r.center().y()), rgbOf(0x00336699));
    EXPECT_NE(image.pixel(strip.TabRect(1).center()), rgbOf(0x00336699));
}

TEST(TabPainting, ClsClearsToThePageColourUntilTheNextRefresh) {
    TabStrip strip;
    strip.resize(200, 100);
    strip.setBackColor(0x00102030);
    strip.cls();
    QImage image = render(strip);
    EXPECT_EQ(image.pixel(strip.TabRect(0).center()), rgbOf(0x00102030));
    EXPECT_EQ(image.pixel(199, 0), rgbOf(0x00102030));
    strip.refresh();
    image = render(strip);
    EXPECT_NE(image.pixel(strip.TabRect(0).center()), rgbOf(0x00102030));
}

TEST(TabPainting, HoverBandAppearsOverTheTabAndGoesWhenThePointerLeaves) {
    StripWindow form(3);
    TabStrip& s = *form.strip;
    s.setTabTheme(1);
    clearCaptions(s);
    ASSERT_TRUE(form.show());
    form.form()->setFocus(); // no focus band on the active tab for this test
    QCursor::setPos(QPoint(5000, 5000));
    const QImage plain = render(s);

    int hovers = 0;
    QObject::connect(&s, &TabStrip::mouseHover, &s, [&](int tab, float, float) {
        EXPECT_EQ(tab, 1);
        ++hovers;
    });
    const QRect tab = s.TabRect(1);
    QCursor::setPos(s.mapToGlobal(tab.center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.isHoverShown(); }, 2000));
    EXPECT_EQ(s.HoveredTab(), 1);
    EXPECT_GT(hovers, 0);
    const QImage hovered = render(s);
    const QRgb bits = rgbOf(s.HoverColor()) & 0xFFFFFF;
    for (int x : {tab.left() + 12, tab.center().x(), tab.right() - 12}) {
        for (int y = tab.top(); y < tab.top() + TabStripPainter::kBandHeight; ++y)
            EXPECT_EQ(hovered.pixel(x, y), plain.pixel(x, y) ^ bits) << x << "," << y;
        EXPECT_EQ(hovered.pixel(x, tab.top() + TabStripPainter::kBandHeight),
                  plain.pixel(x, tab.top() + TabStripPainter::kBandHeight));
    }
    EXPECT_EQ(hovered.pixel(s.TabRect(2).center()), plain.pixel(s.TabRect(2).center()));

    // Leaving the tab within the window: the watch takes the band away.
    QCursor::setPos(s.mapToGlobal(QPoint(tab.center().x(), 100)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !s.isHoverShown(); }, 2000));
    EXPECT_EQ(render(s), plain);
}

TEST(TabPainting, NoHoverBandInThemesWithoutHighlights) {
    StripWindow form(3);
    TabStrip& s = *form.strip;
    ASSERT_TRUE(form.show());
    for (int theme : {0, 2, 3}) {
        s.setTabTheme(theme);
        QCursor::setPos(QPoint(5000, 5000));
        QCursor::setPos(s.mapToGlobal(s.TabRect(1).center()));
        QTest::qWait(30);
        EXPECT_FALSE(s.isHoverShown()) << theme;
    }
}

TEST(TabPainting, FocusedActiveTabCarriesTheFocusedBand) {
    StripWindow form(3);
    TabStrip& s = *form.strip;
    s.setTabTheme(4);
    clearCaptions(s);
    ASSERT_TRUE(form.show());
    form.form()->setFocus();
    const QImage unfocused = render(s);
    s.setFocus();
    const QRect tab = s.TabRect(0);
    const QPoint band(tab.center().x(), tab.top() + 1);
    const struct {
        bool useFocused;
        OleColor color;
    } cases[] = {{true, s.FocusedColor()}, {false, s.HoverColor()}};
    for (const auto& c : cases) {
        s.setUseFocusedColor(c.useFocused);
        EXPECT_EQ(render(s).pixel(band), unfocused.pixel(band) ^ (rgbOf(c.color) & 0xFFFFFF))
            << c.useFocused;
    }
}

TEST(TabPainting, FocusRectangleOnlyWhileFocusedAndWanted) {
    StripWindow form(3);
    TabStrip& s = *form.strip;
    ASSERT_TRUE(form.show());
    form.form()->setFocus();
    const QImage unfocused = render(s);
    s.setFocus();
    ASSERT_TRUE(s.hasFocus());
    const QImage focused = render(s);
    EXPECT_NE(focused, unfocused);
    // The marks stay inside the active tab.
    const QRect active = s.TabRect(0);
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            if (focused.pixel(x, y) != unfocused.pixel(x, y)) {
                ASSERT_TRUE(active.contains(x, y)) << x << "," << y;
            }
        }
    }
    s.setShowFocusRect(false);
    EXPECT_EQ(render(s), unfocused);
}

TEST(TabPainting, PicturesDropTheirMaskColour) {
    TabStrip strip;
    strip.resize(300, 120);
    clearCaptions(strip);
    strip.setTabStyle(1);
    QPixmap picture(12, 12);
    picture.fill(QColor(255, 0, 255)); // the mask colour of theme 4
    QImage inner(6, 6, QImage::Format_RGB32);
    inner.fill(QColor(0, 0, 200));
    {
        QPainter p(&picture);
        p.drawImage(3, 3, inner);
    }
    strip.setPictureMaskColor(0x00FF00FF);
    strip.setTabPicture(0, picture);
    QImage image = render(strip);
    const QRect tab = strip.TabRect(0);
    int masked = 0, drawn = 0;
    for (int y = tab.top(); y <= tab.bottom(); ++y) {
        for (int x = tab.left(); x <= tab.right(); ++x) {
            masked += image.pixel(x, y) == qRgb(255, 0, 255);
            drawn += image.pixel(x, y) == qRgb(0, 0, 200);
        }
    }
    EXPECT_EQ(masked, 0);
    EXPECT_EQ(drawn, 36);
    strip.setUseMaskColor(false);
    image = render(strip);
    masked = 0;
    for (int y = tab.top(); y <= tab.bottom(); ++y)
        for (int x = tab.left(); x <= tab.right(); ++x)
            masked += image.pixel(x, y) == qRgb(255, 0, 255);
    EXPECT_EQ(masked, 144 - 36);
}

} // namespace
} // namespace ovra
