#pragma once

#include "widgets/tabcolors.h"
#include "widgets/tabrecord.h"

#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace ovra {

// Every value of a strip that its property bag holds, as plain data: the strip fills it
// before a write and applies it after a read, so the bag's rules need no strip.
struct TabStripProperties {
    QList<TabRecord> tabs; // caption, enabled, access key and picture; rects are not stored
    int activeTab = 0;
    int tabStyle = 0;
    int tabTheme = 0;
    bool useThemeDetection = false;
    TabColors colors;
    // Empty: the font follows the strip's own.
    std::optional<QFont> activeTabFont;
    std::optional<QFont> inactiveTabFont;
    int activeTabHeight = 20;
    int inactiveTabHeight = 18;
    bool useFocusedColor = true;
    bool showFocusRect = true;
    bool useMouseWheelScroll = true;
    bool useControlBox = false;
    int pictureAlign = 0;
    int pictureSize = 0;
    bool useMaskColor = true;
    int xRadius = 10;
    int yRadius = 10;
    bool enabled = true;
};

// The defaults that depend on where the strip stands rather than on the bag.
struct TabStripAmbient {
    TabColor tabStripBackColor; // the container's background
    QPalette palette;           // the strip's, for a colour the bag has no number for
    QFont activeTabFont;        // the strip's font, bold
    QFont inactiveTabFont;      // the strip's font
    int maxTabCount;
};

// Saves the strip's properties into a property bag and loads them back. A value is
// stored only when it differs from its written default, so a bag holds what the user
// changed; a value that is missing or cannot be read loads as its written default.
//
// Colours are stored as 32-bit signed numbers (their bit pattern), fonts as
// QFont::toString() text and pictures as PNG data. Per-tab keys carry the index:
// "TabCaption(0)". "TabContCtrlCnt(i)" keys of older bags are accepted and ignored.
class TabStripPersistence {
public:
    // Always at least one tab and at most ambient.maxTabCount; the active tab is one of them.
    static TabStripProperties read(const QVariantMap& bag, const TabStripAmbient& ambient);
    static void write(const TabStripProperties& props, const TabStripAmbient& ambient,
                      QVariantMap& bag);

    static QString tabKey(const char* name, int index);
    // A colour as the bag stores it: 0x00BBGGRR, or 0x800000nn for the system colour
    // of index nn, which follows the palette. Reading takes every number a colour
    // property can hold; writing gives one number per palette entry, so a colour read
    // from a bag and written back may come out as another index of the same entry.
    static TabColor colourFromStored(quint32 stored);
    static quint32 storedFromColour(const TabColor& colour, const QPalette& palette);
    // The written default of a tab's caption: "Tab" and the index, without a blank.
    static QString writtenCaptionDefault(int index);
};

} // namespace ovra
