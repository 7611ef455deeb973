#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace ovra {

struct TabLayoutInput {
    int width = 0;
    int style = 0; // 0 tabbed dialog, 1 property pages
    int activeTab = 0;
    int activeHeight = 20;
    int inactiveHeight = 18;
    // Property pages: the width each tab's picture, caption and box need. The tab
    // count is the length of this list in both layouts.
    QList<int> contentWidths;
};

// Where the tabs, the page and the control boxes lie. All rectangles are in pixels of
// the strip; a tab's rectangle includes its edges, and every tab ends on the last row
// of the tab row, which is also the top border line of the page.
//
// Tabbed dialog: the tabs share the strip's width equally. Property pages: each tab is
// as wide as its content, from a small indent, and the active tab stands 2 pixels wider
// on either side, over its neighbours.
class TabStripLayout {
public:
    static constexpr int kCaptionPadding = 6; // either side of picture and caption
    static constexpr int kPictureGap = 3;     // between picture and caption
    static constexpr int kBoxSize = 9;
    static constexpr int kBoxMargin = 4; // between the box and the tab's right edge
    static constexpr int kPagesIndent = 2;
    static constexpr int kActiveOverlap = 2;

    static int rowHeight(int activeHeight, int inactiveHeight);
    static QList<QRect> tabRects(const TabLayoutInput& in);
    // The page below the tab row, its top border on the row's last line.
    static QRect pageRect(QSize size, int rowHeight);
    static QRect controlBoxRect(const QRect& tab);
    // The room for picture and caption inside a tab.
    static QRect contentRect(const QRect& tab, bool withControlBox);
    // The width a tab's content asks for in the property pages layout.
    static int contentWidth(int captionWidth, int pictureWidth, bool withControlBox);
    // The drawn size of a tab picture. Size class 0 keeps the picture's own size,
    // 1, 2 and 3 make it 16, 24 or 32 pixels square; either way it is scaled down,
    // keeping its proportions, to fit the height available.
    static QSize pictureSize(QSize natural, int sizeClass, int availableHeight);
};

} // namespace ovra
