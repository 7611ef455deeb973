#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPixmap>
#include <QRect>

namespace ovra {

struct TabPaintItem {
    QRect rect;
    QString text;   // shown caption
    QString markup; // the same with the access key marked for Qt::TextShowMnemonic
    bool enabled = true;
    QPixmap picture;
};

// Everything one frame of the strip needs, colours already translated.
struct TabPaintState {
    QSize size;
    qreal devicePixelRatio = 1.0;
    int style = 0;
    int rowHeight = 20;
    QList<TabPaintItem> tabs;
    int activeTab = 0;

    QColor stripBack, pageBack, outerBorder, innerTopLeft, innerBottomRight;
    QColor activeStart, activeEnd, inactiveStart, inactiveEnd;
    QColor activeFore, inactiveFore, disabledBack, disabledFore;
    QColor hover, focused, pictureMask;
    QFont activeFont, inactiveFont;
    int xRadius = 10;
    int yRadius = 10;
    int pictureAlign = 0; // 0 picture before the caption, 1 after it
    int pictureSize = 0;
    bool useMaskColor = true;

    bool hasFocus = false;
    bool showFocusRect = true;
    bool useFocusedColor = true;
    bool themedHighlights = false; // themes 1 and 4 draw the top bands
    int hoverTab = -1;             // the tab whose hover band is shown, -1 for none
    bool controlBox = false;
    int hotControlBoxTab = -1; // the tab whose control box has the pointer
    bool cleared = false;
};

// Draws the strip into an opaque image.
class TabStripPainter {
public:
    static constexpr int kBandHeight = 3;

    static QImage render(const TabPaintState& state);

    // Row `row` of a gradient `rows` high: red, green and blue run linearly from start
    // (row 0) to end (the last row), each rounded to an integer.
    static QColor gradientRowColor(const QColor& start, const QColor& end, int row, int rows);

    // The area a tab covers: its rectangle with the two top corners rounded by the
    // radii (limited to what the rectangle can hold).
    static QPainterPath tabShape(const QRect& rect, int xRadius, int yRadius);

    // The rows filled with the tab's gradient: down to the page's top border for the
    // active tab, one row above it for the others.
    static QRect fillRect(const QRect& tabRect, bool active);

    // The band along a tab's top edge that the hover and focus highlights invert.
    static QRect bandRect(const QRect& tabRect);
};

} // namespace ovra
