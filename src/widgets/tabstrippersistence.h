#pragma once

#include <QString>
#include <QVariantMap>

namespace ovra {

class ucTabStrip;

// Saves the strip's properties into a property bag and loads them back. A value is
// stored only when it differs from its written default, so a bag holds what the user
// changed; a value that is missing or cannot be read loads as its written default.
//
// Colours are stored as 32-bit signed numbers (their bit pattern), fonts as
// QFont::toString() text and pictures as PNG data. Per-tab keys carry the index:
// "TabCaption(0)". "TabContCtrlCnt(i)" keys of older bags are accepted and ignored.
class TabStripPersistence {
public:
    static void read(ucTabStrip& strip, const QVariantMap& bag);
    static void write(const ucTabStrip& strip, QVariantMap& bag);

    static QString tabKey(const char* name, int index);
    // The written default of a tab's caption: "Tab" and the index, without a blank.
    static QString writtenCaptionDefault(int index);
};

} // namespace ovra
